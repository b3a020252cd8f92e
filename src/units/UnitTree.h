// The unit analysis: the unit tree (which unit names which), the scanner that collects a
// file's tokens, the walk over a root file's uses clauses with the lookup of unit files, the
// process-wide results (the unit file list, the root file, the tree) and the unit file listing
// and tree chart reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
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
#include "units/Tree.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------
// Unit tree

class TUnitTree;
class TUnitFindIndex;

/// One unit name of a uses clause (or the analysed root file) in the unit tree.
class TUnitNode : public TTreeNode {
 public:
  /// A node with the given name and kind and no links.
  TUnitNode(std::string name, std::uint8_t kind) : Name(std::move(name)), Kind(kind) {}

  /// The root's file name as the caller gave it, or the unit name as spelled in the clause.
  /// Not to be changed once the node is in a tree.
  std::string Name;
  /// 1: the root, or named before the word implementation; 0: named after it.
  std::uint8_t Kind = 0;

  /// The next sibling (the Left link), or none.
  TUnitNode* NextSibling() const { return static_cast<TUnitNode*>(Left.get()); }
  /// The first child (the Right link), or none.
  TUnitNode* FirstChild() const { return static_cast<TUnitNode*>(Right.get()); }

 private:
  friend class TUnitTree;
  friend class TUnitFindIndex;
  TUnitNode* parent_ = nullptr;     // the node whose child chain holds this one; none on top
  TUnitNode* lastChild_ = nullptr;  // the end of this node's child chain
  std::uint32_t begin_ = 0;         // where this node's subtree starts in search order
  std::uint32_t end_ = 0;           // where it ends
};

/// The "uses" relation of one analysis: Right is a node's first child, Left its next sibling;
/// the Root and its sibling chain form the top level. Nodes enter only through AddNode.
class TUnitTree : public TTree {
 public:
  /// Receives one node of a chart walk.
  using TChartVisit = std::function<void(TUnitNode& node)>;
  /// Receives one node and its parent (none on the top level).
  using TParentVisit = std::function<void(TUnitNode& node, TUnitNode* parent)>;

  /// An empty tree.
  TUnitTree();
  /// Destroys every node.
  ~TUnitTree() override;

  /// During WalkChart: the depth of the node being visited, 0 on the top level.
  std::uint16_t Level = 0;
  /// During WalkChart: whether the node being visited has a next sibling.
  bool HasSibling = false;

  /// Unit names in capitals, byte by byte; integer keys as decimal text.
  std::int32_t Compare(const TTreeKey& key1, const TTreeKey& key2) const override;
  /// The node's Name as a text key.
  TTreeKey GetKey(const TTreeNode& node) const override;

  /// Attaches node ("L": as the last sibling of parent; any other letter: as its last child;
  /// lower case as upper case). With no parent an empty tree takes node as its Root, otherwise
  /// the Root stands for the parent. Returns the node, now owned by the tree.
  TUnitNode* AddNode(TUnitNode* parent, std::unique_ptr<TUnitNode> node, char direction);
  /// The node a search of the whole tree meets last among the nodes named key (ignoring
  /// ASCII case), where the search (node, its later siblings, then its children) does not
  /// look past a match; none when there is no such node.
  TUnitNode* FindNode(const TTreeKey& key) const;
  /// Calls visit (when given) with every node in chart order (node, its children, its later
  /// siblings), with Level and HasSibling describing that node. Throws OverflowError when the
  /// depth passes 65,535.
  void WalkChart(const TChartVisit& visit);
  /// Calls visit with every node and its parent: node, its children, then its later siblings.
  void ForEachWithParent(const TParentVisit& visit);
  /// Destroys every node.
  void Clear() override;

  /// The Root as a unit node, or none.
  TUnitNode* RootNode() const { return static_cast<TUnitNode*>(Root.get()); }
  /// Nodes are attached with AddNode only.
  TTreeNode* Add(const TTreeKey& key, const TCreateNode& createNode) = delete;

 private:
  std::unique_ptr<TUnitFindIndex> index_;
  TUnitNode* lastTop_ = nullptr;  // the end of the top-level chain
};

// ---------------------------------------------------------------------------------------
// Scanning and the unit file list

/// The Pascal scanner of the unit analysis: it collects significant tokens as token nodes.
class TScanner : public TVornPasScanner {
 public:
  /// A list of token nodes.
  using TTokens = std::vector<std::unique_ptr<TTokenNode>>;
  /// Receives one uses clause: its tokens from the word uses up to its ";" (or up to the end
  /// of the file), and whether it stands before the word implementation.
  using TClauseHandler = std::function<void(const TTokens& clause, bool inInterface)>;

  /// Without OnUsesClause: the tokens of the file scanned last, in source order (no
  /// comments). With it: the tokens of the uses clause being read, if any.
  TTokens Tokens;
  /// When set, Scan keeps only the tokens of one uses clause at a time and hands each clause
  /// here as soon as it is complete, so memory follows the largest clause, not the file. A
  /// uses clause is the word uses outside a clause and the tokens after it; the word uses as
  /// the file's last token makes none.
  TClauseHandler OnUsesClause;

  /// Empties Tokens, then fills it from the attached source (see OnUsesClause); returns true.
  bool Scan() override;
  /// Empties Tokens; their nodes are kept to be filled again by the next Scan.
  void ClearTokens();

 private:
  /// A node of a class (0 symbol, 1 word, 2 identifier, 3 real, 4 integer, 5 string), taken
  /// from the spare nodes when there is one.
  std::unique_ptr<TTokenNode> NewNode(int nodeClass);
  std::vector<std::unique_ptr<TTokenNode>> spare_[6];  // by node class
};

/// The unit file list: the root file and every unit file name met, located or not, kept in
/// order of their names in capitals (byte by byte, a proper prefix first); names equal in
/// that order are one entry. Each entry is taken up for scanning at most once.
class TUnitFileList {
 public:
  /// Adds name unless an equal entry exists; true when it was added (not yet taken up).
  bool Add(const std::string& name);
  /// True when an entry equal to name exists.
  bool Contains(std::string_view name) const;
  /// Marks the entry equal to name as taken up (adding it first when missing).
  void MarkTaken(const std::string& name);
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

// ---------------------------------------------------------------------------------------
// Module state of the unit analysis

/// The process-wide unit file list.
TUnitFileList& UnitFiles();
/// UnitFiles entries in their normal (sorted) order.
std::vector<std::string> UnitFileNames();
/// The process-wide unit tree.
TUnitTree& TheUnitTree();
/// The root file of the last analysis, as the caller gave it.
extern std::string StartFile;
/// The folder part of StartFile, with its trailing delimiter.
extern std::string ProjectFolder;
/// The banner of the unit reports: "RAVELIN REPORT", with the time of the last listing.
extern std::string ReportBanner;

/// Empties the unit file list and the unit tree.
void ClearUnitAnalysis();
/// Back to program-start state: empty lists and tree, no root, banner without a time.
void ResetUnitAnalysisState();

// ---------------------------------------------------------------------------------------
// The analysis

/// The whole analysis from one root file: clears the results, enters fileName as the first
/// entry and StartFile, then ProcessUnitFiles. Throws IoError when a file that exists cannot
/// be read; what was gathered until then stays.
void BuildUnitTree(const std::string& fileName);
/// Scans StartFile and then every untaken entry of list in order until none is left, growing
/// the unit tree and adding every unit file named.
void ProcessUnitFiles(TUnitFileList& list);
/// The file under which a unit file name is found (a name with a folder part: that name made
/// full; else the project folder, the search paths, the class and runtime library folders),
/// spelled as on disk; name unchanged when it is found nowhere.
std::string LocateUnitFile(const std::string& name);
/// The file named name directly in folder (folder and name put together as they are), else in
/// one of the entries of folder's listing that is a folder (".", ".." included), as a full path
/// spelled as on disk; name unchanged when it is found nowhere.
std::string SearchSourceFolder(const std::string& folder, const std::string& name);

// ---------------------------------------------------------------------------------------
// Reports

/// A report being written: lines are collected and reach their target when it is closed.
struct TReportFile {
  /// The report file; empty when the text goes to Sink instead.
  std::string FileName;
  /// Where the text goes when FileName is empty.
  std::string* Sink = nullptr;
  /// The text written and not yet closed.
  std::string Text;

  /// Writes line followed by CR LF.
  void WriteLine(std::string_view line);
  /// Appends Text to the file in one piece (FileSystem::AppendReport) or to Sink; Text
  /// becomes empty.
  void Close();
};

/// Binds f to fileName, creating the file when it is missing (appending otherwise).
void OpenReportFile(TReportFile& f, const std::string& fileName);
/// Binds f to the text out: the report is appended to out when f is closed.
void OpenReportText(TReportFile& f, std::string& out);
/// Writes ReportBanner centred in 100 characters, then an empty line.
void WriteReportBanner(TReportFile& f);

/// The clock of the report banner: the current time as seconds since the epoch.
using TReportClock = std::function<std::time_t()>;
/// Replaces the banner's clock (tests); an empty clock restores the real one.
void SetReportClock(TReportClock clock);
/// "yyyy mmm dd @ hh:mm" of a time, local time, the locale's short month name.
std::string FormatBannerTime(std::time_t time);
/// "yyyy.mm.dd hh:mm:ss" of a time, local time.
std::string FormatFileTime(std::time_t time);
/// A size with thousands separated by the locale's separator (a comma when it has none);
/// empty for 0.
std::string FormatFileSize(std::uint64_t size);

/// -1, 0 or 1: the order of two files by their names without folder, in capitals.
int CompareFileNames(std::string_view name1, std::string_view name2);
/// The unit file listing, appended to reportFileName (created when missing).
void WriteUnitList(const std::string& reportFileName);
/// The unit file listing, appended to out.
void WriteUnitListText(std::string& out);

/// The prefix of a chart line: empty on level 0, else previous cut to (level - 1) x 5
/// characters and the node's own marker, with the markers of ancestors turned into "|" or
/// blanks.
std::string ChartPrefix(std::string_view previous, bool hasSibling, int level);
/// Writes the chart line of node into the chart being written (visit routine of WalkChart).
void WriteChartLine(TUnitNode& node);
/// The unit tree chart, appended to reportFileName (created when missing).
void WriteUnitTreeChart(const std::string& reportFileName);
/// The unit tree chart, appended to out.
void WriteUnitTreeChartText(std::string& out);

}  // namespace ravelin
