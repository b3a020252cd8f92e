// The running program and the environment (Windows).
#include "platform/ExePath.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "platform/windows/WideText.h"

namespace ravelin {

std::string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      std::string path = win::Narrow(std::wstring_view(buffer.data(), n));
      if (path.rfind("\\\\?\\", 0) == 0) path.erase(0, 4);
      return path;
    }
    if (buffer.size() >= (1u << 16)) return {};
    buffer.resize(buffer.size() * 2);
  }
}

bool FolderIsWritable(const std::string& folder) {
  if (folder.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(win::SystemPath(folder).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string EnvironmentValue(const char* name) {
  const wchar_t* value = ::_wgetenv(win::Widen(name).c_str());
  return value ? win::Narrow(value) : std::string();
}

}  // namespace ravelin
