// The Pascal scanner: turns a list of source lines into tokens, one kind and text per call
// of NextToken. Every recognition routine is virtual so that a descendant can change how one
// kind of token is read; Scan runs over the whole input and exists to be overridden.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pascal/Vornbuffer.h"
#include "pascal/Vornsymbols.h"

namespace ravelin {

/// Scans Pascal source given as lines. Unterminated comments and strings end at the end of
/// input with what was read; any bytes are accepted and nothing is thrown for bad input.
class TVornPasScanner {
 public:
  /// Called for a brace comment beginning with ".F-"; may replace the token's text and kind.
  using FormatOffEvent =
      std::function<void(TVornPasScanner& sender, std::string& text, TTokenKind& kind)>;
  /// Called for a brace comment beginning with ".F+".
  using FormatOnEvent = std::function<void(TVornPasScanner& sender)>;

  /// A scanner whose buffer is at end of input; both handlers empty.
  TVornPasScanner() = default;
  virtual ~TVornPasScanner() = default;
  TVornPasScanner(const TVornPasScanner&) = delete;
  TVornPasScanner& operator=(const TVornPasScanner&) = delete;

  /// The character source, owned; callers may Reset it before attaching another list.
  TVornstrBfr Buffer;
  /// Fired by the pragma ".F-" at the start of a brace comment; empty by default.
  FormatOffEvent OnFormatOff;
  /// Fired by the pragma ".F+" at the start of a brace comment; empty by default.
  FormatOnEvent OnFormatOn;

  /// Attaches the lines to the buffer (not owned; they must outlive the scanning).
  void SetSource(std::vector<std::string>* lines);
  /// Passes a line reader to the buffer's SetSource: the lines are read as scanning reaches
  /// them. The reader is not owned.
  void SetSource(LineReader& reader);

  /// A comment from "{" to the first "}" (or the end of input); "{}" gives the empty text.
  virtual void ScanBraceComment(TTokenKind& kind, std::string& text);
  /// A comment from "(*" to the first "*)" (or the end of input).
  virtual void ScanParenComment(TTokenKind& kind, std::string& text);
  /// A comment from "//" up to, not including, the end of the line.
  virtual void ScanLineComment(TTokenKind& kind, std::string& text);
  /// One character (the "$") and the hexadecimal digits after it, appended to text.
  virtual void ScanHexDigits(std::string& text);
  /// An identifier or a word of the word table; text keeps the source's letter case.
  virtual void ScanWord(TTokenKind& kind, std::string& text);
  /// True when the buffer is at end of input.
  virtual bool AtEnd();
  /// An integer or a real number (fraction, exponent written "E"); "1..2" leaves "..".
  virtual void ScanNumber(TTokenKind& kind, std::string& text);
  /// A string literal: quoted pieces, "#" codes and "^" control notation, run together.
  virtual void ScanString(TTokenKind& kind, std::string& text);
  /// Skips what starts no token and reads one token into text; returns its kind. At the end
  /// of input returns 0 with empty text.
  virtual TTokenKind NextToken(std::string& text);
  /// Reads every token up to the end of input and discards them; returns false.
  virtual bool Scan();

 protected:
  /// Reads one character and appends it to text unless the input has ended; false at end.
  bool ReadInto(std::string& text);
};

}  // namespace ravelin
