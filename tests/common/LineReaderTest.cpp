// Lines read a piece at a time are the lines of the whole text, wherever the pieces are cut.
#include <gtest/gtest.h>

#include <random>

#include "common/TextLines.h"

namespace ravelin {
namespace {

TEST(LineReader, GivesTheLinesOfTheWholeTextForEveryPieceSize) {
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\x1A'};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) text += alphabet[random() % (round % 3 == 0 ? 5 : 4)];
    const size_t pieceSize = 1 + random() % 4;
    size_t pos = 0;
    LineReader reader(
        [&](char* buffer, size_t size) {
          const size_t n = std::min({size, pieceSize, text.size() - pos});
          text.copy(buffer, n, pos);
          pos += n;
          return n;
        },
        pieceSize + random() % 3);
    std::vector<std::string> lines;
    for (std::string line; reader.Next(line);) lines.push_back(line);
    EXPECT_EQ(lines, SplitLines(text))
        << ::testing::PrintToString(text) << " in pieces of " << pieceSize;
    std::vector<std::string> whole;
    LineReader inMemory(text);
    for (std::string line; inMemory.Next(line);) whole.push_back(line);
    EXPECT_EQ(whole, lines);
  }
}

}  // namespace
}  // namespace ravelin
