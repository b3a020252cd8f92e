// The unit analysis: the scanner that collects a file's uses clauses, the unit file list, the
// walk over a root file's uses clauses that grows the unit tree and the list, and the
// process-wide result of the last analysis.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pascal/TokenNodes.h"
#include "pascal/Vornscaner.h"
#include "units/UnitLookup.h"
#include "units/UnitTree.h"
#include "units/UsesGraph.h"

namespace ravelin {

/// Where the tokens of a scan come from when the scanner does not read them itself: it may
/// drop tokens (code that is not compiled) and read others from elsewhere (include files).
class TokenSource {
 public:
  virtual ~TokenSource() = default;
  /// The next token of scanner's input (comments included) into kind and text, which comes
  /// empty; false when everything has been read.
  virtual bool Next(TVornPasScanner& scanner, TTokenKind& kind, std::string& text) = 0;
};

/// The Pascal scanner of the unit analysis: it collects significant tokens as token nodes.
class TScanner : public TVornPasScanner {
 public:
  /// A list of token nodes.
  using TokenList = std::vector<std::unique_ptr<TTokenNode>>;
  /// Receives one uses clause: its tokens from the word uses up to its ";" (or up to the end
  /// of the file), and whether it stands before the word implementation.
  using ClauseHandler = std::function<void(const TokenList& clause, bool inInterface)>;

  /// Without OnUsesClause: the tokens of the file scanned last, in source order (no
  /// comments). With it: the tokens of the uses clause being read, if any.
  TokenList Tokens;
  /// When set, Scan keeps only the tokens of one uses clause at a time and hands each clause
  /// here as soon as it is complete, so memory follows the largest clause, not the file. A
  /// uses clause is the word uses outside a clause and the tokens after it; the word uses as
  /// the file's last token makes none.
  ClauseHandler OnUsesClause;
  /// The kind of the first significant token of the file scanned last (tkUnit for a unit,
  /// tkProgram, tkLibrary, tkPackage, ...); tkSymbol before any.
  TTokenKind HeadingKind = tkSymbol;
  /// When set, Scan takes its tokens from here instead of NextToken (not owned).
  TokenSource* Source = nullptr;

  /// Empties Tokens, then fills it from the attached source (see OnUsesClause); returns true.
  bool Scan() override;
  /// Empties Tokens; their nodes are kept to be filled again by the next Scan.
  void ClearTokens();

 private:
  /// The classes of token nodes.
  enum class NodeClass { Symbol, Word, Identifier, Real, Integer, String, None };
  static constexpr std::size_t kNodeClasses = 6;
  static NodeClass ClassOf(TTokenKind kind);
  static NodeClass ClassOf(const TTokenNode& node);
  /// A node of a class, taken from the spare nodes when there is one.
  std::unique_ptr<TTokenNode> NewNode(NodeClass nodeClass);
  std::vector<std::unique_ptr<TTokenNode>> spare_[kNodeClasses];  // by node class
};

/// The unit file list: the root file and every unit file name met, located or not, kept in
/// order of their names in capitals (byte by byte, a proper prefix first); names equal in
/// that order are one entry. Each entry is taken up for scanning at most once.
class UnitFileList {
 public:
  /// Adds name unless an equal entry exists; true when it was added (not yet taken up).
  bool Add(const std::string& name);
  /// The entry equal to name, added first when missing; the reference stays valid while the
  /// entry is in the list.
  const std::string& Entry(const std::string& name);
  /// True when an entry equal to name exists.
  bool Contains(std::string_view name) const;
  /// Marks the entry equal to name as taken up (adding it first when missing); returns it.
  const std::string& MarkTaken(const std::string& name);
  /// True when the entry equal to name exists and has been taken up.
  bool IsTaken(std::string_view name) const;
  /// The first entry in order that has not been taken up, or nothing.
  std::optional<std::string> FirstUntaken() const;
  /// The entries in order.
  std::vector<std::string> Names() const;
  /// Number of entries.
  std::size_t Count() const { return entries_.size(); }
  /// Removes every entry.
  void Clear();

 private:
  struct Less {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  std::map<std::string, bool, Less> entries_;  // name -> taken up
  std::set<std::string_view, Less> untaken_;   // views of the keys of entries_
};

/// One unit named in a uses clause, as the analysis met it.
struct UsesMention {
  const std::string* from = nullptr;  ///< the unit file list entry of the file whose clause it is
  const std::string* to = nullptr;    ///< the entry the named unit was located as
  const TUnitNode* node = nullptr;    ///< its node in the unit tree (the name as spelled)
  UsesSection section = UsesSection::Main;  ///< the clause's section
  std::optional<std::string> inPath;        ///< the path after "in", when given
};

/// The result of the last unit analysis; it lives as long as the process and is kept between
/// commands so that a later command can reuse it.
struct UnitAnalysisState {
  /// The unit file list.
  UnitFileList UnitFiles;
  /// The unit tree.
  TUnitTree UnitTree;
  /// The root file of the last analysis, as the caller gave it.
  std::string StartFile;
  /// The folder part of StartFile, with its trailing delimiter.
  std::string ProjectFolder;
  /// The banner of the unit reports: "RAVELIN REPORT", with the time of the last listing.
  std::string ReportBanner = "RAVELIN REPORT";
  /// Every unit named in a uses clause, in the order the analysis met them.
  std::vector<UsesMention> Uses;
  /// Under compiler rules: what was skipped or could not be decided ("File.pas(12): reason").
  std::vector<std::string> Warnings;
};

/// The one unit analysis state of the process; `UnitAnalysis() = {}` puts it back to its start
/// (empty list and tree, no root, the banner without a time).
UnitAnalysisState& UnitAnalysis();
/// Empties the unit file list, the unit tree and the uses.
void ClearUnitAnalysis();

/// The whole analysis from one root file: clears the results, enters fileName as the first
/// entry and StartFile, then ProcessUnitFiles. Throws IoError when a file that exists cannot
/// be read; what was gathered until then stays.
void BuildUnitTree(const std::string& fileName, const UnitLookup& lookup);
/// Scans StartFile and then every untaken entry of list in order until none is left, growing
/// the unit tree and adding every unit file named, looked up along lookup (its projectFolder
/// becomes ProjectFolder).
void ProcessUnitFiles(UnitFileList& list, UnitLookup lookup);

}  // namespace ravelin
