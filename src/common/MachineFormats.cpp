// JSON names, CSV fields and ISO 8601 times.
#include "common/MachineFormats.h"

#include <cstdint>
#include <cstdio>

namespace ravelin {

bool IsValidUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = p + text.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int more;
    std::uint32_t code;
    std::uint32_t least;
    if ((c & 0xE0) == 0xC0) {
      more = 1, code = c & 0x1F, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      more = 2, code = c & 0x0F, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      more = 3, code = c & 0x07, least = 0x10000;
    } else {
      return false;  // a continuation byte, or a lead byte of no form
    }
    if (end - p <= more) return false;
    for (int i = 1; i <= more; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    p += more + 1;
  }
  return true;
}

std::string Base64(std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t n = (std::uint32_t{static_cast<unsigned char>(bytes[i])} << 16) |
                            (std::uint32_t{static_cast<unsigned char>(bytes[i + 1])} << 8) |
                            static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += kDigits[(n >> 6) & 63];
    out += kDigits[n & 63];
  }
  if (const std::size_t rest = bytes.size() - i; rest > 0) {
    std::uint32_t n = std::uint32_t{static_cast<unsigned char>(bytes[i])} << 16;
    if (rest == 2) n |= std::uint32_t{static_cast<unsigned char>(bytes[i + 1])} << 8;
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += rest == 2 ? kDigits[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

JsonDocument JsonName(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  JsonDocument raw = JsonDocument::object();
  raw["base64"] = Base64(bytes);
  return raw;
}

std::string JsonText(const JsonDocument& document) {
  return document.dump(2, ' ', false, JsonDocument::error_handler_t::strict) + "\n";
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of("\",\r\n") == std::string_view::npos) return std::string(text);
  std::string field = "\"";
  for (char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  field += '"';
  return field;
}

std::string CsvLine(std::initializer_list<std::string_view> fields) {
  std::string line;
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) line += ',';
    line += CsvField(field);
    first = false;
  }
  line += '\n';
  return line;
}

std::string IsoUtcTime(std::time_t time) {
  // The proleptic Gregorian calendar from days since 1970-01-01 in 400-year eras of 146,097
  // days, eras starting on March 1st; every time_t has a date, so no time fails.
  constexpr std::int64_t kSecondsPerDay = 86400;
  constexpr std::int64_t kDaysPerEra = 146097;
  const std::int64_t seconds = static_cast<std::int64_t>(time);
  std::int64_t days = seconds / kSecondsPerDay;
  std::int64_t inDay = seconds % kSecondsPerDay;
  if (inDay < 0) {
    inDay += kSecondsPerDay;
    --days;
  }
  days += 719468;  // from 0000-03-01 to 1970-01-01
  const std::int64_t era = (days >= 0 ? days : days - (kDaysPerEra - 1)) / kDaysPerEra;
  const std::int64_t dayOfEra = days - era * kDaysPerEra;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / (kDaysPerEra - 1)) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
  const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  // Years outside 0000..9999 take ISO 8601's expanded form: a sign and at least five digits.
  const char* const yearFormat = (year >= 0 && year <= 9999) ? "%04lld" : "%+06lld";
  char text[64];
  int length = std::snprintf(text, sizeof text, yearFormat, static_cast<long long>(year));
  std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length),
                "-%02lld-%02lldT%02lld:%02lld:%02lldZ", static_cast<long long>(month),
                static_cast<long long>(day), static_cast<long long>(inDay / 3600),
                static_cast<long long>(inDay / 60 % 60), static_cast<long long>(inDay % 60));
  return text;
}

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

/// The length a UTF-8 sequence with this lead byte claims; 0 for a byte that leads none.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::string ReadableUtf8(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(lead);
    if (length == 0 || i + length > text.size() || !IsValidUtf8(text.substr(i, length)) ||
        lead < 0x20 || lead == 0x7F) {
      result += kReplacement;
      ++i;
      continue;
    }
    result += text.substr(i, length);
    i += length;
  }
  return result;
}

}  // namespace ravelin
