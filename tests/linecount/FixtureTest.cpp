// Annotated fixture files: every file under tests/data/linecount/fixtures states the counts it
// must give in its first line, "{ expect: total=N blank=N comment=N source=N commented=N }".
// The files hold the byte sequences that matter (mixed line ends, Ctrl-Z, NUL and high bytes).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "TestFolder.h"
#include "linecount/LCntEngn.h"

namespace ravelin {
namespace {

std::vector<std::string> FixtureNames() {
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(RAVELIN_TEST_DATA "/linecount/fixtures")) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class FixtureFile : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureFile, GivesTheCountsItsFirstLineStates) {
  const std::string path = RAVELIN_TEST_DATA "/linecount/fixtures/" + GetParam();
  const std::string bytes = testing::ReadBytes(path);
  std::smatch m;
  const std::regex annotation(
      R"(expect: total=(\d+) blank=(\d+) comment=(\d+) source=(\d+) commented=(\d+))");
  const std::string head = bytes.substr(0, std::min<size_t>(bytes.size(), 200));
  ASSERT_TRUE(std::regex_search(head, m, annotation)) << GetParam() << " has no annotation";

  TLcntEngine engine;
  TLineCounts counts;
  engine.CountFile(path, counts);
  EXPECT_TRUE(engine.Lines.empty()) << GetParam() << " was not found";
  EXPECT_EQ(counts.Total, std::stoi(m[1])) << GetParam();
  EXPECT_EQ(counts.Blank, std::stoi(m[2])) << GetParam();
  EXPECT_EQ(counts.Comment, std::stoi(m[3])) << GetParam();
  EXPECT_EQ(counts.Source, std::stoi(m[4])) << GetParam();
  EXPECT_EQ(counts.Commented, std::stoi(m[5])) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Annotated, FixtureFile, ::testing::ValuesIn(FixtureNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace ravelin
