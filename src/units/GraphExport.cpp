// What the graph formats share.
#include "units/GraphExport.h"

#include "common/MachineFormats.h"

namespace ravelin {

std::string DotQuoted(std::string_view text) {
  std::string result = "\"";
  for (char c : ReadableUtf8(text)) {
    if (c == '"' || c == '\\') result += '\\';
    result += c;
  }
  return result + "\"";
}

std::string NodeId(std::size_t unit) {
  return "u" + std::to_string(unit + 1);
}

}  // namespace ravelin
