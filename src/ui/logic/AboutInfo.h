// What the About box shows, without its widgets: the version strings, the credits that its
// button turns through, and the texts of its labels.
#pragma once

#include <string>
#include <vector>

namespace ravelin {

/// One string of the program's version table.
struct VersionString {
  std::string key;
  std::string value;
};

/// The ten keys of the version table, in the order the About box reads them.
extern const char* const kVersionKeys[10];

/// The version table compiled into the program: all ten keys, ProductName "Ravelin",
/// FileVersion and ProductVersion the build's version (four dot-separated numbers).
std::vector<VersionString> ProgramVersionTable(const std::string& version);

/// The values of the ten keys found in table (keys matched ignoring case), appended to
/// infoLines in key order; a missing key is skipped. Returns how many were found.
int LoadVersionInfo(const std::vector<VersionString>& table, std::vector<std::string>& infoLines);

/// The About box's data and its rules.
class AboutInfo {
 public:
  std::vector<std::string> InfoLines;  ///< version strings, the two credits, then the comment
  int VersionCount = 0;                ///< number of version strings found
  int AssistIndex = 1;                 ///< rotation position among the entries after them
  int NoticeYear = 0;                  ///< year of the notice; 0: the LegalCopyright string
  std::string ProductName;             ///< set by the caller or taken from the table
  std::string Comments;                ///< set by the caller or taken from the table
  std::string Version;                 ///< set by the caller or taken from the table

  /// The texts FormShow puts into the box.
  struct ShownTexts {
    std::string caption;    ///< "About " + ProductName
    std::string version;    ///< "Version " + Version
    std::string product;    ///< ProductName
    std::string copyright;  ///< the notice with its year text
  };

  /// Loads the version strings from table, resets NoticeYear and AssistIndex, appends the two
  /// credits; returns the first credit, the comments label's first text.
  std::string FormCreate(const std::vector<VersionString>& table);
  /// Fills what the caller left empty from the version strings (only when all ten were
  /// found), builds the label texts and appends a non-empty Comments to InfoLines.
  ShownTexts FormShow();
  /// The next text of the comments label: moves the rotation over the E entries after the
  /// version strings E - 1 steps on and returns the last entry reached followed by CR LF;
  /// empty when E is below 2.
  std::string DoShowAssist();
  /// Forgets the lines when the box closes.
  void FormClose() { InfoLines.clear(); }
};

/// The two credit lines of the About box.
extern const char* const kCreditLines[2];
/// The fixed texts around the year in the rights notice.
extern const char* const kNoticeOpening;
extern const char* const kNoticeClosing;
/// The product's web page, shown and opened by the About box's link.
extern const char* const kProductUrl;

}  // namespace ravelin
