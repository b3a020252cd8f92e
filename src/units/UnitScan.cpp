// The analysis: scanning files into tokens, reading their uses clauses into the unit tree and
// finding the unit files named there.
#include <typeinfo>
#include <unordered_map>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"
#include "units/UnitTree.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------
// TScanner

namespace {

/// The node class of a token kind: 0 symbol, 1 word, 2 identifier, 3 real, 4 integer,
/// 5 string; -1 for the kinds that get no node.
int NodeClass(TTokenKind kind) {
  if (kind >= 9 && kind <= 31) return 0;
  if (kind >= 32 && kind <= 137) return 1;
  if (kind >= tkIdentifier && kind <= tkString) return kind - tkIdentifier + 2;
  return -1;
}

/// The node class of a node, by its actual type.
int NodeClass(const TTokenNode& node) {
  const std::type_info& type = typeid(node);
  if (type == typeid(TSymbolNode)) return 0;
  if (type == typeid(TPasWordNode)) return 1;
  if (type == typeid(TIdentNode)) return 2;
  if (type == typeid(TLitFloat)) return 3;
  if (type == typeid(TLitInteger)) return 4;
  if (type == typeid(TLitString)) return 5;
  return -1;
}

}  // namespace

void TScanner::ClearTokens() {
  for (auto& node : Tokens) {
    int kind = node ? NodeClass(*node) : -1;
    if (kind < 0) continue;
    node->Data.reset();
    spare_[kind].push_back(std::move(node));
  }
  Tokens.clear();
}

std::unique_ptr<TTokenNode> TScanner::NewNode(int nodeClass) {
  auto& spare = spare_[static_cast<std::size_t>(nodeClass) % 6];
  if (!spare.empty()) {
    std::unique_ptr<TTokenNode> node = std::move(spare.back());
    spare.pop_back();
    return node;
  }
  switch (nodeClass) {
    case 0:
      return std::make_unique<TSymbolNode>();
    case 1:
      return std::make_unique<TPasWordNode>();
    case 2:
      return std::make_unique<TIdentNode>();
    case 3:
      return std::make_unique<TLitFloat>();
    case 4:
      return std::make_unique<TLitInteger>();
    default:
      return std::make_unique<TLitString>();
  }
}

bool TScanner::Scan() {
  ClearTokens();
  std::string text;
  bool inClause = false;    // with OnUsesClause: Tokens hold a clause being read
  bool inInterface = true;  // no word implementation yet outside a clause
  while (!AtEnd()) {
    text.clear();
    TTokenKind kind = NextToken(text);
    int nodeClass = NodeClass(kind);
    if (nodeClass < 0) continue;  // comments and the kinds the scanner never gives
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
// TUnitFileList

bool TUnitFileList::Less::operator()(std::string_view a, std::string_view b) const {
  return CompareUpperText(a, b) < 0;
}

bool TUnitFileList::Add(const std::string& name) {
  auto [it, added] = entries_.try_emplace(name, false);
  if (added) untaken_.insert(std::string_view(it->first));
  return added;
}

bool TUnitFileList::Contains(std::string_view name) const {
  return entries_.find(name) != entries_.end();
}

void TUnitFileList::MarkTaken(const std::string& name) {
  auto it = entries_.try_emplace(name, false).first;
  it->second = true;
  untaken_.erase(std::string_view(it->first));
}

bool TUnitFileList::IsTaken(std::string_view name) const {
  auto it = entries_.find(name);
  return it != entries_.end() && it->second;
}

std::optional<std::string> TUnitFileList::FirstUntaken() const {
  if (untaken_.empty()) return std::nullopt;
  return std::string(*untaken_.begin());
}

std::vector<std::string> TUnitFileList::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const auto& entry : entries_) names.push_back(entry.first);
  return names;
}

void TUnitFileList::Clear() {
  untaken_.clear();
  entries_.clear();
}

// ---------------------------------------------------------------------------------------
// Module state

std::string StartFile;
std::string ProjectFolder;

TUnitFileList& UnitFiles() {
  static TUnitFileList list;
  return list;
}

std::vector<std::string> UnitFileNames() {
  return UnitFiles().Names();
}

TUnitTree& TheUnitTree() {
  static TUnitTree tree;
  return tree;
}

void ClearUnitAnalysis() {
  UnitFiles().Clear();
  TheUnitTree().Clear();
}

void ResetUnitAnalysisState() {
  ClearUnitAnalysis();
  StartFile.clear();
  ProjectFolder.clear();
  ReportBanner = "RAVELIN REPORT";
}

// ---------------------------------------------------------------------------------------
// Unit lookup

namespace {

/// The name as spelled on disk when it exists, else as given.
std::string DiskSpelling(const std::string& fullName) {
  auto resolved = Fs().Resolve(fullName);
  return resolved ? *resolved : fullName;
}

bool HasFolderPart(std::string_view name) {
  return name.find_first_of("/\\") != std::string_view::npos;
}

}  // namespace

std::string SearchSourceFolder(const std::string& folder, const std::string& name) {
  std::string direct = folder + name;
  if (Fs().FileExists(direct)) return DiskSpelling(Fs().FullPath(direct));
  for (const DirEntry& entry : Fs().ListFolder(folder)) {
    if (!entry.isDir) continue;
    std::string candidate = JoinPath(JoinPath(folder, entry.name), name);
    if (Fs().FileExists(candidate)) return DiskSpelling(Fs().FullPath(candidate));
  }
  return name;
}

std::string LocateUnitFile(const std::string& name) {
  if (HasFolderPart(name)) return DiskSpelling(Fs().FullPath(name));
  if (Fs().FileExists(name)) return DiskSpelling(Fs().FullPath(ProjectFolder + name));
  if (UseSearchPath) {
    std::string paths = SearchPaths;
    while (!paths.empty()) {
      std::string folder = SplitFirst(paths, ";");
      if (folder.empty()) continue;
      std::string candidate = JoinPath(folder, name);
      if (Fs().FileExists(candidate)) {
        // The folder as configured, the file name as found on disk.
        auto resolved = Fs().Resolve(candidate);
        return resolved ? JoinPath(folder, NamePart(*resolved)) : candidate;
      }
    }
  }
  if (!VclPath.empty() && UseVcl) {
    std::string found = SearchSourceFolder(VclPath, name);
    if (found != name) return found;
  }
  if (!RtlPath.empty() && UseRtl) {
    std::string found = SearchSourceFolder(RtlPath, name);
    if (found != name) return found;
  }
  return name;
}

// ---------------------------------------------------------------------------------------
// The analysis loop

namespace {

using TTokens = TScanner::TTokens;

TTokenKind KindAt(const TTokens& tokens, std::size_t j) {
  return tokens[j]->Kind;
}

/// Reads the uses clauses of the files of one analysis into the unit tree and the list.
class TClauseReader {
 public:
  TClauseReader(TUnitTree& tree, TUnitFileList& list) : tree_(tree), list_(list) {}

  /// Reads the clause whose word "uses" is at j; j ends on the clause's ";" (or, for a clause
  /// cut off by the end of the tokens, on the last token).
  void Read(const TTokens& tokens, std::size_t& j, const std::string& fileKey, bool inInterface) {
    const std::size_t count = tokens.size();
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
      TUnitNode* parent = tree_.FindNode(fileKey);
      if (parent == nullptr) {
        direction = 'L';
        parent = tree_.RootNode();
      }
      std::string fileName = name + ".pas";
      tree_.AddNode(parent, std::move(node), direction);

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
        }
        ++j;
      }
      AddFile(fileName);
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
  static void SkipClause(const TTokens& tokens, std::size_t& j) {
    while (j + 1 < tokens.size() && KindAt(tokens, j) != tkSemicolon) ++j;
  }

  void AddFile(const std::string& fileName) {
    auto known = located_.find(fileName);
    if (known == located_.end()) known = located_.emplace(fileName, LocateUnitFile(fileName)).first;
    // Entries never leave the list during an analysis: a name once in it needs no new look.
    if (known->second.inList) return;
    list_.Add(known->second.name);
    known->second.inList = true;
  }

  struct TLocated {
    TLocated(std::string located) : name(std::move(located)) {}
    std::string name;     // what LocateUnitFile made of the file name
    bool inList = false;  // an equal entry is in the list
  };

  TUnitTree& tree_;
  TUnitFileList& list_;
  // Where each file name was found: the disk is looked at once per name and analysis.
  std::unordered_map<std::string, TLocated> located_;
};

}  // namespace

void ProcessUnitFiles(TUnitFileList& list) {
  TUnitTree& tree = TheUnitTree();
  ProjectFolder = FolderPart(StartFile);
  tree.AddNode(nullptr, std::make_unique<TUnitNode>(StartFile, 1), 'L');

  TScanner scanner;
  TClauseReader reader(tree, list);
  std::string current = StartFile;
  std::string fileKey;
  // Each clause is read as soon as the scanner has it; the file streams past line by line.
  scanner.OnUsesClause = [&](const TTokens& clause, bool inInterface) {
    std::size_t j = 0;
    reader.Read(clause, j, fileKey, inInterface);
  };
  list.MarkTaken(current);
  for (;;) {
    if (Fs().FileExists(current)) {
      // Only a regular file is opened: a pipe or device named in a uses clause (in '...' may
      // lead anywhere) would hang the run or never end.
      OpenedFile opened = Fs().OpenRead(current, Readable::FileOnly);
      if (!opened.file) {
        throw IoError("Cannot open \"" + current + "\": " + opened.whyNot, opened.whyNot);
      }
      LineReader lines = ReadLines(*opened.file);
      fileKey = BaseNameOf(current);
      scanner.Buffer.Reset();
      scanner.SetSource(lines);
      scanner.Scan();
      scanner.Buffer.Reset();
    }
    std::optional<std::string> next = list.FirstUntaken();
    if (!next) return;
    current = std::move(*next);
    list.MarkTaken(current);
  }
}

void BuildUnitTree(const std::string& fileName) {
  ClearUnitAnalysis();
  Fs().ClearCache();
  UnitFiles().Add(fileName);
  StartFile = fileName;
  ProcessUnitFiles(UnitFiles());
}

}  // namespace ravelin
