// The arguments and standard streams of a Windows console program.
#include "platform/ProcessSetup.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/windows/WideText.h"

namespace ravelin {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(win::Narrow(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

std::string LocaleTextAsUtf8(int category, std::string_view text) {
  // The C library names a locale "Language_Country.CodePage" ("French_France.1252"); "C" has
  // no code page.
  const char* name = std::setlocale(category, nullptr);
  const char* dot = name != nullptr ? std::strrchr(name, '.') : nullptr;
  const unsigned codePage =
      dot != nullptr ? static_cast<unsigned>(std::strtoul(dot + 1, nullptr, 10)) : 0;
  return win::CodePageTextAsUtf8(codePage, text);
}

void UseBinaryStandardStreams() {
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace ravelin
