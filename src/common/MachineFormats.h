// Pieces shared by the renderers of the machine formats: JSON values for names that are bytes,
// CSV fields (RFC 4180), and times in ISO 8601.
#pragma once

#include <ctime>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace ravelin {

/// A JSON document whose objects keep their members in the order they were set.
using JsonDocument = nlohmann::ordered_json;

/// The version of the JSON documents and CSV tables Ravelin writes; it grows when a field is
/// added or changed.
inline constexpr int kMachineFormatVersion = 1;

/// True when text is valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);
/// The bytes in base64 (RFC 4648, with padding).
std::string Base64(std::string_view bytes);

/// A name (bytes) as a JSON value: a string when it is valid UTF-8, else an object
/// {"base64": "..."} holding its bytes, so that every name comes back byte for byte.
JsonDocument JsonName(std::string_view bytes);
/// The document as text: indented by two blanks, UTF-8, ended by LF.
std::string JsonText(const JsonDocument& document);

/// text as valid UTF-8 for a drawing program or a page: each byte of an invalid sequence and
/// each control character becomes U+FFFD.
std::string ReadableUtf8(std::string_view text);

/// One CSV field: as it is, or in double quotes (quotes doubled) when it holds a quote, a
/// comma, a CR or an LF. Bytes pass unchanged.
std::string CsvField(std::string_view text);
/// One CSV record: the fields separated by commas, ended by LF.
std::string CsvLine(std::initializer_list<std::string_view> fields);

/// A time as "yyyy-mm-ddThh:mm:ssZ" (UTC, the proleptic Gregorian calendar); a year outside
/// 0000..9999 as a sign and at least five digits ("+10000-01-01T00:00:00Z").
std::string IsoUtcTime(std::time_t time);

}  // namespace ravelin
