#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pascal/Vornbuffer.h"

namespace ravelin {
namespace {

TEST(Vornbuffer, NewEmptyOrMissingSourceIsAtEndAtOnce) {
  TVornstrBfr fresh;
  EXPECT_EQ(fresh.SourceLines(), nullptr);
  std::vector<std::string> none;
  TVornstrBfr empty, unattached;
  empty.SetSource(&none);
  unattached.SetSource(nullptr);
  for (TVornstrBfr* buffer : {&fresh, &empty, &unattached}) {
    EXPECT_TRUE(buffer->AtEof());
    EXPECT_EQ(buffer->LineNo(), 0);
    EXPECT_EQ(buffer->Column(), 0);
    EXPECT_EQ(buffer->ReadChar(), '\0');
    EXPECT_TRUE(buffer->AtEof());
  }
}

TEST(Vornbuffer, TwoLinesReadCharacterByCharacter) {
  std::vector<std::string> lines = {"ab", ""};
  TVornstrBfr buffer;
  buffer.SetSource(&lines);
  EXPECT_FALSE(buffer.AtEof());
  struct Step {
    char c;
    int column;
    int lineNo;
    bool atEof;
  };
  const Step steps[] = {
      {'a', 1, 1, false},  {'b', 2, 1, false}, {'\r', 3, 1, false},
      {'\r', 1, 2, false}, {'\0', 0, 3, true}, {'\0', 0, 4, true},  // one attempt per call
  };
  int i = 0;
  for (const auto& step : steps) {
    EXPECT_EQ(buffer.ReadChar(), step.c) << "read " << i;
    EXPECT_EQ(buffer.Column(), step.column) << "read " << i;
    EXPECT_EQ(buffer.LineNo(), step.lineNo) << "read " << i;
    EXPECT_EQ(buffer.AtEof(), step.atEof) << "read " << i;
    ++i;
  }
  EXPECT_EQ(buffer.PeekChar(), '\0');
  EXPECT_EQ(buffer.LineNo(), 5);
}

TEST(Vornbuffer, PeekDoesNotTakeAndAPeekThatFetchesALineStartsItsColumnAtZero) {
  std::vector<std::string> lines = {"ab", "cd"};
  TVornstrBfr buffer;
  buffer.SetSource(&lines);
  EXPECT_EQ(buffer.PeekChar(), 'a');
  EXPECT_EQ(buffer.PeekChar(), 'a');
  EXPECT_EQ(buffer.Column(), 0);
  EXPECT_EQ(buffer.LineNo(), 1);
  EXPECT_EQ(buffer.ReadChar(), 'a');
  EXPECT_EQ(buffer.PeekChar(), 'b');
  EXPECT_EQ(buffer.Column(), 1);
  for (int i = 0; i < 2; ++i) buffer.ReadChar();
  EXPECT_EQ(buffer.Column(), 3);
  EXPECT_EQ(buffer.PeekChar(), 'c');
  EXPECT_EQ(buffer.Column(), 0);
  EXPECT_EQ(buffer.LineNo(), 2);
  // At the end a peek keeps counting attempts and leaves the column at 0.
  for (int i = 0; i < 3; ++i) buffer.ReadChar();
  EXPECT_EQ(buffer.Column(), 3);
  EXPECT_EQ(buffer.PeekChar(), '\0');
  EXPECT_TRUE(buffer.AtEof());
  EXPECT_EQ(buffer.Column(), 0);
  EXPECT_EQ(buffer.LineNo(), 3);
  EXPECT_EQ(buffer.PeekChar(), '\0');
  EXPECT_EQ(buffer.LineNo(), 4);
}

TEST(Vornbuffer, SetSourceKeepsTheCountersUntilReset) {
  std::vector<std::string> first = {"a"};
  std::vector<std::string> second = {"b"};
  TVornstrBfr buffer;
  buffer.SetSource(&first);
  while (!buffer.AtEof()) buffer.ReadChar();
  EXPECT_EQ(buffer.LineNo(), 2);
  // Attached without a Reset, the new list is read from line LineNo + 1 on: here nothing.
  buffer.SetSource(&second);
  EXPECT_FALSE(buffer.AtEof());
  EXPECT_EQ(buffer.ReadChar(), '\0');
  EXPECT_TRUE(buffer.AtEof());
  EXPECT_EQ(second.size(), 1u);
}

TEST(Vornbuffer, PushBackGoesInFrontOfTheInput) {
  struct Row {
    const char* name;
    int readsBefore;  // characters of "*)" read before the push
    std::string pushed;
    std::string expected;  // what the following reads return
  };
  const Row rows[] = {
      {"after a peek", 0, "(", "(*)\r"},
      {"in place of a read character", 1, "*", "*)\r"},
      {"longer than what was read", 1, "(*x", "(*x)\r"},
      {"after the line end was read", 3, "ab", "ab"},
      {"nothing", 1, "", ")\r"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> lines = {"*)"};
    TVornstrBfr buffer;
    buffer.SetSource(&lines);
    EXPECT_EQ(buffer.PeekChar(), '*') << row.name;
    for (int i = 0; i < row.readsBefore; ++i) buffer.ReadChar();
    const int column = buffer.Column();
    buffer.PushBack(row.pushed);
    EXPECT_EQ(buffer.Column(), column) << row.name;
    EXPECT_EQ(buffer.LineNo(), 1) << row.name;
    std::string read;
    for (std::size_t i = 0; i < row.expected.size(); ++i) read += buffer.ReadChar();
    EXPECT_EQ(read, row.expected) << row.name;
    EXPECT_EQ(buffer.LineNo(), 1) << row.name;  // no further line fetched meanwhile
    EXPECT_FALSE(buffer.AtEof()) << row.name;
  }
}

TEST(Vornbuffer, PushBackBeforeTheFirstLineIsReadFirst) {
  std::vector<std::string> lines = {"a"};
  TVornstrBfr buffer;
  buffer.SetSource(&lines);
  buffer.PushBack("xy");
  EXPECT_EQ(buffer.ReadChar(), 'x');
  EXPECT_EQ(buffer.ReadChar(), 'y');
  EXPECT_EQ(buffer.LineNo(), 0);
  EXPECT_EQ(buffer.ReadChar(), 'a');
  EXPECT_EQ(buffer.LineNo(), 1);
}

TEST(Vornbuffer, ResetEmptiesTheAttachedList) {
  std::vector<std::string> lines = {"one", "two"};
  TVornstrBfr buffer;
  buffer.SetSource(&lines);
  buffer.ReadChar();
  buffer.Reset();
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(buffer.SourceLines(), &lines);
  EXPECT_TRUE(buffer.AtEof());
  EXPECT_EQ(buffer.LineNo(), 0);
  EXPECT_EQ(buffer.Column(), 0);
  // Nothing of the old line is left over.
  lines = {"z"};
  buffer.SetSource(&lines);
  EXPECT_EQ(buffer.ReadChar(), 'z');
  EXPECT_EQ(buffer.LineNo(), 1);
}

TEST(Vornbuffer, ControlBytesAreOrdinaryCharacters) {
  std::vector<std::string> lines = {std::string("a\0\n\xFF", 4)};
  TVornstrBfr buffer;
  buffer.SetSource(&lines);
  const std::string expected("a\0\n\xFF\r", 5);
  for (char c : expected) {
    EXPECT_EQ(buffer.ReadChar(), c);
    EXPECT_FALSE(buffer.AtEof());
  }
  EXPECT_EQ(buffer.ReadChar(), '\0');
  EXPECT_TRUE(buffer.AtEof());
}

}  // namespace
}  // namespace ravelin
