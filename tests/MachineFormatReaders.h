// Reading the machine formats back in tests: CSV records as fields, JSON names as bytes.
#pragma once

#include <string>
#include <vector>

#include "common/MachineFormats.h"

namespace ravelin::testing {

/// The fields of a CSV text (RFC 4180), record by record.
inline std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
  std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        records.back().back() += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        records.back().back() += '"', ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      records.back().emplace_back();
    } else if (c == '\n') {
      records.emplace_back(1);
    } else {
      records.back().back() += c;
    }
  }
  records.pop_back();  // after the last LF
  return records;
}

/// A name back from its JSON value: the string, or the bytes of {"base64": ...}.
inline std::string NameOf(const JsonDocument& value) {
  if (value.is_string()) return value.get<std::string>();
  const std::string digits = value.at("base64").get<std::string>();
  static const std::string kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  unsigned bits = 0, count = 0;
  for (char c : digits) {
    if (c == '=') break;
    bits = (bits << 6) | static_cast<unsigned>(kDigits.find(c));
    if ((count += 6) >= 8) bytes += static_cast<char>((bits >> (count -= 8)) & 0xFF);
  }
  return bytes;
}

}  // namespace ravelin::testing
