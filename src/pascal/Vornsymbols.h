// The vocabulary of the Pascal scanner: the one-byte token kind, the display name of every
// kind, the table of reserved words, directives and special words, and the two comment
// pragmas. Every lookup is a pure function over constant tables.
#pragma once

#include <cstdint>
#include <string_view>

namespace ravelin {

/// The kind of a Pascal token. 0-8: tokens whose text varies; 9-31: symbols; 32-96: reserved
/// words; 97-135: directives (106 has no name); 136-137: special words. 138-255 are no kinds.
enum TTokenKind : std::uint8_t {
  // Tokens whose text varies.
  tkBraceComment,    ///< 0: { ... }
  tkParenComment,    ///< 1: (* ... *)
  tkLineComment,     ///< 2: // ...
  tkIdentifier,      ///< 3: identifier, or any word not in the word table
  tkFloat,           ///< 4: real-number literal
  tkInteger,         ///< 5: decimal or "$" hexadecimal integer literal
  tkString,          ///< 6: string literal (quoted pieces, "#" codes, "^" notation)
  tkSymbol,          ///< 7: a symbol in general; never produced by the scanner
  tkFormattedBlock,  ///< 8: source taken over unchanged; only set by a format-off handler
  // Symbols.
  tkAmpersand,     ///< 9: &
  tkAssign,        ///< 10: :=
  tkAddress,       ///< 11: @
  tkLBracket,      ///< 12: [
  tkRBracket,      ///< 13: ]
  tkCaret,         ///< 14: ^
  tkColon,         ///< 15: :
  tkComma,         ///< 16: ,
  tkEqual,         ///< 17: =
  tkGreaterEqual,  ///< 18: >=
  tkGreater,       ///< 19: >
  tkLessEqual,     ///< 20: <=
  tkLess,          ///< 21: <
  tkMinus,         ///< 22: -
  tkNotEqual,      ///< 23: <>
  tkLParen,        ///< 24: (
  tkRParen,        ///< 25: )
  tkPlus,          ///< 26: +
  tkDotDot,        ///< 27: ..
  tkStar,          ///< 28: *
  tkSemicolon,     ///< 29: ;
  tkDot,           ///< 30: .
  tkSlash,         ///< 31: /
  // Reserved words.
  tkAnd,  ///< 32
  tkArray,
  tkAs,
  tkAsm,
  tkBegin,
  tkCase,
  tkClass,
  tkConst,
  tkConstructor,
  tkDestructor,
  tkDispinterface,
  tkDiv,
  tkDo,
  tkDownto,
  tkElse,
  tkEnd,  ///< 47
  tkExcept,
  tkExports,
  tkFile,
  tkFinalization,
  tkFinally,
  tkFor,
  tkFunction,
  tkGoto,
  tkIf,
  tkImplementation,  ///< 57
  tkIn,              ///< 58
  tkInherited,
  tkInitialization,
  tkInline,
  tkInterface,
  tkIs,
  tkLabel,
  tkLibrary,
  tkMod,
  tkNil,
  tkNot,
  tkObject,
  tkOf,
  tkOr,
  tkOut,
  tkPacked,
  tkProcedure,
  tkProgram,
  tkProperty,
  tkRaise,
  tkRecord,
  tkRepeat,
  tkResourcestring,
  tkSet,
  tkShl,
  tkShr,
  tkStringWord,  ///< 84: the reserved word STRING
  tkThen,
  tkThreadvar,
  tkTo,
  tkTry,
  tkType,
  tkUnit,
  tkUntil,
  tkUses,  ///< 92
  tkVar,
  tkWhile,
  tkWith,
  tkXor,  ///< 96
  // Directives.
  tkAbsolute,  ///< 97
  tkAbstract,
  tkAssembler,
  tkAutomated,
  tkCdecl,
  tkContains,
  tkDefault,
  tkDispid,
  tkDynamic,
  tkUnnamed,  ///< 106: a word kind without a name
  tkExternal,
  tkFar,
  tkForward,
  tkImplements,
  tkIndex,
  tkMessage,
  tkName,
  tkNear,
  tkNodefault,
  tkOverload,
  tkOverride,
  tkPackage,
  tkPascal,
  tkPrivate,
  tkProtected,
  tkPublic,
  tkPublished,
  tkRead,
  tkReadonly,
  tkRegister,
  tkReintroduce,
  tkRequires,
  tkResident,
  tkSafecall,
  tkStdcall,
  tkStored,
  tkVirtual,
  tkWrite,
  tkWriteonly,  ///< 135
  // Special words.
  tkAt,  ///< 136
  tkOn,  ///< 137
};

/// First and last kind of each range.
inline constexpr TTokenKind kFirstSymbol = tkAmpersand;
inline constexpr TTokenKind kLastSymbol = tkSlash;
inline constexpr TTokenKind kFirstWord = tkAnd;
inline constexpr TTokenKind kLastWord = tkOn;

/// The comment pragmas that switch formatting off and on.
enum TPragmaKind : std::uint8_t {
  pkNone,       ///< not a pragma
  pkFormatOff,  ///< ".F-"
  pkFormatOn,   ///< ".F+"
};

/// Display name of a kind: "<{...}>" ... "<formatted-block>" for 0-8, the symbol for 9-31,
/// the word in capitals for 32-137 (empty for 106), empty for 138-255.
std::string_view KindName(TTokenKind kind);
/// The symbol text for 9-31, else empty.
std::string_view SymbolName(TTokenKind kind);
/// The first symbol kind (9-31, in value order) whose text is text; tkSymbol when none is.
TTokenKind SymbolKind(std::string_view text);
/// The word in capitals for 32-137 (empty for 106), else empty.
std::string_view WordName(TTokenKind kind);
/// "" for pkNone, ".F-" for pkFormatOff, ".F+" for pkFormatOn, else empty.
std::string_view PragmaName(TPragmaKind kind);
/// The first word kind (32-137, in value order) whose name equals the text in ASCII
/// capitals; tkIdentifier when none does. The empty text gives tkUnnamed (106).
TTokenKind WordKind(std::string_view text);
/// The pragma a comment's text begins with after its opener ("{", "(*" or "//"); the whole
/// rest must equal ".F-" or ".F+" ignoring ASCII case, else pkNone.
TPragmaKind PragmaKind(std::string_view text);

}  // namespace ravelin
