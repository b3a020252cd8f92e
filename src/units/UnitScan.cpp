// The analysis: scanning files into tokens, reading their uses clauses into the unit tree and
// the unit file list, and the process-wide result.
#include "units/UnitScan.h"

#include <typeinfo>
#include <unordered_map>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "units/CompilerRules.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------
// TScanner

TScanner::NodeClass TScanner::ClassOf(TTokenKind kind) {
  if (kind >= kFirstSymbol && kind <= kLastSymbol) return NodeClass::Symbol;
  if (kind >= kFirstWord && kind <= kLastWord) return NodeClass::Word;
  switch (kind) {
    case tkIdentifier:
      return NodeClass::Identifier;
    case tkFloat:
      return NodeClass::Real;
    case tkInteger:
      return NodeClass::Integer;
    case tkString:
      return NodeClass::String;
    default:
      return NodeClass::None;  // comments and the kinds the scanner never gives
  }
}

TScanner::NodeClass TScanner::ClassOf(const TTokenNode& node) {
  const std::type_info& type = typeid(node);
  if (type == typeid(TSymbolNode)) return NodeClass::Symbol;
  if (type == typeid(TPasWordNode)) return NodeClass::Word;
  if (type == typeid(TIdentNode)) return NodeClass::Identifier;
  if (type == typeid(TLitFloat)) return NodeClass::Real;
  if (type == typeid(TLitInteger)) return NodeClass::Integer;
  if (type == typeid(TLitString)) return NodeClass::String;
  return NodeClass::None;
}

void TScanner::ClearTokens() {
  for (auto& node : Tokens) {
    const NodeClass nodeClass = node ? ClassOf(*node) : NodeClass::None;
    if (nodeClass == NodeClass::None) continue;
    node->Data.reset();
    spare_[static_cast<std::size_t>(nodeClass)].push_back(std::move(node));
  }
  Tokens.clear();
}

std::unique_ptr<TTokenNode> TScanner::NewNode(NodeClass nodeClass) {
  auto& spare = spare_[static_cast<std::size_t>(nodeClass) % kNodeClasses];
  if (!spare.empty()) {
    std::unique_ptr<TTokenNode> node = std::move(spare.back());
    spare.pop_back();
    return node;
  }
  switch (nodeClass) {
    case NodeClass::Symbol:
      return std::make_unique<TSymbolNode>();
    case NodeClass::Word:
      return std::make_unique<TPasWordNode>();
    case NodeClass::Identifier:
      return std::make_unique<TIdentNode>();
    case NodeClass::Real:
      return std::make_unique<TLitFloat>();
    case NodeClass::Integer:
      return std::make_unique<TLitInteger>();
    default:
      return std::make_unique<TLitString>();
  }
}

bool TScanner::Scan() {
  ClearTokens();
  HeadingKind = tkSymbol;
  bool headingSeen = false;
  std::string text;
  bool inClause = false;    // with OnUsesClause: Tokens hold a clause being read
  bool inInterface = true;  // no word implementation yet outside a clause
  for (;;) {
    text.clear();
    TTokenKind kind = tkBraceComment;
    if (Source == nullptr) {
      if (AtEnd()) break;
      kind = NextToken(text);
    } else if (!Source->Next(*this, kind, text)) {
      break;
    }
    const NodeClass nodeClass = ClassOf(kind);
    if (nodeClass == NodeClass::None) continue;
    if (!headingSeen) {
      HeadingKind = kind;
      headingSeen = true;
    }
    if (OnUsesClause && !inClause) {
      if (kind == tkImplementation) inInterface = false;
      if (kind != tkUses) continue;  // only uses clauses are kept
      inClause = true;
    }
    std::unique_ptr<TTokenNode> node = NewNode(nodeClass);
    if (kind >= tkIdentifier && kind <= tkString)
      node->SetValue(text);
    else
      node->SetKind(kind);
    Tokens.push_back(std::move(node));
    if (inClause && kind == tkSemicolon) {
      OnUsesClause(Tokens, inInterface);
      ClearTokens();
      inClause = false;
    }
  }
  if (inClause) {
    if (Tokens.size() > 1) OnUsesClause(Tokens, inInterface);  // cut off by the end of the file
    ClearTokens();
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// UnitFileList

bool UnitFileList::Less::operator()(std::string_view a, std::string_view b) const {
  return CompareUpperText(a, b) < 0;
}

bool UnitFileList::Add(const std::string& name) {
  auto [it, added] = entries_.try_emplace(name, false);
  if (added) untaken_.insert(std::string_view(it->first));
  return added;
}

const std::string& UnitFileList::Entry(const std::string& name) {
  auto [it, added] = entries_.try_emplace(name, false);
  if (added) untaken_.insert(std::string_view(it->first));
  return it->first;
}

bool UnitFileList::Contains(std::string_view name) const {
  return entries_.find(name) != entries_.end();
}

const std::string& UnitFileList::MarkTaken(const std::string& name) {
  auto it = entries_.try_emplace(name, false).first;
  it->second = true;
  untaken_.erase(std::string_view(it->first));
  return it->first;
}

bool UnitFileList::IsTaken(std::string_view name) const {
  auto it = entries_.find(name);
  return it != entries_.end() && it->second;
}

std::optional<std::string> UnitFileList::FirstUntaken() const {
  if (untaken_.empty()) return std::nullopt;
  return std::string(*untaken_.begin());
}

std::vector<std::string> UnitFileList::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const auto& entry : entries_) names.push_back(entry.first);
  return names;
}

void UnitFileList::Clear() {
  untaken_.clear();
  entries_.clear();
}

// ---------------------------------------------------------------------------------------
// The process-wide result

UnitAnalysisState& UnitAnalysis() {
  static UnitAnalysisState state;
  return state;
}

void ClearUnitAnalysis() {
  UnitAnalysisState& state = UnitAnalysis();
  state.Uses.clear();
  state.UnitFiles.Clear();
  state.UnitTree.Clear();
  state.Warnings.clear();
}

// ---------------------------------------------------------------------------------------
// The analysis loop

namespace {

using TokenList = TScanner::TokenList;

TTokenKind KindAt(const TokenList& tokens, std::size_t j) {
  return tokens[j]->Kind;
}

/// The file a uses clause belongs to.
struct ClauseSource {
  const std::string* entry = nullptr;  // its unit file list entry
  std::string key;                     // its unit name: the file name without folder and extension
  bool isUnit = false;                 // a unit (interface and implementation sections)
  bool isRoot = false;                 // the root file
};

/// Reads the uses clauses of the files of one analysis into the unit tree, the list and the
/// uses.
class ClauseReader {
 public:
  ClauseReader(UnitAnalysisState& state, UnitFileList& list, const UnitLookup& lookup)
      : tree_(state.UnitTree), uses_(state.Uses), list_(list), lookup_(lookup) {
    if (lookup.rules) resolver_.emplace(*lookup.rules, lookup);
  }

  /// Under compiler rules, the unit name an entry was first located for; else null.
  const std::string* UnitNameOf(const std::string* entry) const {
    auto it = unitNames_.find(entry);
    return it == unitNames_.end() ? nullptr : &it->second;
  }

  /// Reads the clause whose word "uses" is at j; j ends on the clause's ";" (or, for a clause
  /// cut off by the end of the tokens, on the last token).
  void Read(const TokenList& tokens, std::size_t& j, const ClauseSource& source, bool inInterface) {
    const std::size_t count = tokens.size();
    const UsesSection section = !source.isUnit ? UsesSection::Main
                                : inInterface  ? UsesSection::Interface
                                               : UsesSection::Implementation;
    char direction = 'R';
    for (;;) {
      ++j;
      if (j >= count) {  // the file ends where a unit name belongs
        j = count - 1;
        return;
      }
      if (KindAt(tokens, j) != tkIdentifier) {  // not a unit name: drop the rest
        SkipClause(tokens, j);
        return;
      }
      std::string name = tokens[j]->GetText();
      while (j + 2 < count && KindAt(tokens, j + 1) == tkDot &&
             KindAt(tokens, j + 2) == tkIdentifier) {
        name += '.';
        name += tokens[j + 2]->GetText();
        j += 2;
      }
      auto node = std::make_unique<TUnitNode>(name, inInterface ? 1 : 0);
      TUnitNode* parent = tree_.FindNode(source.key);
      if (parent == nullptr) {
        direction = 'L';
        parent = tree_.RootNode();
      }
      std::string fileName = name + ".pas";
      UsesMention mention{source.entry, nullptr, tree_.AddNode(parent, std::move(node), direction),
                          section, std::nullopt};

      bool malformed = false;
      ++j;
      while (j < count && KindAt(tokens, j) != tkComma && KindAt(tokens, j) != tkSemicolon) {
        if (KindAt(tokens, j) == tkIn) {
          std::string literal;
          if (j + 1 < count && KindAt(tokens, j + 1) == tkString)
            literal = tokens[j + 1]->GetText();
          if (literal.size() <= 2) {  // no file name after "in"
            malformed = true;
            break;
          }
          fileName = literal.substr(1, literal.size() - 2);
          mention.inPath = fileName;
        }
        ++j;
      }
      mention.to = &AddUnit(name, fileName, mention.inPath.has_value(), source);
      uses_.push_back(std::move(mention));
      if (malformed) {
        SkipClause(tokens, j);
        return;
      }
      if (j >= count) {  // the file ends inside the entry
        j = count - 1;
        return;
      }
      if (KindAt(tokens, j) == tkSemicolon) return;
    }
  }

 private:
  /// Moves j to the next ";" or the last token.
  static void SkipClause(const TokenList& tokens, std::size_t& j) {
    while (j + 1 < tokens.size() && KindAt(tokens, j) != tkSemicolon) ++j;
  }

  /// The list entry of a unit named in a clause: under compiler rules a unit named with "in"
  /// in the root file becomes known by name and any other is found by the rules; else the
  /// entry of fileName.
  const std::string& AddUnit(const std::string& name, const std::string& fileName, bool withIn,
                             const ClauseSource& source) {
    if (!resolver_) return AddFile(fileName);
    const std::string* entry = nullptr;
    if (withIn) {
      entry = &AddFile(fileName);
      if (source.isRoot) resolver_->Know(name, *entry);
    } else {
      entry = &list_.Entry(resolver_->Locate(name));
    }
    unitNames_.emplace(entry, name);
    return *entry;
  }

  /// The list entry of a file name, located and added when it is new.
  const std::string& AddFile(const std::string& fileName) {
    auto known = located_.find(fileName);
    if (known == located_.end()) {
      known = located_.emplace(fileName, LocatedFile{LocateUnitFile(fileName, lookup_)}).first;
    }
    // Entries never leave the list during an analysis: a name once in it needs no new look.
    if (known->second.entry == nullptr) known->second.entry = &list_.Entry(known->second.name);
    return *known->second.entry;
  }

  struct LocatedFile {
    std::string name;                    // what LocateUnitFile made of the file name
    const std::string* entry = nullptr;  // the equal entry of the list, once it is there
  };

  TUnitTree& tree_;
  std::vector<UsesMention>& uses_;
  UnitFileList& list_;
  const UnitLookup& lookup_;
  // Where each file name was found: the disk is looked at once per name and analysis.
  std::unordered_map<std::string, LocatedFile> located_;
  std::optional<UnitResolver> resolver_;                           // under compiler rules
  std::unordered_map<const std::string*, std::string> unitNames_;  // under compiler rules
};

/// The text that stands for a package root under compiler rules: its units named with "in".
std::vector<std::string> PackageRootLines(const std::string& root,
                                          const std::vector<ProjectUnit>& units) {
  std::vector<std::string> lines{"package " + BaseNameOf(root) + ";", "uses"};
  for (const ProjectUnit& unit : units)
    lines.push_back("  " + unit.name + " in '" + ReplaceAll(unit.file, "'", "''") + "',");
  if (!units.empty()) lines.back().back() = ';';
  lines.push_back("end.");
  return lines;
}

/// Scans one file as the compiler reads it (a package root: as its units named with "in").
void ScanCompiled(TScanner& scanner, LineReader& lines, const std::string& file, bool isRoot,
                  const CompilerRules& rules, const std::vector<std::string>& includeFolders,
                  std::vector<std::string>& warnings) {
  Conditionals conditionals(rules.symbols);
  CompiledTokens tokens(conditionals, file, includeFolders, warnings);
  std::vector<std::string> packageLines;
  if (isRoot && !rules.rootUnits.empty()) {
    packageLines = PackageRootLines(file, rules.rootUnits);
    scanner.SetSource(&packageLines);
  } else {
    scanner.SetSource(lines);
  }
  scanner.Source = &tokens;
  scanner.Scan();
  scanner.Source = nullptr;
  scanner.Buffer.Reset();
  scanner.SetSource(lines);  // the buffer lets go of the package's lines before they go
  conditionals.Finish();
  warnings.insert(warnings.end(), conditionals.Warnings().begin(), conditionals.Warnings().end());
}

}  // namespace

void ProcessUnitFiles(UnitFileList& list, UnitLookup lookup) {
  UnitAnalysisState& state = UnitAnalysis();
  TUnitTree& tree = state.UnitTree;
  state.ProjectFolder = FolderPart(state.StartFile);
  lookup.projectFolder = state.ProjectFolder;
  tree.AddNode(nullptr, std::make_unique<TUnitNode>(state.StartFile, 1), 'L');

  TScanner scanner;
  ClauseReader reader(state, list, lookup);
  std::string current = state.StartFile;
  ClauseSource source;
  // Each clause is read as soon as the scanner has it; the file streams past line by line.
  scanner.OnUsesClause = [&](const TokenList& clause, bool inInterface) {
    source.isUnit = scanner.HeadingKind == tkUnit;
    std::size_t j = 0;
    reader.Read(clause, j, source, inInterface);
  };
  source.entry = &list.MarkTaken(current);
  const std::string* rootEntry = source.entry;
  const CompilerRules* rules = lookup.rules.get();
  const std::vector<std::string> includeFolders =
      rules != nullptr ? RuleIncludeFolders(*rules, lookup) : std::vector<std::string>();
  for (;;) {
    if (Fs().FileExists(current)) {
      // Only a regular file is opened: a pipe or device named in a uses clause (in '...' may
      // lead anywhere) would hang the run or never end.
      OpenedFile opened = Fs().OpenRead(current, Readable::FileOnly);
      if (!opened.file) {
        throw IoError("Cannot open \"" + current + "\": " + opened.whyNot, opened.whyNot);
      }
      LineReader lines = ReadLines(*opened.file);
      source.key = BaseNameOf(current);
      source.isRoot = source.entry == rootEntry;
      scanner.Buffer.Reset();
      if (rules == nullptr) {
        scanner.SetSource(lines);
        scanner.Scan();
      } else {
        if (const std::string* name = reader.UnitNameOf(source.entry)) source.key = *name;
        ScanCompiled(scanner, lines, current, source.isRoot, *rules, includeFolders,
                     state.Warnings);
      }
      scanner.Buffer.Reset();
    }
    std::optional<std::string> next = list.FirstUntaken();
    if (!next) return;
    current = std::move(*next);
    source.entry = &list.MarkTaken(current);
  }
}

void BuildUnitTree(const std::string& fileName, const UnitLookup& lookup) {
  ClearUnitAnalysis();
  Fs().ClearCache();
  UnitAnalysisState& state = UnitAnalysis();
  state.UnitFiles.Add(fileName);
  state.StartFile = fileName;
  ProcessUnitFiles(state.UnitFiles, lookup);
}

}  // namespace ravelin
