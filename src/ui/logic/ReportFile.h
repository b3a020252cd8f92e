// Settling the report file before a command writes (append, overwrite, another file or stop)
// and opening the finished report in the chosen viewer.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ravelin {

/// The answers of the warning dialog that asks what to do with an existing report file.
enum class FileExistsAnswer { Append, Overwrite, NewFile, Cancel };

/// Asks about an existing report file: the file's name and whether Append is the default
/// answer (else Overwrite is).
using TAskFileExists =
    std::function<FileExistsAnswer(const std::string& fileName, bool appendDefault)>;

/// Filter of the "Select Report File" dialog.
extern const char* const kReportFileFilter;
/// Title of the dialog that picks another report file.
extern const char* const kReportFileTitle;

/// The warning dialog's question about an existing report file.
std::string FileExistsMessage(const std::string& fileName);

/// Settles the report file fileName. A missing file is created empty. For an existing one ask
/// decides (Append the default when reuseChecked, else Overwrite): Append keeps it, Overwrite
/// empties it, NewFile lets the user pick another file through Ui().OpenFiles and settles
/// that one the same way, Cancel stops. True when the command is to write into fileName
/// (which may now name another file); false when it is to stop. Throws IoError when the file
/// cannot be created or emptied.
bool ChooseReportFile(bool reuseChecked, std::string& fileName, const TAskFileExists& ask);

/// The Windows directory; empty on this system, which has none.
std::string WindowsDirectory();

/// The program path in a WordPad registration value "descr,descr,program,more": the first two
/// fields are cut off and everything from a third comma on; a value without commas is the
/// path itself.
std::string CutWordPadValue(std::string value);

/// The WordPad program named under "[embedding] Wordpad.Document.1" in the file Win.ini of
/// windowsDir (cut by CutWordPadValue); empty when the folder, file or value is missing.
std::string WordPadFromWinIni(const std::string& windowsDir);

/// A viewer command: the program with its arguments, and the command line a user reads.
struct ViewerCommand {
  std::string program;            ///< the program started; empty: nothing can be started
  std::vector<std::string> args;  ///< its arguments: the report file
  std::string commandLine;        ///< viewer part + " " + file name, as shown in errors
};

/// The program that opens plain text on this desktop, used for the NotePad choice.
extern const char* const kTextOpener;

/// Builds the command that shows fileName: viewerChoice 0 the WordPad program of windowsDir's
/// Win.ini when that file exists, else the NotePad command; 1 the NotePad command (the desktop's
/// opener for text); 2 viewerPath; any other value no program.
ViewerCommand BuildViewerCommand(int viewerChoice, const std::string& viewerPath,
                                 const std::string& windowsDir, const std::string& fileName);

/// Starts the viewer chosen in the settings on fileName without waiting for it. When it cannot
/// start, or fails soon after its start (Ui().StartWatched), Ui().ShowError("Failed to
/// execute " + the command line), followed on a line of its own by the reason when known.
void ShowReport(const std::string& fileName);

}  // namespace ravelin
