// Lines read a piece at a time are the lines of the whole text, wherever the pieces are cut.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "common/TextLines.h"

namespace ravelin {
namespace {

TEST(LineReader, GivesTheLinesOfTheWholeTextForEveryPieceSize) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 12); i > 0; --i)
      text += "ab\r\n\x1A"[random() % (round % 3 == 0 ? 5 : 4)];
    std::istringstream in(text);
    const size_t piece = 1 + random() % 4;
    LineReader reader([&](char* to, size_t n) { return size_t(in.read(to, n).gcount()); }, piece);
    std::vector<std::string> lines;
    for (std::string line; reader.Next(line);) lines.push_back(line);
    EXPECT_EQ(lines, SplitLines(text)) << ::testing::PrintToString(text) << " in " << piece;
  }
}

}  // namespace
}  // namespace ravelin
