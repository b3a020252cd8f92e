// Binary form files written as text for the tables under tests/data/linecount, token by token:
//   HH          one byte in hexadecimal
//   "text"      a short string: its length in one byte, then its bytes
//   l"text"     a long string: its length in four bytes, then its bytes
//   w"text"     a wide string: its length in four bytes, then each byte as a UTF-16 unit
//   W"text"     the UTF-16 units alone;  r"text"  the bytes alone
//   u16:N u32:N u64:N   N (decimal, may be negative, or 0x hexadecimal) little-endian
//   ( TOKENS )N the tokens N times
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ravelin::testing {

inline std::string FormBytes(std::string text) {
  for (size_t close; (close = text.find(" )")) != std::string::npos;) {  // innermost first
    const size_t open = text.rfind("( ", close);
    const size_t end = std::min(text.find(' ', close + 2), text.size());
    std::string repeated;
    for (int n = std::stoi(text.substr(close + 2, end - close - 2)); n > 0; --n)
      repeated += text.substr(open + 2, close - open - 1);
    text.replace(open, end - open, repeated);
  }
  const std::string_view notation = text;
  std::string out;
  auto le = [&](std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  for (size_t i = 0; i < notation.size();) {
    if (notation[i] == ' ') {
      ++i;
      continue;
    }
    const size_t quote = notation.find('"', i);
    const size_t blank = std::min(notation.find(' ', i), notation.size());
    if (quote < blank) {
      const char kind = quote == i ? 's' : notation[i];
      const size_t close = notation.find('"', quote + 1);
      const std::string_view text = notation.substr(quote + 1, close - quote - 1);
      if (kind == 's') out += static_cast<char>(text.size());
      if (kind == 'l' || kind == 'w') le(text.size(), 4);
      for (char c : text) {
        out += c;
        if (kind == 'w' || kind == 'W') out += '\0';
      }
      i = close + 1;
      continue;
    }
    const std::string token(notation.substr(i, blank - i));
    i = blank;
    if (token.size() == 2) {
      out += static_cast<char>(std::stoi(token, nullptr, 16));
      continue;
    }
    const size_t colon = token.find(':');
    if (colon == std::string::npos) throw std::invalid_argument("form notation: " + token);
    const std::string number = token.substr(colon + 1);
    const std::uint64_t value = number[0] == '-' ? static_cast<std::uint64_t>(std::stoll(number))
                                                 : std::stoull(number, nullptr, 0);
    le(value, std::stoi(token.substr(1, colon - 1)) / 8);
  }
  return out;
}

/// A whole form file: the resource header, the signature "TPF0", then the stream in notation.
inline std::string FormFile(const std::string& stream) {
  const std::string data = "TPF0" + FormBytes(stream);
  std::string out("\xFF\x0A\x00TFORM1\x00\x30\x10", 12);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((data.size() >> (8 * i)) & 0xFF);
  return out + data;
}

}  // namespace ravelin::testing
