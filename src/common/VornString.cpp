#include "common/VornString.h"

#include <charconv>

#include "common/Error.h"

namespace ravelin {

namespace {
bool Printable(unsigned char c) {
  return c >= 33 && c <= 126;
}
}  // namespace

std::string TextBefore(std::string_view text, std::string_view sep) {
  if (sep.empty()) return std::string(text);
  auto pos = text.find(sep);
  if (pos == std::string_view::npos) return std::string(text);
  return std::string(text.substr(0, pos));
}

std::string TextAfter(std::string_view text, std::string_view sep) {
  if (sep.empty()) return {};
  auto pos = text.find(sep);
  if (pos == std::string_view::npos) return {};
  return std::string(text.substr(pos + sep.size()));
}

std::string SplitFirst(std::string& text, std::string_view sep) {
  auto pos = sep.empty() ? std::string::npos : text.find(sep);
  if (pos == std::string::npos) {
    std::string head = std::move(text);
    text.clear();
    return head;
  }
  std::string head = text.substr(0, pos);
  text.erase(0, pos + sep.size());
  return head;
}

std::string CenterText(std::string_view text, int width) {
  std::string result(text);
  if (width < 0) width = 0;
  auto w = static_cast<size_t>(width);
  if (result.size() < w) {
    // Adding one blank on each side until the text is at least width long puts
    // ceil(diff / 2) blanks on each side; an odd difference leaves the extra one left.
    size_t diff = w - result.size();
    size_t each = (diff + 1) / 2;
    result = std::string(each, ' ') + result + std::string(each, ' ');
  }
  if (result.size() > w) result.resize(w);
  return result;
}

std::string PadLeftWith(std::string_view text, char fill, int width) {
  std::string result;
  if (width > 0 && text.size() < static_cast<size_t>(width))
    result.assign(static_cast<size_t>(width) - text.size(), fill);
  result += text;
  return result;
}

std::string PadRight(std::string_view text, int width) {
  std::string result(text);
  if (width > 0 && result.size() < static_cast<size_t>(width))
    result.append(static_cast<size_t>(width) - result.size(), ' ');
  return result;
}

std::string ReplaceFirst(std::string_view text, std::string_view oldPart,
                         std::string_view newPart) {
  if (oldPart.empty()) return std::string(text);
  auto pos = text.find(oldPart);
  if (pos == std::string_view::npos) return std::string(text);
  std::string result;
  result.reserve(text.size() - oldPart.size() + newPart.size());
  result.append(text.substr(0, pos)).append(newPart).append(text.substr(pos + oldPart.size()));
  return result;
}

std::string ReplaceAll(std::string_view text, std::string_view oldPart, std::string_view newPart) {
  std::string result(text);
  if (oldPart.empty()) return result;
  // A new part holding the old part would be replaced again and again without end.
  if (newPart.find(oldPart) != std::string_view::npos &&
      result.find(oldPart) != std::string::npos) {
    throw GeneralError("ReplaceAll: the new part \"" + std::string(newPart) +
                       "\" holds the old part \"" + std::string(oldPart) + "\"");
  }
  // Restarting from the start after every replacement is only needed where a replacement
  // can create a new occurrence before its own end; searching again from a little before
  // the replaced spot gives the same result in linear time for the callers' texts.
  size_t from = 0;
  for (;;) {
    auto pos = result.find(oldPart, from);
    if (pos == std::string::npos) break;
    result.replace(pos, oldPart.size(), newPart);
    // A new occurrence can only begin within oldPart.size() - 1 characters before pos.
    from = pos >= oldPart.size() ? pos - (oldPart.size() - 1) : 0;
  }
  return result;
}

std::string TrimPrintableLeft(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && !Printable(static_cast<unsigned char>(text[i]))) ++i;
  return std::string(text.substr(i));
}

std::string TrimPrintableRight(std::string_view text) {
  size_t n = text.size();
  while (n > 0 && !Printable(static_cast<unsigned char>(text[n - 1]))) --n;
  return std::string(text.substr(0, n));
}

std::string TrimPrintable(std::string_view text) {
  return TrimPrintableLeft(TrimPrintableRight(text));
}

std::string TrimSpaces(std::string_view text) {
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string UpperText(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperChar(c);
  return result;
}

std::string IntToText(std::int32_t value) {
  return std::to_string(value);
}

std::string IntToStrWidth(std::int64_t value, int width) {
  std::string text;
  AppendIntWidth(text, value, width);
  return text;
}

void AppendIntWidth(std::string& out, std::int64_t value, int width) {
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const auto length = static_cast<int>(end - digits);
  if (width > length) out.append(static_cast<size_t>(width - length), ' ');
  out.append(digits, static_cast<size_t>(length));
}

int CompareUpperText(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(UpperChar(a[i]));
    auto cb = static_cast<unsigned char>(UpperChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace ravelin
