// The line counter (called Tallion in its reports): one run over its inputs (a list file, a
// wildcard pattern or a list of names) classifies every file's lines, counts the form that
// belongs to each file and fills the run's record, from which the reports are rendered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linecount/LCntForms.h"
#include "linecount/LineClassifier.h"
#include "linecount/LineCountRecord.h"

namespace ravelin {

class LineReader;
class InputFile;
class NewFile;

/// The line counter's list file, which the window writes into its source folder.
inline constexpr const char* kListFileName = "Tallion.Files";

/// The names a list file holding text names: each line (line ends CR LF, CR or LF; a Ctrl-Z
/// ends the text) without the blanks and control characters around it, empty lines skipped.
std::vector<std::string> ListFileNames(std::string_view text);

/// One run of the line counter over a list file, a wildcard pattern or a list of names.
class TLcntEngine {
 public:
  TLcntEngine();
  virtual ~TLcntEngine();
  TLcntEngine(const TLcntEngine&) = delete;
  TLcntEngine& operator=(const TLcntEngine&) = delete;

  bool Detailed = false;      ///< a row per file when true, a summary when false
  bool UseListFile = false;   ///< the input is a list file when true, a wildcard pattern when false
  bool LazarusForms = false;  ///< an input without a .dfm form takes its .lfm form (Free Pascal)
  /// When set, the run counts exactly these names, in order and byte for byte (a name may hold
  /// any byte but NUL), instead of reading FileSpec; FileSpec is then only the name the
  /// summary shows.
  std::optional<std::vector<std::string>> Names;
  /// When set (and Names is not), the run counts the names this gives, in order, until it
  /// returns false; it may wait for the next name (a folder walk still going on). Called on
  /// one thread at a time, not always the same.
  std::function<bool(std::string& name)> NameSource;
  std::vector<std::string> Lines;  ///< the report text, after Execute
  LineCountRecord Record;          ///< what the run counted, after Execute or Count
  std::string SpecPath;            ///< folder part of FileSpec
  std::string FileSpec;            ///< the list file name or the wildcard pattern
  std::string CurrentFile;         ///< the file being processed
  /// A file that cannot be counted (unreadable, a line too long, a damaged form) becomes a
  /// skipped row of the record, left out of the totals, and the run goes on; when false the
  /// first such error ends the run.
  bool KeepGoing = false;
  /// Binary forms are converted through the scratch file in the current folder (the window);
  /// when false they are converted in memory and nothing is written.
  bool FormScratch = true;
  /// How many files are read and counted at once (1 and more; without FormScratch only). The
  /// record is the same for every value.
  unsigned Jobs = 1;
  /// Called after each file is added to Record, with the bytes read for it (file and form); on
  /// one thread at a time, not always the same.
  std::function<void(std::uint64_t bytes)> OnProgress;

  /// Sets the input: a ".DFM" extension becomes ".pas"; FileSpec, CurrentFile, SpecPath.
  void SetFileSpec(std::string_view name);
  /// Counts every input into Record. Errors (IoError, OverflowError, StreamError, LimitError)
  /// are thrown to the caller, Record is then incomplete and the scratch file that the run
  /// wrote is removed again.
  void Count();
  /// Count, then the report as text into Lines (the line counter's PATH-line state goes on);
  /// true when the run went through. Throws as Count does.
  bool Execute();
  /// Counts one file into counts (zeroed first), its size into *bytes when given; false when
  /// the file cannot be opened. Errors name the file.
  bool CountFile(const std::string& fileName, TLineCounts& counts, std::uint64_t* bytes = nullptr);
  /// What counting one input file gave, before it goes into Record.
  struct FileOutcome {
    bool found = false;        ///< the file could be opened
    TLineCounts counts;        ///< its lines
    bool hasForm = false;      ///< a form belongs to it
    std::string formName;      ///< the form as CountForm names it
    TFormCounts formCounts;    ///< the form's counters
    std::uint64_t bytes = 0;   ///< bytes read (file and form)
    std::exception_ptr error;  ///< why it could not be counted; null when it was
  };
  /// Counts one input file and its form; errors are kept in the outcome, not thrown.
  FileOutcome CountInput(const std::string& fileName);
  /// Adds one counted input file to Record: totals, its form when it has one; a failed one
  /// becomes a skipped row with KeepGoing, else its error is thrown.
  void AddOutcome(const std::string& fileName, FileOutcome outcome);
  /// Adds one counted input file to Record, with the form that CountForm finds.
  void AddFile(const std::string& fileName, bool found, const TLineCounts& counts);
  /// Starts a new Record for the run.
  void BeginRecord();

  /// Takes the next input name into CurrentFile.
  void NextFile();
  /// True while NextFile gave a name.
  bool HasFile() const;

  /// Counts the form file of an input file into counts; false when it has none (see
  /// CountFormFile).
  virtual bool CountForm(const std::string& fileName, TFormCounts& counts);

 private:
  void OpenInput();
  void CloseInput();
  /// Counts every input file, one after the other, into Record.
  void CountInOrder();
  /// Counts every input file, Jobs at a time, and adds them to Record in the inputs' order.
  void CountInParallel(unsigned jobs);
  /// CountForm with the form file's name into formName: the .dfm form, else (LazarusForms)
  /// the .lfm one.
  bool CountFormNamed(const std::string& fileName, TFormCounts& counts, std::string& formName);

  // Input state of one run (list file lines, the wildcard listing or the names).
  std::unique_ptr<InputFile> listFile_;    // the list file being read, line by line
  std::unique_ptr<LineReader> listLines_;  // its lines
  std::string listLine_;
  std::unique_ptr<NewFile> scratch_;  // the scratch file this run wrote last
  std::string formName_;              // the form file CountForm found last
  bool firstSearch_ = true;
  std::vector<std::string> matches_;
  size_t matchPos_ = 0;
  size_t namePos_ = 0;
  bool haveName_ = false;
  int searchResult_ = -1;
};

}  // namespace ravelin
