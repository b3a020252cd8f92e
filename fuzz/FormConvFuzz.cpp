// Fuzz target of the binary form converter: any bytes either convert or fail with one of the
// converter's three messages, the text stays within a fixed multiple of the input, and the
// converter never crashes, hangs or reads outside its input. The line counter of textual forms
// must count any text handed over in pieces exactly as it counts the whole text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/Error.h"
#include "common/TextLines.h"
#include "linecount/FormConv.h"

namespace {

/// Text one input byte can cause at most: a one-byte list item on a new line at the deepest
/// indent, with room to spare.
constexpr size_t kMaxTextPerByte = 2 * (ravelin::kMaxFormNesting + 2) + 80;

/// Converted text kept for the line count check; larger texts are only measured.
constexpr size_t kMaxKeptText = size_t{1} << 20;

/// Lines and "object" lines of a whole text.
std::pair<std::int32_t, std::int32_t> WholeCounts(std::string_view text) {
  std::int32_t lines = 0;
  std::int32_t objects = 0;
  ravelin::ForEachLine(text, [&](std::string_view line) {
    ++lines;
    if (ravelin::IsObjectLine(line)) ++objects;
  });
  return {lines, objects};
}

void CheckCounts(const ravelin::FormLineCounter& counter, std::string_view text) {
  const auto expected = WholeCounts(text);
  if (counter.Lines() != expected.first || counter.Objects() != expected.second) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view form(reinterpret_cast<const char*>(data), size);
  std::size_t textSize = 0;
  std::size_t largestPiece = 0;
  std::string kept;
  ravelin::FormLineCounter counter;
  bool converted = true;
  try {
    ravelin::ConvertFormBinaryToText(form, [&](std::string_view piece) {
      textSize += piece.size();
      if (piece.size() > largestPiece) largestPiece = piece.size();
      counter.Feed(piece);
      if (kept.size() + piece.size() <= kMaxKeptText) kept.append(piece);
    });
  } catch (const ravelin::StreamError& e) {
    converted = false;
    const std::string_view message = e.what();
    if (message != ravelin::kInvalidStreamFormat && message != ravelin::kInvalidPropertyValue &&
        message != ravelin::kStreamReadError) {
      std::abort();
    }
  }
  if (textSize > kMaxTextPerByte * size + 4096) std::abort();
  if (largestPiece > 65536 + 4096) std::abort();
  counter.Finish();
  if (converted && textSize == kept.size()) CheckCounts(counter, kept);

  // The input itself as a text, cut in three pieces where its first two bytes say.
  if (size >= 2) {
    const size_t a = data[0] % (size + 1);
    const size_t b = a + data[1] % (size - a + 1);
    ravelin::FormLineCounter pieces;
    pieces.Feed(form.substr(0, a));
    pieces.Feed(form.substr(a, b - a));
    pieces.Feed(form.substr(b));
    pieces.Finish();
    CheckCounts(pieces, form);
  }
  return 0;
}
