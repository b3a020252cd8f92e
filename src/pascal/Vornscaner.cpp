#include "pascal/Vornscaner.h"

namespace ravelin {
namespace {

constexpr char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
constexpr bool IsWordChar(char c) {
  const char u = Upper(c);
  return (u >= 'A' && u <= 'Z') || IsDigit(u) || u == '_';
}
constexpr bool IsHexDigit(char c) {
  const char u = Upper(c);
  return IsDigit(u) || (u >= 'A' && u <= 'F');
}

// text := the symbol's text; returns kind.
TTokenKind Symbol(TTokenKind kind, std::string& text) {
  const std::string_view name = SymbolName(kind);
  text.clear();
  text.append(name.data(), name.size());
  return kind;
}

}  // namespace

void TVornPasScanner::SetSource(std::vector<std::string>* lines) {
  Buffer.SetSource(lines);
}

void TVornPasScanner::SetSource(LineReader& reader) {
  Buffer.SetSource(reader);
}

bool TVornPasScanner::ReadInto(std::string& text) {
  const char c = Buffer.ReadChar();
  if (Buffer.AtEof()) return false;
  text.push_back(c);
  return true;
}

void TVornPasScanner::ScanBraceComment(TTokenKind& kind, std::string& text) {
  kind = tkBraceComment;
  ReadInto(text);
  // Up to the closing brace; an unclosed comment ends with the input.
  while (ReadInto(text) && text.back() != '}') {
  }
  if (text == "{}") {
    text.clear();
  } else if (text.size() > 4) {
    switch (PragmaKind(std::string_view(text).substr(0, 4))) {
      case pkFormatOff:
        if (OnFormatOff) OnFormatOff(*this, text, kind);
        break;
      case pkFormatOn:
        if (OnFormatOn) OnFormatOn(*this);
        break;
      default:
        break;
    }
  }
}

void TVornPasScanner::ScanParenComment(TTokenKind& kind, std::string& text) {
  kind = tkParenComment;
  ReadInto(text);
  ReadInto(text);
  // Up to the first "*)" after the opener; an unclosed comment ends with the input.
  while (ReadInto(text)) {
    if (text.back() == '*' && Buffer.PeekChar() == ')') {
      ReadInto(text);
      break;
    }
  }
}

void TVornPasScanner::ScanLineComment(TTokenKind& kind, std::string& text) {
  kind = tkLineComment;
  ReadInto(text);
  ReadInto(text);
  for (;;) {
    const char c = Buffer.PeekChar();
    if (c == '\n' || c == '\r' || Buffer.AtEof()) break;
    ReadInto(text);
  }
}

void TVornPasScanner::ScanHexDigits(std::string& text) {
  ReadInto(text);
  while (IsHexDigit(Buffer.PeekChar())) ReadInto(text);
}

void TVornPasScanner::ScanWord(TTokenKind& kind, std::string& text) {
  const std::size_t start = text.size();
  ReadInto(text);
  while (IsWordChar(Buffer.PeekChar())) ReadInto(text);
  kind = WordKind(std::string_view(text).substr(start));
}

bool TVornPasScanner::AtEnd() {
  return Buffer.AtEof();
}

void TVornPasScanner::ScanNumber(TTokenKind& kind, std::string& text) {
  kind = tkInteger;
  ReadInto(text);
  while (IsDigit(Buffer.PeekChar())) ReadInto(text);
  char next = Buffer.PeekChar();
  if (next != '.' && Upper(next) != 'E') return;
  if (next == '.') {
    Buffer.ReadChar();
    if (Buffer.PeekChar() == '.') {
      // "1..2": the integer ends here and ".." is the next token.
      Buffer.PushBack(".");
      return;
    }
    text.push_back('.');
    while (IsDigit(Buffer.PeekChar())) ReadInto(text);
  }
  if (Upper(Buffer.PeekChar()) == 'E') {
    Buffer.ReadChar();
    text.push_back('E');
    next = Buffer.PeekChar();
    if (next == '+' || next == '-') ReadInto(text);
    while (IsDigit(Buffer.PeekChar())) ReadInto(text);
  }
  kind = tkFloat;
}

void TVornPasScanner::ScanString(TTokenKind& kind, std::string& text) {
  kind = tkString;
  for (;;) {
    const char next = Buffer.PeekChar();
    if (next == '#') {
      ReadInto(text);
      std::string code;
      if (Buffer.PeekChar() == '$') {
        ScanHexDigits(code);
      } else {
        TTokenKind codeKind = tkInteger;
        ScanNumber(codeKind, code);
      }
      text += code;
    } else if (next == '\'') {
      ReadInto(text);
      // Up to the closing apostrophe, over line ends; an unclosed piece ends with the input.
      while (ReadInto(text) && text.back() != '\'') {
      }
    } else if (next == '^') {
      ReadInto(text);
      ReadInto(text);
    } else {
      return;
    }
    if (Buffer.AtEof()) return;
  }
}

TTokenKind TVornPasScanner::NextToken(std::string& text) {
  for (;;) {
    text.clear();
    TTokenKind kind = tkBraceComment;
    const char next = Upper(Buffer.PeekChar());
    if ((next >= 'A' && next <= 'Z') || next == '_') {
      ScanWord(kind, text);
      return kind;
    }
    switch (next) {
      case '0':
      case '1':
      case '2':
      case '3':
      case '4':
      case '5':
      case '6':
      case '7':
      case '8':
      case '9':
        ScanNumber(kind, text);
        return kind;
      case '#':
      case '\'':
        ScanString(kind, text);
        return kind;
      case '$':
        ScanHexDigits(text);
        return tkInteger;
      case '{':
        ScanBraceComment(kind, text);
        return kind;
      case '(':
        Buffer.ReadChar();
        if (Buffer.PeekChar() == '*') {
          Buffer.PushBack("(");
          ScanParenComment(kind, text);
          return kind;
        }
        if (Buffer.PeekChar() == '.') {
          Buffer.ReadChar();
          return Symbol(tkLBracket, text);
        }
        return Symbol(tkLParen, text);
      case '.':
        Buffer.ReadChar();
        if (Buffer.PeekChar() == ')') {
          Buffer.ReadChar();
          return Symbol(tkRBracket, text);
        }
        if (Buffer.PeekChar() == '.') {
          Buffer.ReadChar();
          return Symbol(tkDotDot, text);
        }
        return Symbol(tkDot, text);
      case '/':
        Buffer.ReadChar();
        if (Buffer.PeekChar() == '/') {
          Buffer.PushBack("/");
          ScanLineComment(kind, text);
          return kind;
        }
        return Symbol(tkSlash, text);
      case ':':
        Buffer.ReadChar();
        if (Buffer.PeekChar() == '=') {
          Buffer.ReadChar();
          return Symbol(tkAssign, text);
        }
        return Symbol(tkColon, text);
      case '<':
        Buffer.ReadChar();
        if (Buffer.PeekChar() == '=') {
          Buffer.ReadChar();
          return Symbol(tkLessEqual, text);
        }
        if (Buffer.PeekChar() == '>') {
          Buffer.ReadChar();
          return Symbol(tkNotEqual, text);
        }
        return Symbol(tkLess, text);
      case '>':
        Buffer.ReadChar();
        if (Buffer.PeekChar() == '=') {
          Buffer.ReadChar();
          return Symbol(tkGreaterEqual, text);
        }
        return Symbol(tkGreater, text);
      case '&':
      case ')':
      case '*':
      case '+':
      case ',':
      case '-':
      case ';':
      case '=':
      case '@':
      case '[':
      case ']':
      case '^': {
        ReadInto(text);
        return SymbolKind(text);  // every character of this group is a symbol
      }
      default:
        // Blanks, line ends and characters that start no token are skipped.
        Buffer.ReadChar();
        if (Buffer.AtEof()) {
          text.clear();
          return tkBraceComment;
        }
        break;
    }
  }
}

bool TVornPasScanner::Scan() {
  std::string text;
  while (!AtEnd()) NextToken(text);
  return false;
}

}  // namespace ravelin
