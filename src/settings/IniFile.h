// A settings file in the INI format: "[section]" lines, "key=value" lines, section and key
// names compared ignoring ASCII letter case. Lines that are neither (garbage, comments) are
// kept untouched when the file is written back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Error.h"

namespace ravelin {

/// Longest text value that reading returns; longer values are cut.
inline constexpr size_t kIniMaxValueLength = 2047;

/// The decimal or "0x" hexadecimal 32-bit integer that text holds (an optional sign first,
/// blanks around allowed), or nullopt when text is not such a number.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

/// The error of a settings file that cannot be written: "Unable to write to FILE: reason".
IoError UnableToWrite(const std::string& fileName, const std::string& reason);

/// How reading a settings file went.
struct IniRead {
  bool exists = false;  ///< something of the file's name exists
  std::string whyNot;   ///< when it exists but cannot be read: the system's reason
};

/// The lines of one INI file, held in memory. Reading and writing never touch the disk;
/// Load and Save do.
class IniFile {
 public:
  /// An empty file named fileName (nothing is read yet).
  explicit IniFile(std::string fileName);

  /// The file's full name as given.
  const std::string& FileName() const { return fileName_; }
  /// Replaces the held lines by what reading needs of the file: the header of the first
  /// section named section and the first entry of each of keys in it. The file is read a line
  /// at a time and only those lines are kept, so a file of any size takes little memory; the
  /// result is for reading, never for Save. A file that cannot be opened (missing, a folder,
  /// a device, no access) gives no lines and says why. Throws IoError when reading fails
  /// after opening.
  IniRead LoadSection(std::string_view section, const std::vector<std::string_view>& keys);
  /// Replaces the held lines by text (line ends CR LF, CR or LF; Ctrl-Z ends the text).
  void SetText(std::string_view text);
  /// The held lines, each followed by CR LF.
  std::string Text() const;
  /// Writes Text() to the file, creating its folder when missing; the old file stays whole
  /// when this fails. Throws IoError "Unable to write to <file name>: reason".
  void Save() const;

  /// The value of key in section, blanks around it removed and cut to kIniMaxValueLength;
  /// the first such key of the first such section counts. Default when there is none.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  /// The value as an integer (see ParseIniInteger); default when missing or not a number.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  /// True when the value is an integer other than 0; default when missing or not a number.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  /// Sets key in section to value: the key's line is replaced in place, or a new line goes
  /// after the section's last entry, or a new section goes at the end of the file. Line
  /// breaks and Ctrl-Z in value become blanks so that the file keeps its shape.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  /// Writes value as decimal text.
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  /// Writes "1" for true, "0" for false.
  void WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  // Index of the first header line of section, or npos.
  size_t FindSection(std::string_view section) const;
  // Index of the first line of key in the section whose header is at sectionLine, or npos.
  size_t FindKey(size_t sectionLine, std::string_view key) const;

  std::string fileName_;
  std::string bom_;  // a UTF-8 byte order mark that started the file, written back as found
  std::vector<std::string> lines_;
};

}  // namespace ravelin
