// The line counter (called Tallion in its reports): classifies every line of Pascal source
// files, counts the forms that belong to them and builds the line count and form reports as
// text in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

/// The five counters of one file or of a whole run.
struct TLineCounts {
  std::int32_t Total = 0;  ///< every line read
  std::int32_t Blank = 0;  ///< empty lines (or only blanks and control characters) outside comments
  std::int32_t Source = 0;     ///< lines that hold program text
  std::int32_t Commented = 0;  ///< lines that hold program text and a comment (also in Source)
  std::int32_t Comment = 0;  ///< lines with a comment and no program text; empty lines in a comment

  friend bool operator==(const TLineCounts&, const TLineCounts&) = default;
};

/// The three counters of one form file or of all forms of a run.
struct TFormCounts {
  std::int32_t Objects = 0;  ///< lines of the textual form whose first word is "object"
  std::int32_t Size = 0;     ///< size of the form file in bytes, as stored
  std::int32_t Lines = 0;    ///< all lines of the textual form
};

/// Where the classifier stands between two lines of one file.
enum class TScanState : std::uint8_t {
  InCode,       ///< no comment is open
  InBrace,      ///< a comment opened with "{" is open
  InParenStar,  ///< a comment opened with "(*" is open
};

/// A line holding this many visible characters (codes 33 and above) or more is out of range.
inline constexpr std::int64_t kMaxVisibleLineLength = 65535;

/// The textual form of a binary form may be at most this many times the form's size...
inline constexpr std::uint64_t kFormTextFactor = 256;
/// ... and never more than this many bytes (1 GiB); a form whose text would pass either limit
/// ends the run.
inline constexpr std::uint64_t kMaxFormTextSize = std::uint64_t{1} << 30;

class LineReader;
class InputFile;
class NewFile;

/// Adds each counter of src to the same counter of dst; overflow throws OverflowError.
void AddLineCounts(const TLineCounts& src, TLineCounts& dst);
/// Adds each counter of src to the same counter of dst; overflow throws OverflowError.
void AddFormCounts(const TFormCounts& src, TFormCounts& dst);

/// Classifies one line (without its line end) into counts, carrying state to the next line.
/// Throws OverflowError for 65,535 or more visible characters or a counter overflow.
void ClassifyLine(std::string_view line, TScanState& state, TLineCounts& counts);
/// Sets counts to zero and classifies every line of one whole text (a file's content): lines
/// end at CR LF, CR or LF, and a Ctrl-Z ends the text. Throws as ClassifyLine does.
void ClassifyText(std::string_view text, TLineCounts& counts);

/// The directory named by the last "PATH: " line of a detailed report; outlives engines.
/// "A:\" at program start.
extern std::string LastReportPath;

/// Percentage of count against base, rounded to the nearest whole number with an exact half
/// going to the even neighbour; count must not be negative and base must be above 0.
std::int64_t RoundedPercent(std::int64_t count, std::int64_t base);

/// One run of the line counter over a list file or a wildcard pattern.
class TLcntEngine {
 public:
  TLcntEngine();
  virtual ~TLcntEngine();
  TLcntEngine(const TLcntEngine&) = delete;
  TLcntEngine& operator=(const TLcntEngine&) = delete;

  bool Detailed = false;     ///< a row per file when true, a summary when false
  bool UseListFile = false;  ///< the input is a list file when true, a wildcard pattern when false
  /// When set, a list-file run reads its lines from this text instead of opening FileSpec
  /// (the names of a command line, counted exactly as a list file holding them would be).
  std::optional<std::string> ListText;
  std::uint16_t FileCount = 0;         ///< files processed in the run
  std::uint16_t FormCount = 0;         ///< forms counted in the run
  std::vector<std::string> Lines;      ///< the report text
  std::vector<std::string> FormLines;  ///< the form report text, appended to Lines at the end
  TLineCounts Totals;                  ///< the counts of all files of the run
  TFormCounts FormTotals;              ///< the counts of all forms of the run
  std::string SpecPath;                ///< folder part of FileSpec
  std::string FileSpec;                ///< the list file name or the wildcard pattern
  std::string CurrentFile;             ///< the file being processed

  /// Sets the input: a ".DFM" extension becomes ".pas"; FileSpec, CurrentFile, SpecPath.
  void SetFileSpec(std::string_view name);
  /// Runs the count; true when the run went through. Errors (IoError, OverflowError,
  /// StreamError, LimitError) are thrown to the caller, Lines is then incomplete and the
  /// scratch file that the run wrote is removed again.
  bool Execute();
  /// Counts one file into counts (zeroed first); appends the "not found" line to Lines when
  /// the file cannot be opened. Errors name the file.
  void CountFile(const std::string& fileName, TLineCounts& counts);

  /// Starts the report of a run: the banner, the headers of a detailed run, zero totals.
  void BeginReport();
  /// Adds one counted input file to the run: totals, its form, its rows in a detailed run.
  void AddFileToReport(const std::string& fileName, const TLineCounts& counts);
  /// Ends the report of a run: totals or summary, the form report when there were forms.
  void EndReport();

  /// Takes the next input name into CurrentFile.
  void NextFile();
  /// True while NextFile gave a name.
  bool HasFile() const;

  // Form counting: the form that belongs to an input file, and the form report.
  /// Counts the form file of an input file into counts; false when it has none. A binary
  /// form's textual form replaces the scratch file "Tallion.TXT" in the current folder.
  virtual bool CountForm(const std::string& fileName, TFormCounts& counts);
  /// Counts the lines and "object" lines of a text file into counts.
  void CountFormText(const std::string& fileName, TFormCounts& counts);
  /// Appends the forms detailed report's header to FormLines.
  void WriteFormHeader();
  /// Appends the forms report's separator line to FormLines.
  void WriteFormSeparator();
  /// Appends the row of one form to FormLines.
  void WriteFormRow(const std::string& name, const TFormCounts& counts);
  /// Appends the separator, the TOTAL row and the forms processed line to FormLines.
  void WriteFormTotals();
  /// Appends the form count summary report to FormLines.
  void WriteFormSummary();

  // Line count report pieces.
  /// Appends the eight banner lines to Lines.
  void WriteBanner();
  /// Appends the detailed report's title, column heads and separator to Lines.
  void WriteDetailHeader();
  /// Appends the detailed report's separator line to Lines.
  void WriteDetailSeparator();
  /// Appends the row of one file (after a "PATH: " line when its folder changed) to Lines.
  void WriteDetailRow(const std::string& name, const TLineCounts& counts);
  /// Appends the separator, the TOTAL row, the files processed line and the %S note to Lines.
  void WriteDetailTotals();
  /// Appends the summary report to Lines.
  void WriteSummary();

 private:
  // Input state of one run (list file lines or the wildcard listing).
  std::unique_ptr<InputFile> listFile_;    // the list file being read, line by line
  std::unique_ptr<LineReader> listLines_;  // its lines, or those of ListText
  std::string listLine_;
  std::unique_ptr<NewFile> scratch_;  // the scratch file this run wrote last
  bool firstSearch_ = true;
  std::vector<std::string> matches_;
  size_t matchPos_ = 0;
  int searchResult_ = -1;
};

}  // namespace ravelin
