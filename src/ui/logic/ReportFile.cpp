#include "ui/logic/ReportFile.h"

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "platform/UiServices.h"
#include "settings/IniFile.h"
#include "settings/LstGlobal.h"

namespace ravelin {

const char* const kReportFileFilter =
    "Text Files (*.txt)|*.txt|Report Files (*.rpt)|*.rpt|All Files (*.*)|*.*";
const char* const kReportFileTitle = "Select Report File";
const char* const kTextOpener = "xdg-open";

std::string FileExistsMessage(const std::string& fileName) {
  return "The report file \"" + fileName +
         "\" already exists. Either Append, Overwrite, Select a new file or Cancel.";
}

bool ChooseReportFile(bool reuseChecked, std::string& fileName, const TAskFileExists& ask) {
  // Each New File answer leads to one more round with the chosen name; a loop rather than a
  // recursion, so that no number of rounds can exhaust the stack.
  for (;;) {
    if (!Fs().FileExists(fileName)) {
      Fs().TruncateFile(fileName);
      return true;
    }
    switch (ask(fileName, reuseChecked)) {
      case FileExistsAnswer::Cancel:
        return false;
      case FileExistsAnswer::Append:
        return true;
      case FileExistsAnswer::Overwrite:
        Fs().TruncateFile(fileName);
        return true;
      case FileExistsAnswer::NewFile: {
        OpenFileRequest request;
        request.title = kReportFileTitle;
        request.filter = kReportFileFilter;
        request.filterIndex = 1;
        request.initialFile = fileName;
        request.multiSelect = false;
        request.mustExist = false;
        auto chosen = Ui().OpenFiles(request);
        if (!chosen || chosen->empty()) return false;
        fileName = chosen->front();
        break;
      }
    }
  }
}

std::string WindowsDirectory() {
  return "";
}

std::string CutWordPadValue(std::string value) {
  int commas = 0;
  for (auto pos = value.find(','); pos != std::string::npos; pos = value.find(',')) {
    ++commas;
    if (commas <= 2) {
      value.erase(0, pos + 1);
    } else {
      value.erase(pos);
    }
  }
  return value;
}

std::string WordPadFromWinIni(const std::string& windowsDir) {
  if (windowsDir.empty()) return "";
  IniFile ini(JoinPath(windowsDir, "Win.ini"));
  ini.LoadSection("embedding", {"Wordpad.Document.1"});
  return CutWordPadValue(ini.ReadString("embedding", "Wordpad.Document.1", ""));
}

ViewerCommand BuildViewerCommand(int viewerChoice, const std::string& viewerPath,
                                 const std::string& windowsDir, const std::string& fileName) {
  ViewerCommand command;
  std::string viewerPart;
  const std::string notePad = std::string(kTextOpener) + " ";
  switch (viewerChoice) {
    case 0: {
      std::string wordPad = WordPadFromWinIni(windowsDir);
      if (!wordPad.empty() && Fs().FileExists(wordPad)) {
        viewerPart = wordPad;
        command.program = Fs().Resolve(wordPad).value_or(wordPad);
      } else {
        viewerPart = notePad;
        command.program = kTextOpener;
      }
      break;
    }
    case 1:
      viewerPart = notePad;
      command.program = kTextOpener;
      break;
    case 2:
      viewerPart = viewerPath + " ";
      command.program = viewerPath;
      // A path (not a bare program name looked up on the search path) is found on disk
      // ignoring letter case, like every other file name.
      if (viewerPath.find_first_of("/\\") != std::string::npos && Fs().FileExists(viewerPath))
        command.program = Fs().Resolve(viewerPath).value_or(viewerPath);
      break;
    default:
      break;
  }
  if (!command.program.empty()) command.args.push_back(fileName);
  command.commandLine = viewerPart + " " + fileName;
  return command;
}

void ShowReport(const std::string& fileName) {
  ViewerCommand command = BuildViewerCommand(Settings().ViewerChoice, Settings().ViewerPath,
                                             WindowsDirectory(), fileName);
  const std::string failed = "Failed to execute " + command.commandLine;
  // The message names the command line, then (on a line of its own) the reason when known.
  auto report = [failed](const std::string& reason) {
    Ui().ShowError(reason.empty() ? failed : failed + "\n" + reason);
  };
  std::string whyNot;
  if (command.program.empty() || !Ui().StartWatched(command.program, command.args, whyNot, report))
    report(whyNot);
}

}  // namespace ravelin
