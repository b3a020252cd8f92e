// What the graph formats share.
#include "units/GraphExport.h"

#include "common/MachineFormats.h"

namespace ravelin {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

/// The length a UTF-8 sequence with this lead byte claims; 0 for a byte that leads none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::string ReadableUtf8(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = SequenceLength(lead);
    if (length == 0 || i + length > text.size() || !IsValidUtf8(text.substr(i, length)) ||
        lead < 0x20 || lead == 0x7F) {
      result += kReplacement;
      ++i;
      continue;
    }
    result += text.substr(i, length);
    i += length;
  }
  return result;
}

std::string NodeId(std::size_t unit) {
  return "u" + std::to_string(unit + 1);
}

}  // namespace ravelin
