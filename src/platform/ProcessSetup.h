// What a command-line program sets up before it reads its arguments or writes anything, and
// the texts of the C library's locale it writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

/// The program's arguments as UTF-8 (Windows: read through the wide-character command line,
/// whatever the console's code page; elsewhere argv as given).
std::vector<std::string> ProgramArguments(int argc, char** argv);

/// Text the C library gave in its locale for category (LC_TIME: a month name, LC_NUMERIC: a
/// thousands separator) as UTF-8: Windows converts it from that locale's code page; elsewhere
/// it is taken as it is (a Linux locale's texts are UTF-8).
std::string LocaleTextAsUtf8(int category, std::string_view text);

/// Makes the standard streams carry bytes unchanged: Windows turns off the "\n" to CR LF
/// translation of text mode and has the console show UTF-8; elsewhere nothing to do.
void UseBinaryStandardStreams();

}  // namespace ravelin
