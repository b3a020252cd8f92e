// Fuzz target of the Pascal scanner: arbitrary bytes, split into lines, are scanned to the
// end. Checks that the scan ends within a bounded number of tokens, that every token is the
// piece of input at the reading position (after skipped characters) and that its kind fits
// its text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextLines.h"
#include "pascal/Vornscaner.h"
#include "pascal/Vornsymbols.h"

namespace {

using ravelin::TTokenKind;

[[noreturn]] void Fail() {
  std::abort();
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// True for the characters that NextToken skips.
bool Skipped(char c) {
  const char u = Upper(c);
  if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')) return false;
  return std::string_view("_#'${(./:<>&)*+,-;=@[]^").find(c) == std::string_view::npos;
}

// True when text stands at pos of the stream; a capital E of the text also stands for "e"
// (the exponent letter is always written "E").
bool MatchesAt(std::string_view stream, std::size_t pos, std::string_view text) {
  if (stream.size() - pos < text.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char s = stream[pos + i];
    if (s != text[i] && !(text[i] == 'E' && s == 'e')) return false;
  }
  return true;
}

// The piece of the stream that a token stands for: its text, "(." for "[", ".)" for "]", "{}"
// for an empty brace comment. Advances pos past it or fails.
void Consume(std::string_view stream, std::size_t& pos, TTokenKind kind, const std::string& text) {
  if (kind == ravelin::tkLBracket && MatchesAt(stream, pos, "(.")) {
    pos += 2;
  } else if (kind == ravelin::tkRBracket && MatchesAt(stream, pos, ".)")) {
    pos += 2;
  } else if (kind == ravelin::tkBraceComment && text.empty()) {
    if (!MatchesAt(stream, pos, "{}")) Fail();
    pos += 2;
  } else {
    if (!MatchesAt(stream, pos, text)) Fail();
    pos += text.size();
  }
}

void CheckKind(TTokenKind kind, const std::string& text) {
  if (kind >= ravelin::kFirstSymbol && kind <= ravelin::kLastSymbol) {
    if (text != ravelin::SymbolName(kind)) Fail();
  } else if (kind == ravelin::tkIdentifier || kind >= ravelin::kFirstWord) {
    if (ravelin::WordKind(text) != kind || kind == ravelin::tkUnnamed) Fail();
  } else if (kind == ravelin::tkSymbol || kind == ravelin::tkFormattedBlock) {
    Fail();  // never produced without a handler that sets them
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  ravelin::ForEachLine(input, [&](std::string_view line) { lines.emplace_back(line); });
  // What the scanner reads: every line followed by a carriage return.
  std::string stream;
  for (const auto& line : lines) (stream += line) += '\r';

  ravelin::TVornPasScanner scanner;
  int pragmas = 0;
  scanner.OnFormatOff = [&](ravelin::TVornPasScanner&, std::string& text, TTokenKind& kind) {
    if (kind != ravelin::tkBraceComment || text.size() < 5) Fail();
    ++pragmas;
  };
  scanner.OnFormatOn = [&](ravelin::TVornPasScanner&) { ++pragmas; };
  scanner.SetSource(&lines);

  const std::size_t limit = size + lines.size() + 2;
  std::size_t tokens = 0;
  std::size_t pos = 0;
  std::string text;
  for (;;) {
    if (++tokens > limit) Fail();
    const TTokenKind kind = scanner.NextToken(text);
    const bool atEnd = scanner.AtEnd();
    while (pos < stream.size() && Skipped(stream[pos])) ++pos;
    if (atEnd && kind == ravelin::tkBraceComment && text.empty()) break;  // end of input
    CheckKind(kind, text);
    Consume(stream, pos, kind, text);
    if (atEnd) break;
  }
  // Everything was read: only skipped characters may remain.
  while (pos < stream.size() && Skipped(stream[pos])) ++pos;
  if (pos != stream.size()) Fail();
  // Further calls stay at the end.
  if (scanner.NextToken(text) != ravelin::tkBraceComment || !text.empty() || !scanner.AtEnd()) {
    Fail();
  }
  return 0;
}
