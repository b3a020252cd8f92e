// Lines read a piece at a time are the lines of the whole text, wherever the pieces are cut.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "common/TextLines.h"

namespace ravelin {
namespace {

/// The lines of text taken one byte at a time: CR LF, CR or LF end a line, Ctrl-Z the text.
std::vector<std::string> ReferenceLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < text.size() && text[i] != '\x1A'; ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

TEST(LineReader, GivesTheLinesOfTheWholeTextForEveryPieceSize) {
  std::mt19937 random(7);
  const std::string longRun(300, 'a');  // longer than one search window
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 12); i > 0; --i) {
      const size_t pick = random() % (round % 3 == 0 ? 6 : 5);  // a Ctrl-Z in a third
      text += pick == 4 ? longRun : std::string(1, "ab\r\n\x1A\x1A"[pick]);
    }
    std::istringstream in(text);
    const size_t piece = 1 + random() % (round % 2 == 0 ? 4 : 700);
    LineReader reader([&](char* to, size_t n) { return size_t(in.read(to, n).gcount()); }, piece);
    std::vector<std::string> lines;
    for (std::string line; reader.Next(line);) lines.push_back(line);
    const std::vector<std::string> expected = ReferenceLines(text);
    EXPECT_EQ(lines, expected) << ::testing::PrintToString(text) << " in " << piece;
    EXPECT_EQ(SplitLines(text), expected) << ::testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace ravelin
