// The text, path and line routines against the table tests/data/common/routines.txt.
#include <gtest/gtest.h>

#include "DataTable.h"
#include "common/Error.h"
#include "common/HtmlText.h"
#include "common/MachineFormats.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"

namespace ravelin {
namespace {

using Args = std::vector<std::string>;

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

TEST(Routines, GiveTheResultsOfTheTable) {
  auto n = [](const std::string& s) { return std::stoi(s); };
  auto b = [](bool value) { return std::string(value ? "1" : "0"); };
  testing::CheckRoutineTable(
      "common/routines.txt",
      {
          {"JoinPath", [](const Args& a) { return JoinPath(a[0], a[1]); }},
          {"TextBefore", [](const Args& a) { return TextBefore(a[0], a[1]); }},
          {"TextAfter", [](const Args& a) { return TextAfter(a[0], a[1]); }},
          {"SplitFirst",
           [](const Args& a) {
             std::string rest = a[0];
             std::string head = SplitFirst(rest, a[1]);
             return head + "|" + rest;
           }},
          {"CenterText", [&](const Args& a) { return CenterText(a[0], n(a[1])); }},
          {"PadLeftWith", [&](const Args& a) { return PadLeftWith(a[0], a[1][0], n(a[2])); }},
          {"PadRight", [&](const Args& a) { return PadRight(a[0], n(a[1])); }},
          {"IntToStrWidth",
           [&](const Args& a) { return IntToStrWidth(std::stoll(a[0]), n(a[1])); }},
          {"IntToText", [&](const Args& a) { return IntToText(n(a[0])); }},
          {"ReplaceFirst", [](const Args& a) { return ReplaceFirst(a[0], a[1], a[2]); }},
          {"ReplaceAll", [](const Args& a) { return ReplaceAll(a[0], a[1], a[2]); }},
          {"TrimPrintable", [](const Args& a) { return TrimPrintable(a[0]); }},
          {"TrimPrintableLeft", [](const Args& a) { return TrimPrintableLeft(a[0]); }},
          {"TrimPrintableRight", [](const Args& a) { return TrimPrintableRight(a[0]); }},
          {"UpperText", [](const Args& a) { return UpperText(a[0]); }},
          {"CompareUpperText",
           [](const Args& a) { return std::to_string(CompareUpperText(a[0], a[1])); }},
          {"FolderPart", [](const Args& a) { return FolderPart(a[0]); }},
          {"NamePart", [](const Args& a) { return NamePart(a[0]); }},
          {"ExtensionOf", [](const Args& a) { return ExtensionOf(a[0]); }},
          {"BaseNameOf", [](const Args& a) { return BaseNameOf(a[0]); }},
          {"ChangeExtension", [](const Args& a) { return ChangeExtension(a[0], a[1]); }},
          {"ToSlashes", [](const Args& a) { return ToSlashes(a[0]); }},
          {"ExpandPath", [](const Args& a) { return ExpandPath(a[0], a[1]); }},
          {"WildcardMatch", [&](const Args& a) { return b(WildcardMatch(a[0], a[1])); }},
          {"HasWildcard", [&](const Args& a) { return b(HasWildcard(a[0])); }},
          {"SplitLines", [](const Args& a) { return Lines(SplitLines(a[0])); }},
          {"IsValidUtf8", [&](const Args& a) { return b(IsValidUtf8(a[0])); }},
          {"Base64", [](const Args& a) { return Base64(a[0]); }},
          {"JsonName", [](const Args& a) { return JsonName(a[0]).dump(); }},
          {"CsvField", [](const Args& a) { return CsvField(a[0]); }},
          {"HtmlEscape", [](const Args& a) { return HtmlEscape(a[0]); }},
          {"Percent", [](const Args& a) { return Percent(std::stoll(a[0]), std::stoll(a[1])); }},
          {"IsoUtcTime", [](const Args& a) { return IsoUtcTime(std::stoll(a[0])); }},
          {"WithErrorContext",
           [](const Args& a) {
             try {
               WithErrorContext(a[1], [&] {
                 if (a[0] == "io") throw IoError("Cannot read: Is a directory", "Is a directory");
                 throw OverflowError(a[0]);
               });
             } catch (const IoError& e) {
               return std::string(e.what()) + " / " + e.Reason();
             } catch (const OverflowError& e) {
               return std::string(e.what());
             }
             return std::string("no error");
           }},
          {"JoinLinesCrLf",
           [](const Args& a) {
             std::vector<std::string> lines;
             for (std::string rest = a[0]; !rest.empty();) lines.push_back(SplitFirst(rest, "\n"));
             return JoinLinesCrLf(lines);
           }},
      });
}

TEST(WildcardMatch, StaysFastOnPathologicalPatterns) {
  EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*b", std::string(100000, 'a')));
}

}  // namespace
}  // namespace ravelin
