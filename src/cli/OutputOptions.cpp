// The output options and the delivery of a report.
#include "cli/OutputOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/Error.h"

namespace ravelin::cli {

const std::vector<OptionSpec>& CommonOptions() {
  static const std::vector<OptionSpec> options = {
      {"report", "FILE",
       "append the report to FILE (a regular file, created when missing) instead of writing it "
       "to standard output; runs appending to one FILE take turns, and a failed or interrupted "
       "append leaves FILE as it was"},
      {"help", "", "show this help and exit", 'h'},
  };
  return options;
}

std::vector<OptionSpec> FormatOptions(const std::vector<std::string_view>& formats) {
  std::string names;
  for (std::string_view format : formats) {
    if (!names.empty()) names += ", ";
    names += format;
  }
  return {
      {"format", "FORMAT",
       "write the report as " + names + " (default " + std::string(formats.front()) +
           "); JSON and CSV lines end in LF"},
      {"eol", "EOL", "end the lines of a text report with crlf (the default) or lf"},
  };
}

OutputChoice ChooseOutput(const ParsedArgs& args, const std::vector<std::string_view>& formats) {
  OutputChoice choice;
  choice.format = std::string(formats.front());
  if (args.Has("format")) {
    choice.format = args.Value("format");
    if (std::find(formats.begin(), formats.end(), choice.format) == formats.end()) {
      std::string names;
      for (std::string_view format : formats)
        names += (names.empty() ? "" : ", ") + std::string(format);
      throw UsageError("unknown format '" + choice.format + "' (this command writes " + names +
                       ")");
    }
  }
  if (args.Has("eol")) {
    const std::string eol = args.Value("eol");
    if (eol != "lf" && eol != "crlf") throw UsageError("--eol takes lf or crlf, not '" + eol + "'");
    if (choice.format != "text") throw UsageError("--eol applies to the text format only");
    choice.eol = eol == "lf" ? "\n" : "\r\n";
  }
  choice.reportFile = args.Value("report");
  return choice;
}

void DeliverText(std::string_view text, const std::string& reportFile, ReportStart start,
                 std::ostream& out) {
  if (!reportFile.empty()) {
    Fs().AppendReport(reportFile, text, start);
    return;
  }
  errno = 0;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!out) {
    const int err = errno;
    throw IoError(std::string("Cannot write the report to standard output: ") +
                  (err != 0 ? std::strerror(err) : "the output stream failed"));
  }
}

OptionSpec OutputFileOption() {
  return {"output", "FILE",
          "write the report to FILE, replacing it (written beside it first: a failed write "
          "leaves FILE as it was); the way to save a page",
          'o'};
}

void DeliverOutput(std::string_view text, const ParsedArgs& args, std::ostream& out,
                   ReportStart start) {
  if (args.Has("output") && args.Has("report"))
    throw UsageError("give either --output FILE (replace) or --report FILE (append), not both");
  if (args.Has("output")) {
    Fs().ReplaceFile(args.Value("output"), text);
    return;
  }
  DeliverText(text, args.Value("report"), start, out);
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view eol) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += eol;
  }
  return text;
}

}  // namespace ravelin::cli
