// The line counter: the line classifier, the run over the input files and the line count
// reports.
#include "linecount/LCntEngn.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "common/Checked.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"
#include "platform/FileSys.h"

namespace ravelin {

std::string LastReportPath = "A:\\";

// ---------------------------------------------------------------------------------------------
// Counters and percentages

void AddLineCounts(const TLineCounts& src, TLineCounts& dst) {
  CheckedAdd(dst.Total, src.Total);
  CheckedAdd(dst.Blank, src.Blank);
  CheckedAdd(dst.Source, src.Source);
  CheckedAdd(dst.Commented, src.Commented);
  CheckedAdd(dst.Comment, src.Comment);
}

std::int64_t RoundedPercent(std::int64_t count, std::int64_t base) {
  // Exact: count * 100 / base as quotient and remainder, an exact half to the even neighbour.
  const std::int64_t scaled = count * 100;
  std::int64_t quotient = scaled / base;
  const std::int64_t twiceRest = (scaled % base) * 2;
  if (twiceRest > base || (twiceRest == base && quotient % 2 != 0)) ++quotient;
  return quotient;
}

// ---------------------------------------------------------------------------------------------
// The line classifier
//
// The rules, step by step, read a line as its visible characters (codes 33 and above) only,
// with the bubbles removed, and scan that. Counting by copy does exactly so: the visible
// characters go into a scratch buffer, the bubbles are removed from it, and it is scanned.
// A text is counted by a direct scan of its lines where they stand (below), which gives the
// same counts without copying; the lines that hold a bubble are handed to counting by copy.

namespace {

inline bool IsVisible(char c) {
  return static_cast<unsigned char>(c) >= 33;
}

/// Room for the visible characters of the longest line in range.
constexpr size_t kLineBufferSize = static_cast<size_t>(kMaxVisibleLineLength);

[[noreturn]] void ThrowLineTooLong(std::int32_t lineNumber) {
  throw OverflowError("Integer overflow: line " + IntToText(lineNumber) +
                      " holds 65,535 or more visible characters");
}

/// Position of the first c in [p, end), or end.
inline const char* FindChar(const char* p, const char* end, char c) {
  const void* hit = std::memchr(p, c, static_cast<size_t>(end - p));
  return hit ? static_cast<const char*>(hit) : end;
}

/// Position of the first "*)" in [p, end), or end.
inline const char* FindParenStarClose(const char* p, const char* end) {
  while (p < end) {
    const char* star = FindChar(p, end, '*');
    if (star == end) return end;
    if (star + 1 < end && star[1] == ')') return star;
    p = star + 1;
  }
  return end;
}

/// True for the characters that end a run of program text in a line without blanks.
constexpr std::array<bool, 256> MakeStopTable() {
  std::array<bool, 256> table{};
  table[static_cast<unsigned char>('\'')] = true;
  table[static_cast<unsigned char>('(')] = true;
  table[static_cast<unsigned char>('/')] = true;
  table[static_cast<unsigned char>('{')] = true;
  return table;
}
constexpr std::array<bool, 256> kStopsProgramText = MakeStopTable();

/// Removes the bubbles from [start, top) in place and returns the new top. From the first "{}"
/// on, one pass with a stack: a "}" that meets a kept "{" right before it cancels it, which
/// leaves exactly what deleting "{}" again and again from the start of the line would leave,
/// in time linear in the line's length.
char* RemoveBubbles(char* start, char* top) {
  const size_t first = std::string_view(start, static_cast<size_t>(top - start)).find("{}");
  if (first == std::string_view::npos) return top;
  char* out = start + first;
  for (const char* in = out; in < top; ++in) {
    if (*in == '}' && out != start && out[-1] == '{') {
      --out;
    } else {
      *out++ = *in;
    }
  }
  return out;
}

/// Counts one line, given as its visible characters [start, top) (nothing when the line was
/// empty or held only blanks and control characters). Total is counted by the caller.
void CountVisibleLine(char* start, char* top, TScanState& state, TLineCounts& counts) {
  if (top == start) {
    // An empty line: blank outside comments, a comment line inside one.
    if (state == TScanState::InCode) {
      CheckedInc(counts.Blank);
    } else {
      CheckedInc(counts.Comment);
    }
    return;
  }
  top = RemoveBubbles(start, top);

  bool commentSeen = false;
  bool sourceSeen = false;
  const char* p = start;
  const char* const end = top;

  // A comment open from the lines before continues as if it opened at the line's start.
  if (state == TScanState::InBrace) {
    commentSeen = true;
    p = FindChar(p, end, '}');
    if (p < end) {
      ++p;
      state = TScanState::InCode;
    }
  } else if (state == TScanState::InParenStar) {
    commentSeen = true;
    p = FindParenStarClose(p, end);
    if (p < end) {
      p += 2;
      state = TScanState::InCode;
    }
  }

  while (p < end) {
    switch (*p) {
      case '\'':
        // A string literal: a doubled apostrophe stays inside it; it ends at the line's end.
        sourceSeen = true;
        state = TScanState::InCode;
        ++p;
        while (p < end) {
          p = FindChar(p, end, '\'');
          if (p == end) break;
          if (p + 1 < end && p[1] == '\'') {
            p += 2;
          } else {
            ++p;
            break;
          }
        }
        break;
      case '(':
        state = TScanState::InCode;
        if (p + 1 < end && p[1] == '*') {
          commentSeen = true;
          state = TScanState::InParenStar;
          p = FindParenStarClose(p + 2, end);
          if (p < end) {
            p += 2;
            state = TScanState::InCode;
          }
        } else {
          ++p;  // a lone "(" is neither program text nor comment
        }
        break;
      case '/':
        state = TScanState::InCode;
        if (p + 1 < end && p[1] == '/') {
          commentSeen = true;
          p = end;
        } else {
          ++p;  // a lone "/" is neither program text nor comment
        }
        break;
      case '{':
        commentSeen = true;
        state = TScanState::InBrace;
        p = FindChar(p + 1, end, '}');
        if (p < end) {
          ++p;
          state = TScanState::InCode;
        }
        break;
      default:
        // Program text: take the whole run up to the next character that means more.
        sourceSeen = true;
        state = TScanState::InCode;
        ++p;
        while (p < end && !kStopsProgramText[static_cast<unsigned char>(*p)]) ++p;
        break;
    }
  }

  if (commentSeen) {
    if (sourceSeen) {
      CheckedInc(counts.Commented);
    } else {
      CheckedInc(counts.Comment);
    }
  }
  if (sourceSeen) CheckedInc(counts.Source);
}

/// Counts one line by the rules taken step by step: its visible characters copied into buf
/// (grown as needed, never beyond kLineBufferSize), the bubbles removed, the copy scanned.
void CountLineByCopy(std::string_view line, TScanState& state, TLineCounts& counts,
                     std::string& buf) {
  const size_t room = std::min(line.size(), kLineBufferSize);
  if (buf.size() < room) buf.resize(room);
  char* const start = buf.data();
  char* const limit = start + room;  // a further visible character means a line out of range
  char* top = start;
  for (char c : line) {
    if (!IsVisible(c)) continue;
    if (top == limit) ThrowLineTooLong(counts.Total);
    *top++ = c;
  }
  CountVisibleLine(start, top, state, counts);
}

// The direct scan of a line. It reads the line where it stands, without copying it: blanks and
// control characters are stepped over where the rules look at the next character ("(" and "*",
// "/" and "/", "*" and ")", two apostrophes), and are no program text. Bubbles are what it
// does not handle: every "}" it passes is checked, and when the visible character before it is a
// "{" the line holds a bubble and is counted by copy instead. Every "}" up to the point where
// the line's outcome is settled is passed, so a bubble that could change the outcome is found.

/// What a character means to the direct scan.
enum CharKind : std::uint8_t {
  kBlankChar,  ///< a code below 33 other than CR and LF
  kPlainChar,  ///< a visible character with no meaning of its own to the scan
  kLineEndChar,
  kApostrophe,
  kOpenParen,
  kSlash,
  kOpenBrace,
  kCloseBrace,
  kStar,
  kCloseParen,
};

constexpr std::array<CharKind, 256> MakeKindTable() {
  std::array<CharKind, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = c < 33 ? kBlankChar : kPlainChar;
  table['\r'] = kLineEndChar;
  table['\n'] = kLineEndChar;
  table['\''] = kApostrophe;
  table['('] = kOpenParen;
  table['/'] = kSlash;
  table['{'] = kOpenBrace;
  table['}'] = kCloseBrace;
  table['*'] = kStar;
  table[')'] = kCloseParen;
  return table;
}
constexpr std::array<CharKind, 256> kKind = MakeKindTable();

inline CharKind KindOf(char c) {
  return kKind[static_cast<unsigned char>(c)];
}

/// A set of characters that stop a search.
template <char... Stops>
struct StopSet {
  static constexpr std::array<bool, 256> MakeTable() {
    std::array<bool, 256> table{};
    ((table[static_cast<unsigned char>(Stops)] = true), ...);
    return table;
  }
  static constexpr std::array<bool, 256> kTable = MakeTable();
};
constexpr StopSet<'\r', '\n', '}'> kInBraceStops;
constexpr StopSet<'\r', '\n', '}', '*'> kInParenStarStops;
constexpr StopSet<'\r', '\n', '}', '\''> kInLiteralStops;
constexpr StopSet<'\r', '\n'> kLineEndStops;
constexpr StopSet<'\r', '\n', '}', '{', '\'', '(', '/'> kInCodeStops;

// Where the compiler offers vectors of bytes, searches look at sixteen bytes at a time.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__BYTE_ORDER__) && \
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define RAVELIN_SIXTEEN_BYTE_SEARCH 1
typedef unsigned char SixteenBytes __attribute__((vector_size(16)));
#endif

/// The first position in [p, end) holding a character of the set, or end.
template <char... Stops>
inline const char* SkipTo(const char* p, const char* end, StopSet<Stops...>) {
#ifdef RAVELIN_SIXTEEN_BYTE_SEARCH
  while (end - p >= 16) {
    SixteenBytes block;
    std::memcpy(&block, p, sizeof block);
    const auto hits = ((block == static_cast<unsigned char>(Stops)) | ...);
    std::uint64_t low, high;
    std::memcpy(&low, &hits, 8);
    std::memcpy(&high, reinterpret_cast<const char*>(&hits) + 8, 8);
    if (low != 0) return p + __builtin_ctzll(low) / 8;
    if (high != 0) return p + 8 + __builtin_ctzll(high) / 8;
    p += 16;
  }
#endif
  const auto& stops = StopSet<Stops...>::kTable;
  while (p < end && !stops[static_cast<unsigned char>(*p)]) ++p;
  return p;
}

/// The first position in [p, end) that is not a blank or control character (a line end stops
/// it too), or end.
inline const char* NextVisible(const char* p, const char* end) {
  while (p < end && KindOf(*p) == kBlankChar) ++p;
  return p;
}

/// True when the visible character before position q of the line is a "{".
inline bool FollowsOpenBrace(const char* lineStart, const char* q) {
  while (q > lineStart && KindOf(q[-1]) == kBlankChar) --q;
  return q > lineStart && q[-1] == '{';
}

/// What the direct scan found in one line.
struct LineScan {
  const char* lineEnd = nullptr;  ///< the line's end; nullptr when the line holds a bubble
  bool commentSeen = false;
  bool sourceSeen = false;
  bool visibleSeen = false;  ///< a visible character was met outside comments
};

/// Scans the line that starts at p (the text ends at end) from state; see above.
LineScan ScanLine(const char* const lineStart, const char* const end, TScanState& state) {
  LineScan scan;
  const char* p = lineStart;
  const auto bubble = [&scan]() {
    scan.lineEnd = nullptr;
    return scan;
  };

  // Inside a comment: looks for its end. Returns false when the line holds a bubble; p then is
  // either after the comment's end (state InCode) or at the line's end.
  const auto continueComment = [&]() -> bool {
    scan.commentSeen = true;
    if (state == TScanState::InBrace) {
      p = SkipTo(p, end, kInBraceStops);
      if (p == end || KindOf(*p) == kLineEndChar) return true;
      if (FollowsOpenBrace(lineStart, p)) return false;
      ++p;
      state = TScanState::InCode;
      return true;
    }
    for (;;) {
      p = SkipTo(p, end, kInParenStarStops);
      if (p == end || KindOf(*p) == kLineEndChar) return true;
      if (*p == '}') {
        if (FollowsOpenBrace(lineStart, p)) return false;
        ++p;
        continue;
      }
      const char* next = NextVisible(p + 1, end);  // *p is a star
      if (next < end && *next == ')') {
        p = next + 1;
        state = TScanState::InCode;
        return true;
      }
      p = p + 1;
    }
  };

  if (state != TScanState::InCode && !continueComment()) return bubble();

  for (;;) {
    // Program text and blanks up to the next character that means more. Until the line's
    // first program text is met, blanks are told apart from it; after that they need not be.
    if (!scan.sourceSeen) {
      while (p < end && KindOf(*p) == kBlankChar) ++p;
      if (p < end && KindOf(*p) == kPlainChar) {
        scan.sourceSeen = true;
        scan.visibleSeen = true;
        state = TScanState::InCode;
        ++p;
      }
    }
    if (scan.sourceSeen) p = SkipTo(p, end, kInCodeStops);
    if (p == end) break;
    switch (KindOf(*p)) {
      case kLineEndChar:
        scan.lineEnd = p;
        return scan;
      case kApostrophe:
        // A string literal: a doubled apostrophe stays inside it; it ends at the line's end.
        scan.sourceSeen = true;
        scan.visibleSeen = true;
        state = TScanState::InCode;
        ++p;
        for (;;) {
          p = SkipTo(p, end, kInLiteralStops);
          if (p == end || KindOf(*p) == kLineEndChar) break;
          if (*p == '}') {
            if (FollowsOpenBrace(lineStart, p)) return bubble();
            ++p;
            continue;
          }
          const char* next = NextVisible(p + 1, end);
          if (next < end && *next == '\'') {
            p = next + 1;
          } else {
            ++p;
            break;
          }
        }
        break;
      case kOpenParen: {
        scan.visibleSeen = true;
        state = TScanState::InCode;
        const char* next = NextVisible(p + 1, end);
        if (next < end && *next == '*') {
          state = TScanState::InParenStar;
          p = next + 1;
          if (!continueComment()) return bubble();
        } else {
          ++p;  // a lone "(" is neither program text nor comment
        }
        break;
      }
      case kSlash: {
        scan.visibleSeen = true;
        state = TScanState::InCode;
        const char* next = NextVisible(p + 1, end);
        if (next < end && *next == '/') {
          scan.commentSeen = true;
          p = SkipTo(next + 1, end, kLineEndStops);
        } else {
          ++p;  // a lone "/" is neither program text nor comment
        }
        break;
      }
      case kOpenBrace: {
        scan.visibleSeen = true;
        const char* next = NextVisible(p + 1, end);
        if (next < end && *next == '}') return bubble();
        state = TScanState::InBrace;
        p = p + 1;
        if (!continueComment()) return bubble();
        break;
      }
      case kCloseBrace:
        if (FollowsOpenBrace(lineStart, p)) return bubble();
        scan.sourceSeen = true;
        scan.visibleSeen = true;
        state = TScanState::InCode;
        ++p;
        break;
      default:  // a star or a closing parenthesis outside comments is program text
        scan.sourceSeen = true;
        scan.visibleSeen = true;
        state = TScanState::InCode;
        ++p;
        break;
    }
  }
  scan.lineEnd = end;
  return scan;
}

}  // namespace

void ClassifyLine(std::string_view line, TScanState& state, TLineCounts& counts) {
  CheckedInc(counts.Total);
  std::string buf;
  CountLineByCopy(line, state, counts, buf);
}

void ClassifyText(std::string_view text, TLineCounts& counts) {
  counts = TLineCounts{};
  TScanState state = TScanState::InCode;
  std::string buf;  // for the lines counted by copy

  // Lines end at CR LF, CR or LF; a Ctrl-Z ends the text; a last line without a line end
  // counts when it is not empty (the rules of ForEachLine, applied while scanning).
  text = CutAtCtrlZ(text);
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    CheckedInc(counts.Total);
    const TScanState before = state;
    const LineScan scan = ScanLine(p, end, state);
    const char* lineEnd = scan.lineEnd;
    if (lineEnd == nullptr) lineEnd = SkipTo(p, end, kLineEndStops);
    const std::string_view line(p, static_cast<size_t>(lineEnd - p));

    // Only a line this long can hold too many visible characters; count them only then.
    if (line.size() >= kLineBufferSize &&
        std::count_if(line.begin(), line.end(), IsVisible) >= kMaxVisibleLineLength) {
      ThrowLineTooLong(counts.Total);
    }

    if (scan.lineEnd == nullptr) {
      // The line holds a bubble: count it by copy, from the state it started in.
      state = before;
      CountLineByCopy(line, state, counts, buf);
    } else if (scan.commentSeen) {
      CheckedInc(scan.sourceSeen ? counts.Commented : counts.Comment);
      if (scan.sourceSeen) CheckedInc(counts.Source);
    } else if (scan.sourceSeen) {
      CheckedInc(counts.Source);
    } else if (!scan.visibleSeen && before == TScanState::InCode) {
      CheckedInc(counts.Blank);  // an empty line outside comments
    }

    p = lineEnd;
    if (p == end) break;
    if (*p == '\r' && p + 1 < end && p[1] == '\n') ++p;
    ++p;
  }
}

// ---------------------------------------------------------------------------------------------
// The engine: input

void TLcntEngine::SetFileSpec(std::string_view name) {
  std::string spec(name);
  if (UpperText(ExtensionOf(spec)) == ".DFM") spec = ChangeExtension(spec, ".pas");
  FileSpec = spec;
  CurrentFile = FileSpec;
  SpecPath = FolderPart(FileSpec);
}

namespace {
/// A list-file line without the blanks and control characters around it. Bytes from 128 up
/// are kept: on this system they are parts of UTF-8 names (Ärger.pas), not noise.
std::string TrimListName(std::string_view line) {
  auto noise = [](char c) { return static_cast<unsigned char>(c) <= 32 || c == 127; };
  size_t begin = 0, end = line.size();
  while (begin < end && noise(line[begin])) ++begin;
  while (end > begin && noise(line[end - 1])) --end;
  return std::string(line.substr(begin, end - begin));
}
}  // namespace

void TLcntEngine::NextFile() {
  if (UseListFile) {
    do {
      if (!listLines_ || !listLines_->Next(listLine_)) {
        CurrentFile.clear();
        listLines_.reset();
        listFile_.reset();
        return;
      }
      CurrentFile = TrimListName(listLine_);
    } while (CurrentFile.empty());
    return;
  }

  if (firstSearch_) {
    // The pattern's folder is listed once; its entries, folders included, in listing order.
    firstSearch_ = false;
    matches_.clear();
    matchPos_ = 0;
    const std::string pattern = NamePart(CurrentFile);
    for (const DirEntry& entry : Fs().ListFolder(Fs().FullPath(SpecPath))) {
      if (WildcardMatch(pattern, entry.name)) matches_.push_back(entry.name);
    }
  }
  if (matchPos_ < matches_.size()) {
    searchResult_ = 0;
    CurrentFile = SpecPath + matches_[matchPos_++];
  } else {
    searchResult_ = -1;
  }
}

bool TLcntEngine::HasFile() const {
  return UseListFile ? !CurrentFile.empty() : searchResult_ == 0;
}

void TLcntEngine::CountFile(const std::string& fileName, TLineCounts& counts) {
  counts = TLineCounts{};
  std::string text;
  if (!Fs().TryReadFile(fileName, text)) {
    Lines.push_back("File \"" + fileName + "\" not found.");
    return;
  }
  try {
    ClassifyText(text, counts);
  } catch (const OverflowError& e) {
    // Name the file: "Integer overflow in "x.pas": line 7 holds ...".
    std::string detail = e.what();
    const std::string head = "Integer overflow";
    if (detail.compare(0, head.size(), head) == 0) detail.erase(0, head.size());
    throw OverflowError(head + " in \"" + fileName + "\"" + detail);
  }
}

// ---------------------------------------------------------------------------------------------
// The engine: one run

TLcntEngine::TLcntEngine() = default;
TLcntEngine::~TLcntEngine() = default;

bool TLcntEngine::Execute() {
  firstSearch_ = true;
  searchResult_ = -1;
  matches_.clear();
  matchPos_ = 0;
  FileCount = 0;
  Fs().ClearCache();
  scratch_.reset();

  // The list is read a line at a time: a list file of any length takes little memory.
  listLines_.reset();
  listFile_.reset();
  if (UseListFile) {
    if (ListText) {
      listLines_ = std::make_unique<LineReader>(*ListText);
    } else {
      OpenedFile opened = Fs().OpenRead(FileSpec, Readable::FileOrPipe);
      if (!opened.file) {
        throw IoError("Cannot open the list file \"" + FileSpec + "\": " + opened.whyNot,
                      opened.whyNot);
      }
      listFile_ = std::move(opened.file);
      listLines_ = std::make_unique<LineReader>(ReadLines(*listFile_));
    }
  }

  try {
    BeginReport();
    NextFile();
    while (HasFile()) {
      const std::string name = CurrentFile;
      TLineCounts counts;
      CountFile(name, counts);
      AddFileToReport(name, counts);
      NextFile();
    }
    EndReport();
  } catch (...) {
    // A failed run leaves no scratch file of its own behind.
    if (scratch_) scratch_->Remove();
    scratch_.reset();
    listLines_.reset();
    listFile_.reset();
    throw;
  }
  scratch_.reset();

  // The wildcard search holds no system resource; forget its listing.
  matches_.clear();
  return true;
}

void TLcntEngine::BeginReport() {
  FileCount = 0;
  Lines.clear();
  WriteBanner();
  FormCount = 0;
  FormLines.clear();
  if (Detailed) {
    WriteDetailHeader();
    WriteFormHeader();
  }
  Totals = TLineCounts{};
  FormTotals = TFormCounts{};
}

void TLcntEngine::AddFileToReport(const std::string& fileName, const TLineCounts& counts) {
  try {
    AddLineCounts(counts, Totals);
    CheckedInc(FileCount);
  } catch (const OverflowError&) {
    throw OverflowError("Integer overflow: the totals or the number of files grew too large at \"" +
                        fileName + "\"");
  }

  TFormCounts formCounts;
  const bool hasForm = CountForm(fileName, formCounts);
  if (hasForm) {
    try {
      AddFormCounts(formCounts, FormTotals);
      CheckedInc(FormCount);
    } catch (const OverflowError&) {
      throw OverflowError(
          "Integer overflow: the form totals or the number of forms grew too large at \"" +
          fileName + "\"");
    }
  }

  if (Detailed) {
    WriteDetailRow(fileName, counts);
    if (hasForm) WriteFormRow(fileName, formCounts);
  }
}

void TLcntEngine::EndReport() {
  if (Detailed) {
    WriteDetailTotals();
    if (FormCount > 0) WriteFormTotals();
  } else {
    WriteSummary();
    if (FormCount > 0) WriteFormSummary();
  }
  Lines.emplace_back();
  if (FormCount > 0) {
    Lines.insert(Lines.end(), FormLines.begin(), FormLines.end());
    FormLines.clear();
  }
}

// ---------------------------------------------------------------------------------------------
// The line count reports

void TLcntEngine::WriteBanner() {
  Lines.push_back("Tallion (Win32 v:0.9)     (c) The Ravelin developers");
  Lines.push_back("  Count the number of blank lines, comment lines, source lines");
  Lines.push_back("  and commented source lines in a Pascal (or Delphi) source file.");
  Lines.emplace_back();
  Lines.push_back("  Note: \"{}\" also called \"bubbles\" are not counted.");
  Lines.push_back("  [A \"bubble\" is an open brace immediately followed by a close");
  Lines.push_back("  brace. They are normally used as spacers for nested routines]");
  Lines.emplace_back();
}

void TLcntEngine::WriteDetailHeader() {
  Lines.push_back("                           Line Count Detailed Report");
  Lines.push_back("                                             all    commented");
  Lines.push_back(PadLeftWith("name", ' ', 14) +
                  "    Blank  %   comment  %    source  %    source   %  %S    total");
  WriteDetailSeparator();
}

void TLcntEngine::WriteDetailSeparator() {
  Lines.push_back(std::string(14, '-') +
                  " -------- --- -------- --- -------- --- -------- --- --- --------");
}

void TLcntEngine::WriteDetailRow(const std::string& name, const TLineCounts& counts) {
  const std::string displayName = NamePart(name);
  const std::string folder = FolderPart(name);
  if (folder != LastReportPath) {
    Lines.push_back("PATH: " + folder);
    LastReportPath = folder;
  }

  std::string row;
  if (displayName.size() > 14) {
    Lines.push_back(displayName);
    row = std::string(14, ' ');
  } else {
    row = PadLeftWith(displayName, ' ', 14);
  }
  row += ' ';
  if (counts.Total > 0) {
    for (std::int32_t value : {counts.Blank, counts.Comment, counts.Source, counts.Commented}) {
      row += IntToStrWidth(value, 8);
      row += ' ';
      row += IntToStrWidth(RoundedPercent(value, counts.Total), 3);
      row += ' ';
    }
  } else {
    for (int i = 0; i < 4; ++i) row += IntToStrWidth(0, 8) + " --- ";
  }
  if (counts.Source > 0) {
    row += IntToStrWidth(RoundedPercent(counts.Commented, counts.Source), 3) + " ";
  } else {
    row += "--- ";
  }
  row += IntToStrWidth(counts.Total, 8);
  Lines.push_back(row);
}

void TLcntEngine::WriteDetailTotals() {
  WriteDetailSeparator();
  WriteDetailRow("TOTAL", Totals);
  Lines.emplace_back();
  Lines.push_back(" " + IntToText(FileCount) + " files processed.");
  Lines.push_back(" %S :: per cent of source lines containing inline comments.");
}

void TLcntEngine::WriteSummary() {
  Lines.emplace_back();
  Lines.push_back("Line Count Summary Report for: ");
  Lines.push_back("    " + FileSpec);
  if (FileCount > 1) {
    Lines.push_back("    (a list file containing " + IntToText(FileCount) + " file names)");
  }
  Lines.push_back("    type of line      count    % of total");
  Lines.push_back("    ------------     ------    ----------");
  if (Totals.Total > 0) {
    auto countLine = [&](const char* label, std::int32_t value) {
      Lines.push_back(std::string(label) + IntToStrWidth(value, 6) + "        " +
                      IntToStrWidth(RoundedPercent(value, Totals.Total), 6));
    };
    countLine("           Blank     ", Totals.Blank);
    countLine("         Comment     ", Totals.Comment);
    countLine("      All Source     ", Totals.Source);
    if (Totals.Source > 0) {
      Lines.push_back("Commented source         ** " + IntToStrWidth(Totals.Commented, 6) + " " +
                      IntToStrWidth(RoundedPercent(Totals.Commented, Totals.Total), 6) + "   (is " +
                      IntToStrWidth(RoundedPercent(Totals.Commented, Totals.Source), 2) +
                      "% of All Source)");
    } else {
      Lines.emplace_back();
    }
  }
  Lines.push_back("                     ======");
  Lines.push_back("     Total lines:    " + IntToStrWidth(Totals.Total, 6));
}

}  // namespace ravelin
