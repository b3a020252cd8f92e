#include "settings/IniFile.h"

#include <limits>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"
#include "platform/FileSys.h"

namespace ravelin {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameText(std::string_view a, std::string_view b) {
  return CompareUpperText(a, b) == 0;
}

// The section name of a "[name]" line, or nullopt when the line is no section header.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

// Splits a "key=value" line; false for headers, comments and lines without a key.
bool SplitEntry(std::string_view line, std::string_view& key, std::string_view& value) {
  std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return false;
  size_t eq = trimmed.find('=');
  if (eq == std::string_view::npos) return false;
  key = TrimBlanks(trimmed.substr(0, eq));
  value = TrimBlanks(trimmed.substr(eq + 1));
  return !key.empty();
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t magnitude = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    // Hexadecimal: up to 32 bits, read as the bit pattern of a 32-bit integer.
    text.remove_prefix(2);
    for (char c : text) {
      int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      magnitude = magnitude * 16 + static_cast<std::uint64_t>(digit);
      if (magnitude > 0xFFFFFFFFull) return std::nullopt;
    }
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    if (magnitude > 0x80000000ull) return std::nullopt;
  }
  if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
  if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(magnitude);
}

IoError UnableToWrite(const std::string& fileName, const std::string& reason) {
  return IoError("Unable to write to " + fileName + (reason.empty() ? "" : ": " + reason), reason);
}

IniFile::IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

IniRead IniFile::LoadSection(std::string_view section, const std::vector<std::string_view>& keys) {
  bom_.clear();
  lines_.clear();
  IniRead result;
  OpenedFile opened = Fs().OpenRead(fileName_, Readable::FileOrPipe);
  result.exists = !opened.missing;
  if (!opened.file) {
    if (result.exists) result.whyNot = opened.whyNot;
    return result;
  }
  LineReader reader = ReadLines(*opened.file);
  std::vector<bool> found(keys.size(), false);
  bool inSection = false;
  bool first = true;
  for (std::string line; reader.Next(line);) {
    std::string_view text = line;
    if (first && text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
    first = false;
    if (auto name = SectionOf(text)) {
      if (inSection) break;  // only the first such section counts
      inSection = SameText(*name, section);
      if (inSection) lines_.emplace_back(text);
      continue;
    }
    std::string_view key, value;
    if (!inSection || !SplitEntry(text, key, value)) continue;
    for (size_t i = 0; i < keys.size(); ++i) {
      if (!found[i] && SameText(key, keys[i])) {
        found[i] = true;
        lines_.emplace_back(text);
        break;
      }
    }
  }
  return result;
}

void IniFile::SetText(std::string_view text) {
  bom_.clear();
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bom_ = kUtf8Bom;
    text.remove_prefix(kUtf8Bom.size());
  }
  lines_ = SplitLines(text);
}

std::string IniFile::Text() const {
  return bom_ + JoinLinesCrLf(lines_);
}

void IniFile::Save() const {
  try {
    std::string folder = FolderPart(fileName_);
    if (!folder.empty() && !Fs().FolderExists(folder)) Fs().MakeFolders(folder);
    Fs().ReplaceFile(fileName_, Text());
  } catch (const IoError& e) {
    throw UnableToWrite(fileName_, e.Reason());
  } catch (const Error& e) {
    throw UnableToWrite(fileName_, e.what());
  }
}

size_t IniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    auto name = SectionOf(lines_[i]);
    if (name && SameText(*name, section)) return i;
  }
  return std::string::npos;
}

size_t IniFile::FindKey(size_t sectionLine, std::string_view key) const {
  for (size_t i = sectionLine + 1; i < lines_.size(); ++i) {
    if (SectionOf(lines_[i])) break;
    std::string_view name, value;
    if (SplitEntry(lines_[i], name, value) && SameText(name, key)) return i;
  }
  return std::string::npos;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  size_t header = FindSection(section);
  if (header == std::string::npos) return std::string(defaultValue);
  size_t line = FindKey(header, key);
  if (line == std::string::npos) return std::string(defaultValue);
  std::string_view name, value;
  SplitEntry(lines_[line], name, value);
  return std::string(value.substr(0, kIniMaxValueLength));
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
  size_t header = FindSection(section);
  if (header == std::string::npos) return defaultValue;
  size_t line = FindKey(header, key);
  if (line == std::string::npos) return defaultValue;
  std::string_view name, value;
  SplitEntry(lines_[line], name, value);
  return ParseIniInteger(value).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string entry(key);
  entry += '=';
  for (char c : value) entry += (c == '\r' || c == '\n' || c == '\x1A') ? ' ' : c;

  size_t header = FindSection(section);
  if (header == std::string::npos) {
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(entry));
    return;
  }
  size_t line = FindKey(header, key);
  if (line != std::string::npos) {
    lines_[line] = std::move(entry);
    return;
  }
  // A new key goes after the section's last non-blank line, before any blank lines that
  // separate it from the next section.
  size_t last = header;
  for (size_t i = header + 1; i < lines_.size() && !SectionOf(lines_[i]); ++i) {
    if (!TrimBlanks(lines_[i]).empty()) last = i;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), std::move(entry));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, IntToText(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace ravelin
