#include "pascal/Vornbuffer.h"

#include <cstring>

#include "common/Checked.h"

namespace ravelin {

void TVornstrBfr::SetSource(std::vector<std::string>* lines) {
  FSourceLines = lines;
  FReader = nullptr;
  FAtEof = lines == nullptr || lines->empty();
}

void TVornstrBfr::SetSource(LineReader& reader) {
  FSourceLines = nullptr;
  FReader = &reader;
  FAtEof = false;
}

void TVornstrBfr::Reset() {
  FAtEof = true;
  FLineNo = 0;
  FColumn = 0;
  FPending.clear();
  FPos = 0;
  if (FSourceLines != nullptr) FSourceLines->clear();
  FReader = nullptr;
}

void TVornstrBfr::PushBack(std::string_view text) {
  if (text.empty()) return;
  if (FPos >= text.size()) {
    // Room in front: the used-up characters are overwritten.
    FPos -= text.size();
    std::memcpy(FPending.data() + FPos, text.data(), text.size());
  } else {
    FPending.replace(0, FPos, text);
    FPos = 0;
  }
}

void TVornstrBfr::Fetch() {
  // One more attempt per call, also at end of input; a count beyond 32 bits throws.
  CheckedInc(FLineNo);
  FColumn = 0;
  FPending.clear();
  FPos = 0;
  const auto index = static_cast<std::size_t>(FLineNo - 1);
  if (FReader != nullptr) {
    if (FReader->Next(FPending))
      FPending.push_back(kEndOfLine);
    else
      FAtEof = true;
  } else if (FSourceLines != nullptr && index < FSourceLines->size()) {
    const std::string& line = (*FSourceLines)[index];
    FPending.reserve(line.size() + 1);
    FPending.assign(line);
    FPending.push_back(kEndOfLine);
  } else {
    FAtEof = true;
  }
}

}  // namespace ravelin
