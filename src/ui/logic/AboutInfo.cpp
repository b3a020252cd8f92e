#include "ui/logic/AboutInfo.h"

#include "common/VornString.h"

namespace ravelin {

const char* const kVersionKeys[10] = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFileName", "ProductName", "ProductVersion", "Comments"};

const char* const kCreditLines[2] = {
    "The people who lent us their Pascal sources to count",
    "Everyone who told us about a line we counted wrong",
};
const char* const kNoticeOpening = "Copyright \u00A9 ";
const char* const kNoticeClosing = " the Ravelin authors";
const char* const kProductUrl = "https://ravelin.invalid/";

std::vector<VersionString> ProgramVersionTable(const std::string& version) {
  return {
      {"CompanyName", "The Ravelin authors"},
      {"FileDescription", "Measures and maps Object Pascal sources"},
      {"FileVersion", version},
      {"InternalName", "ravelin"},
      {"LegalCopyright", "2000"},
      {"LegalTradeMarks", ""},
      {"OriginalFileName", "ravelin"},
      {"ProductName", "Ravelin"},
      {"ProductVersion", version},
      {"Comments", ""},
  };
}

int LoadVersionInfo(const std::vector<VersionString>& table, std::vector<std::string>& infoLines) {
  int count = 0;
  for (const char* key : kVersionKeys) {
    for (const VersionString& entry : table) {
      if (CompareUpperText(entry.key, key) == 0) {
        infoLines.push_back(entry.value);
        ++count;
        break;
      }
    }
  }
  return count;
}

std::string AboutInfo::FormCreate(const std::vector<VersionString>& table) {
  InfoLines.clear();
  VersionCount = LoadVersionInfo(table, InfoLines);
  NoticeYear = 0;
  AssistIndex = 1;
  InfoLines.push_back(kCreditLines[0]);
  InfoLines.push_back(kCreditLines[1]);
  return InfoLines[VersionCount];
}

AboutInfo::ShownTexts AboutInfo::FormShow() {
  std::string yearText = IntToText(NoticeYear);
  if (VersionCount >= 10) {
    if (ProductName.empty()) ProductName = InfoLines[7];
    if (Version.empty()) Version = InfoLines[2];
    if (Comments.empty()) Comments = InfoLines[9];
    if (NoticeYear == 0) yearText = InfoLines[4];
  }
  ShownTexts shown;
  shown.caption = "About " + ProductName;
  shown.version = "Version " + Version;
  shown.product = ProductName;
  shown.copyright = kNoticeOpening + yearText + kNoticeClosing;
  if (!Comments.empty()) InfoLines.push_back(Comments);
  return shown;
}

std::string AboutInfo::DoShowAssist() {
  std::string text;
  const int entries = static_cast<int>(InfoLines.size()) - VersionCount;
  for (int step = 0; step < entries - 1; ++step) {
    if (AssistIndex >= entries) AssistIndex = 0;
    text = InfoLines[VersionCount + AssistIndex] + "\r\n";
    ++AssistIndex;
  }
  return text;
}

}  // namespace ravelin
