// Fuzz target of the binary form converter: any bytes either convert or fail with one of the
// converter's three messages, the text stays within a fixed multiple of the input, and the
// converter never crashes, hangs or reads outside its input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/Error.h"
#include "linecount/FormConv.h"

namespace {

/// Text one input byte can cause at most: a one-byte list item on a new line at the deepest
/// indent, with room to spare.
constexpr size_t kMaxTextPerByte = 2 * (ravelin::kMaxFormNesting + 2) + 80;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view form(reinterpret_cast<const char*>(data), size);
  std::size_t textSize = 0;
  std::size_t largestPiece = 0;
  try {
    ravelin::ConvertFormBinaryToText(form, [&](std::string_view piece) {
      textSize += piece.size();
      if (piece.size() > largestPiece) largestPiece = piece.size();
    });
  } catch (const ravelin::StreamError& e) {
    const std::string_view message = e.what();
    if (message != ravelin::kInvalidStreamFormat && message != ravelin::kInvalidPropertyValue &&
        message != ravelin::kStreamReadError) {
      std::abort();
    }
  }
  if (textSize > kMaxTextPerByte * size + 4096) std::abort();
  if (largestPiece > 65536 + 4096) std::abort();
  return 0;
}
