#include "pascal/Vornsymbols.h"

#include <array>
#include <cstring>

namespace ravelin {
namespace {

constexpr std::array<std::string_view, 9> kVaryingNames = {
    "<{...}>",   "<(*...*)>", "<//...>",  "<identifier>",     "<float>",
    "<integer>", "<string>",  "<symbol>", "<formatted-block>"};

constexpr std::array<std::string_view, kLastSymbol - kFirstSymbol + 1> kSymbolNames = {
    "&", ":=", "@",  "[", "]", "^", ":",  ",", "=", ">=", ">", "<=",
    "<", "-",  "<>", "(", ")", "+", "..", "*", ";", ".",  "/"};

constexpr std::array<std::string_view, kLastWord - kFirstWord + 1> kWordNames = {
    // Reserved words, 32-96.
    "AND", "ARRAY", "AS", "ASM", "BEGIN", "CASE", "CLASS", "CONST", "CONSTRUCTOR", "DESTRUCTOR",
    "DISPINTERFACE", "DIV", "DO", "DOWNTO", "ELSE", "END", "EXCEPT", "EXPORTS", "FILE",
    "FINALIZATION", "FINALLY", "FOR", "FUNCTION", "GOTO", "IF", "IMPLEMENTATION", "IN", "INHERITED",
    "INITIALIZATION", "INLINE", "INTERFACE", "IS", "LABEL", "LIBRARY", "MOD", "NIL", "NOT",
    "OBJECT", "OF", "OR", "OUT", "PACKED", "PROCEDURE", "PROGRAM", "PROPERTY", "RAISE", "RECORD",
    "REPEAT", "RESOURCESTRING", "SET", "SHL", "SHR", "STRING", "THEN", "THREADVAR", "TO", "TRY",
    "TYPE", "UNIT", "UNTIL", "USES", "VAR", "WHILE", "WITH", "XOR",
    // Directives, 97-135 (106 has no name).
    "ABSOLUTE", "ABSTRACT", "ASSEMBLER", "AUTOMATED", "CDECL", "CONTAINS", "DEFAULT", "DISPID",
    "DYNAMIC", "", "EXTERNAL", "FAR", "FORWARD", "IMPLEMENTS", "INDEX", "MESSAGE", "NAME", "NEAR",
    "NODEFAULT", "OVERLOAD", "OVERRIDE", "PACKAGE", "PASCAL", "PRIVATE", "PROTECTED", "PUBLIC",
    "PUBLISHED", "READ", "READONLY", "REGISTER", "REINTRODUCE", "REQUIRES", "RESIDENT", "SAFECALL",
    "STDCALL", "STORED", "VIRTUAL", "WRITE", "WRITEONLY",
    // Special words.
    "AT", "ON"};

constexpr std::array<std::string_view, 3> kPragmaNames = {"", ".F-", ".F+"};

// The longest word of the table.
constexpr std::size_t kMaxWordLength = 14;

// The word table indexed by first letter and length: for each (letter, length) pair the
// words of that shape, in value order, so the first match is the linear search's first match.
struct WordIndex {
  // Start of each bucket in Kinds; bucket b holds Kinds[Start[b] .. Start[b + 1]).
  std::array<std::uint8_t, 26 * (kMaxWordLength + 1) + 1> Start{};
  std::array<TTokenKind, kWordNames.size()> Kinds{};
};

constexpr std::size_t BucketOf(char first, std::size_t length) {
  return static_cast<std::size_t>(first - 'A') * (kMaxWordLength + 1) + length;
}

constexpr WordIndex BuildWordIndex() {
  WordIndex index;
  std::array<std::uint8_t, 26 * (kMaxWordLength + 1)> counts{};
  for (const auto& word : kWordNames) {
    if (!word.empty()) ++counts[BucketOf(word[0], word.size())];
  }
  std::uint8_t total = 0;
  for (std::size_t b = 0; b < counts.size(); ++b) {
    index.Start[b] = total;
    total = static_cast<std::uint8_t>(total + counts[b]);
  }
  index.Start[counts.size()] = total;
  std::array<std::uint8_t, 26 * (kMaxWordLength + 1)> filled{};
  for (std::size_t i = 0; i < kWordNames.size(); ++i) {
    const auto& word = kWordNames[i];
    if (word.empty()) continue;
    const std::size_t b = BucketOf(word[0], word.size());
    index.Kinds[index.Start[b] + filled[b]++] = static_cast<TTokenKind>(kFirstWord + i);
  }
  return index;
}

constexpr WordIndex kWordIndex = BuildWordIndex();

constexpr bool WordTableFitsIndex() {
  for (const auto& word : kWordNames) {
    if (word.size() > kMaxWordLength) return false;
    for (char c : word) {
      if (c < 'A' || c > 'Z') return false;
    }
  }
  return true;
}
static_assert(WordTableFitsIndex(), "every word is at most 14 capitals A-Z");
static_assert(kWordNames[tkUnnamed - kFirstWord].empty(), "106 has no name");
static_assert(kWordNames[tkXor - kFirstWord] == "XOR" && kWordNames[tkOn - kFirstWord] == "ON");

constexpr char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

}  // namespace

std::string_view KindName(TTokenKind kind) {
  if (kind < kFirstSymbol) return kVaryingNames[kind];
  if (kind <= kLastSymbol) return SymbolName(kind);
  return WordName(kind);
}

std::string_view SymbolName(TTokenKind kind) {
  if (kind < kFirstSymbol || kind > kLastSymbol) return {};
  return kSymbolNames[kind - kFirstSymbol];
}

TTokenKind SymbolKind(std::string_view text) {
  // One character is the common case (",", ";", "="): looked up in a table made once.
  static const std::array<TTokenKind, 256> kOneCharacter = [] {
    std::array<TTokenKind, 256> table;
    table.fill(tkSymbol);
    for (int k = kLastSymbol; k >= kFirstSymbol; --k) {  // the first kind of a text wins
      const std::string_view name = kSymbolNames[k - kFirstSymbol];
      if (name.size() == 1) table[static_cast<unsigned char>(name[0])] = static_cast<TTokenKind>(k);
    }
    return table;
  }();
  if (text.size() == 1) return kOneCharacter[static_cast<unsigned char>(text[0])];
  for (int k = kFirstSymbol; k <= kLastSymbol; ++k) {
    if (kSymbolNames[k - kFirstSymbol] == text) return static_cast<TTokenKind>(k);
  }
  return tkSymbol;
}

std::string_view WordName(TTokenKind kind) {
  if (kind < kFirstWord || kind > kLastWord) return {};
  return kWordNames[kind - kFirstWord];
}

std::string_view PragmaName(TPragmaKind kind) {
  if (kind >= kPragmaNames.size()) return {};
  return kPragmaNames[kind];
}

TTokenKind WordKind(std::string_view text) {
  if (text.empty()) return tkUnnamed;
  if (text.size() > kMaxWordLength) return tkIdentifier;
  char upper[kMaxWordLength];
  for (std::size_t i = 0; i < text.size(); ++i) upper[i] = Upper(text[i]);
  if (upper[0] < 'A' || upper[0] > 'Z') return tkIdentifier;
  const std::size_t b = BucketOf(upper[0], text.size());
  for (std::size_t i = kWordIndex.Start[b]; i < kWordIndex.Start[b + 1]; ++i) {
    const TTokenKind kind = kWordIndex.Kinds[i];
    if (std::memcmp(kWordNames[kind - kFirstWord].data(), upper, text.size()) == 0) return kind;
  }
  return tkIdentifier;
}

TPragmaKind PragmaKind(std::string_view text) {
  if (text.empty()) return pkNone;
  if (text[0] == '(' || text[0] == '/') {
    text.remove_prefix(text.size() < 2 ? text.size() : 2);
  } else if (text[0] == '{') {
    text.remove_prefix(1);
  }
  if (text.size() != 3) return pkNone;  // the empty rest is pkNone as well
  const char rest[3] = {Upper(text[0]), Upper(text[1]), Upper(text[2])};
  for (std::size_t k = 0; k < kPragmaNames.size(); ++k) {
    if (kPragmaNames[k] == std::string_view(rest, 3)) return static_cast<TPragmaKind>(k);
  }
  return pkNone;
}

}  // namespace ravelin
