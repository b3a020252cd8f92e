// The line classifier: every line of a text as blank, comment, source or commented source.
#include "linecount/LineClassifier.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "common/Checked.h"
#include "common/Error.h"
#include "common/TextLines.h"
#include "common/VornString.h"

namespace ravelin {

void AddLineCounts(const TLineCounts& src, TLineCounts& dst) {
  CheckedAdd(dst.Total, src.Total);
  CheckedAdd(dst.Blank, src.Blank);
  CheckedAdd(dst.Source, src.Source);
  CheckedAdd(dst.Commented, src.Commented);
  CheckedAdd(dst.Comment, src.Comment);
}

// The rules, step by step, read a line as its visible characters (codes 33 and above) only,
// with the bubbles removed, and scan that. Counting by copy (the plain path) does exactly so:
// the visible characters go into a scratch buffer, the bubbles are removed from it, and it is
// scanned. A text is counted by a direct scan of its lines where they stand (the fast path,
// below), which gives the same counts without copying; the lines that hold a bubble are handed
// to counting by copy.

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

/// Adds a classified line that held visible characters to counts.
void TallyLine(bool commentSeen, bool sourceSeen, TLineCounts& counts) {
  if (commentSeen) CheckedInc(sourceSeen ? counts.Commented : counts.Comment);
  if (sourceSeen) CheckedInc(counts.Source);
}

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

/// The visible characters of one line being scanned by the rules: where the scan stands, the
/// comment state it carries, and what it has met.
class VisibleLine {
 public:
  VisibleLine(const char* start, const char* end, ScanState& state)
      : p_(start), end_(end), state_(state) {}

  bool commentSeen = false;  ///< a comment (or part of one) lies on the line
  bool sourceSeen = false;   ///< program text lies on the line

  /// Scans the line to its end.
  void Scan() {
    // A comment open from the lines before continues as if it opened at the line's start.
    if (state_ == ScanState::InBrace) {
      commentSeen = true;
      SkipBraceComment(p_);
    } else if (state_ == ScanState::InParenStar) {
      commentSeen = true;
      SkipParenStarComment(p_);
    }
    while (p_ < end_) {
      switch (*p_) {
        case '\'':
          SkipLiteral();
          break;
        case '(':
          OpenParen();
          break;
        case '/':
          Slash();
          break;
        case '{':
          commentSeen = true;
          SkipBraceComment(p_ + 1);
          break;
        default:
          ProgramText();
          break;
      }
    }
  }

 private:
  /// Inside a "{" comment from `from` on: past its "}", or to the line's end with it open.
  void SkipBraceComment(const char* from) {
    state_ = ScanState::InBrace;
    p_ = FindChar(from, end_, '}');
    if (p_ < end_) {
      ++p_;
      state_ = ScanState::InCode;
    }
  }
  /// Inside a "(*" comment from `from` on: past its "*)", or to the line's end with it open.
  void SkipParenStarComment(const char* from) {
    state_ = ScanState::InParenStar;
    p_ = FindParenStarClose(from, end_);
    if (p_ < end_) {
      p_ += 2;
      state_ = ScanState::InCode;
    }
  }
  /// A string literal: a doubled apostrophe stays inside it; it ends at the line's end.
  void SkipLiteral() {
    sourceSeen = true;
    state_ = ScanState::InCode;
    ++p_;
    while (p_ < end_) {
      p_ = FindChar(p_, end_, '\'');
      if (p_ == end_) break;
      if (p_ + 1 < end_ && p_[1] == '\'') {
        p_ += 2;
      } else {
        ++p_;
        break;
      }
    }
  }
  /// "(*" opens a comment; a lone "(" is neither program text nor comment.
  void OpenParen() {
    state_ = ScanState::InCode;
    if (p_ + 1 < end_ && p_[1] == '*') {
      commentSeen = true;
      SkipParenStarComment(p_ + 2);
    } else {
      ++p_;
    }
  }
  /// "//" comments out the rest of the line; a lone "/" is neither program text nor comment.
  void Slash() {
    state_ = ScanState::InCode;
    if (p_ + 1 < end_ && p_[1] == '/') {
      commentSeen = true;
      p_ = end_;
    } else {
      ++p_;
    }
  }
  /// Program text: the whole run up to the next character that means more.
  void ProgramText() {
    sourceSeen = true;
    state_ = ScanState::InCode;
    ++p_;
    while (p_ < end_ && !kStopsProgramText[static_cast<unsigned char>(*p_)]) ++p_;
  }

  const char* p_;
  const char* const end_;
  ScanState& state_;
};

/// Counts one line, given as its visible characters [start, top) (nothing when the line was
/// empty or held only blanks and control characters). Total is counted by the caller.
void CountVisibleLine(char* start, char* top, ScanState& state, TLineCounts& counts) {
  if (top == start) {
    // An empty line: blank outside comments, a comment line inside one.
    CheckedInc(state == ScanState::InCode ? counts.Blank : counts.Comment);
    return;
  }
  top = RemoveBubbles(start, top);
  VisibleLine line(start, top, state);
  line.Scan();
  TallyLine(line.commentSeen, line.sourceSeen, counts);
}

/// Counts one line by the rules taken step by step: its visible characters copied into buf
/// (grown as needed, never beyond kLineBufferSize), the bubbles removed, the copy scanned.
void CountLineByCopy(std::string_view line, ScanState& state, TLineCounts& counts,
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
// Once a line holds program text, a lone "(" changes nothing: the scan stops at a star and
// looks back for the "(" that makes it a comment's start.
constexpr StopSet<'\r', '\n', '}', '{', '\'', '*', '/'> kInCodeStops;

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

/// True when the visible character before position q of the line is c.
inline bool FollowsVisible(const char* lineStart, const char* q, char c) {
  while (q > lineStart && KindOf(q[-1]) == kBlankChar) --q;
  return q > lineStart && q[-1] == c;
}
/// True when the visible character before position q of the line is a "{".
inline bool FollowsOpenBrace(const char* lineStart, const char* q) {
  return FollowsVisible(lineStart, q, '{');
}

/// What the direct scan found in one line.
struct LineScan {
  const char* lineEnd = nullptr;  ///< the line's end; nullptr when the line holds a bubble
  bool commentSeen = false;
  bool sourceSeen = false;
  bool visibleSeen = false;  ///< a visible character was met outside comments
};

/// The direct scan of the line that starts at lineStart (the text ends at end). Each step that
/// meets a bubble returns false; the line is then counted by copy instead.
class DirectScan {
 public:
  DirectScan(const char* lineStart, const char* end, ScanState& state)
      : lineStart_(lineStart), end_(end), p_(lineStart), state_(state) {}

  /// Scans the line from the state it starts in (see above).
  LineScan Run() {
    if (state_ == ScanState::InBrace && !ContinueBraceComment()) return Bubble();
    if (state_ == ScanState::InParenStar && !ContinueParenStarComment()) return Bubble();
    for (;;) {
      ProgramTextAndBlanks();
      if (p_ == end_) break;
      bool noBubble = true;
      switch (KindOf(*p_)) {
        case kLineEndChar:
          scan_.lineEnd = p_;
          return scan_;
        case kApostrophe:
          noBubble = Literal();
          break;
        case kOpenParen:
          noBubble = OpenParen();
          break;
        case kSlash:
          Slash();
          break;
        case kOpenBrace:
          noBubble = OpenBrace();
          break;
        case kCloseBrace:
          if (FollowsOpenBrace(lineStart_, p_)) return Bubble();
          ProgramCharacter();
          break;
        case kStar:
          // Met by the search through program text: after a "(" it starts a comment.
          if (FollowsVisible(lineStart_, p_, '(')) {
            state_ = ScanState::InParenStar;
            ++p_;
            noBubble = ContinueParenStarComment();
          } else {
            ProgramCharacter();
          }
          break;
        default:  // a closing parenthesis outside comments is program text
          ProgramCharacter();
          break;
      }
      if (!noBubble) return Bubble();
    }
    scan_.lineEnd = end_;
    return scan_;
  }

 private:
  LineScan Bubble() {
    scan_.lineEnd = nullptr;
    return scan_;
  }
  /// True when p_ stands at the line's end (or the text's).
  bool AtLineEnd() const { return p_ == end_ || KindOf(*p_) == kLineEndChar; }

  /// One character of program text.
  void ProgramCharacter() {
    scan_.sourceSeen = true;
    scan_.visibleSeen = true;
    state_ = ScanState::InCode;
    ++p_;
  }
  /// Program text and blanks up to the next character that means more. Until the line's first
  /// program text is met, blanks are told apart from it; after that they need not be.
  void ProgramTextAndBlanks() {
    if (!scan_.sourceSeen) {
      while (p_ < end_ && KindOf(*p_) == kBlankChar) ++p_;
      if (p_ < end_ && KindOf(*p_) == kPlainChar) ProgramCharacter();
    }
    if (scan_.sourceSeen) p_ = SkipTo(p_, end_, kInCodeStops);
  }
  /// Inside a "{" comment: looks for its end. False when the line holds a bubble; p_ is then
  /// after the comment's end (state InCode) or at the line's end.
  bool ContinueBraceComment() {
    scan_.commentSeen = true;
    p_ = SkipTo(p_, end_, kInBraceStops);
    if (AtLineEnd()) return true;
    if (FollowsOpenBrace(lineStart_, p_)) return false;
    ++p_;
    state_ = ScanState::InCode;
    return true;
  }
  /// Inside a "(*" comment: looks for its end, as ContinueBraceComment does.
  bool ContinueParenStarComment() {
    scan_.commentSeen = true;
    for (;;) {
      p_ = SkipTo(p_, end_, kInParenStarStops);
      if (AtLineEnd()) return true;
      if (*p_ == '}') {
        if (FollowsOpenBrace(lineStart_, p_)) return false;
        ++p_;
        continue;
      }
      const char* next = NextVisible(p_ + 1, end_);  // *p_ is a star
      if (next < end_ && *next == ')') {
        p_ = next + 1;
        state_ = ScanState::InCode;
        return true;
      }
      ++p_;
    }
  }
  /// A string literal: a doubled apostrophe stays inside it; it ends at the line's end.
  bool Literal() {
    ProgramCharacter();
    for (;;) {
      p_ = SkipTo(p_, end_, kInLiteralStops);
      if (AtLineEnd()) return true;
      if (*p_ == '}') {
        if (FollowsOpenBrace(lineStart_, p_)) return false;
        ++p_;
        continue;
      }
      const char* next = NextVisible(p_ + 1, end_);
      if (next < end_ && *next == '\'') {
        p_ = next + 1;
      } else {
        ++p_;
        return true;
      }
    }
  }
  /// "(*" opens a comment; a lone "(" is neither program text nor comment.
  bool OpenParen() {
    scan_.visibleSeen = true;
    state_ = ScanState::InCode;
    const char* next = NextVisible(p_ + 1, end_);
    if (next < end_ && *next == '*') {
      state_ = ScanState::InParenStar;
      p_ = next + 1;
      return ContinueParenStarComment();
    }
    ++p_;
    return true;
  }
  /// "//" comments out the rest of the line; a lone "/" is neither program text nor comment.
  void Slash() {
    scan_.visibleSeen = true;
    state_ = ScanState::InCode;
    const char* next = NextVisible(p_ + 1, end_);
    if (next < end_ && *next == '/') {
      scan_.commentSeen = true;
      p_ = SkipTo(next + 1, end_, kLineEndStops);
    } else {
      ++p_;
    }
  }
  /// "{" opens a comment, unless "}" is the next visible character: a bubble.
  bool OpenBrace() {
    scan_.visibleSeen = true;
    const char* next = NextVisible(p_ + 1, end_);
    if (next < end_ && *next == '}') return false;
    state_ = ScanState::InBrace;
    ++p_;
    return ContinueBraceComment();
  }

  const char* const lineStart_;
  const char* const end_;
  const char* p_;
  ScanState& state_;
  LineScan scan_;
};

}  // namespace

void ClassifyLine(std::string_view line, ScanState& state, TLineCounts& counts) {
  CheckedInc(counts.Total);
  std::string buf;
  CountLineByCopy(line, state, counts, buf);
}

void ClassifyText(std::string_view text, TLineCounts& counts) {
  counts = TLineCounts{};
  ScanState state = ScanState::InCode;
  std::string buf;  // for the lines counted by copy

  // The fast path. It must give exactly the counts of the plain path (CountLineByCopy on every
  // line, which is ClassifyLine) and of the rules as the classifier test's reference takes them
  // literally; a change here is a change to all three, checked by that test's random texts.
  // Lines end at CR LF, CR or LF; a Ctrl-Z ends the text; a last line without a line end
  // counts when it is not empty (the rules of ForEachLine, applied while scanning).
  text = CutAtCtrlZ(text);
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    CheckedInc(counts.Total);
    const ScanState before = state;
    const LineScan scan = DirectScan(p, end, state).Run();
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
    } else if (scan.commentSeen || scan.sourceSeen) {
      TallyLine(scan.commentSeen, scan.sourceSeen, counts);
    } else if (!scan.visibleSeen && before == ScanState::InCode) {
      CheckedInc(counts.Blank);  // an empty line outside comments
    }

    p = lineEnd;
    if (p == end) break;
    if (*p == '\r' && p + 1 < end && p[1] == '\n') ++p;
    ++p;
  }
}

}  // namespace ravelin
