// The unit dependency table: the unit tree's "uses" relation inverted into a tree ordered by
// unit name, one numbered row per unit with the units whose clauses name it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "units/Tree.h"
#include "units/UnitReports.h"
#include "units/UnitTree.h"

namespace ravelin {

/// One unit name of the dependency table with the units that name it.
class TDpndNode : public TTreeNode {
 public:
  /// A node for a name, used by nobody yet.
  explicit TDpndNode(std::string name) : Name(std::move(name)) {}

  /// The unit name as first met (the root's entry: the analysed file's name as given).
  std::string Name;
  /// The units whose uses clauses name this unit, in the order met; duplicates kept.
  std::vector<std::string> UsedBy;
};

/// The dependency tree: an unbalanced search tree of unit names (ASCII case ignored).
class TDpndTree : public TTree {
 public:
  /// Unit names in capitals, byte by byte; integer keys as decimal text.
  std::int32_t Compare(const TreeKey& key1, const TreeKey& key2) const override;
  /// The node's Name as a text key.
  TreeKey GetKey(const TTreeNode& node) const override;
  /// Add of the search tree (same result, same place for a new node, when createNode makes a
  /// TDpndNode named by the key as CreateDpndNode does), answered in logarithmic time however
  /// deep the unbalanced tree has grown. Nodes are added through this class only.
  TTreeNode* Add(const TreeKey& key, const NodeFactory& createNode);
  /// Add with CreateDpndNode: the node for name, created when there is none.
  TDpndNode* AddName(const std::string& name);
  /// Destroys every node.
  void Clear() override;

 private:
  std::map<std::string, TDpndNode*> byUpperName_;      // every node, by key in capitals
  std::unordered_map<std::string, TDpndNode*> known_;  // the same, for finding by name
};

/// A new dependency node whose Name is the key as text.
std::unique_ptr<TTreeNode> CreateDpndNode(const TreeKey& key);
/// The unit tree's "uses" relation inverted: one node per unit name (ASCII case ignored), in
/// name order, with the names of the units whose clauses name it (the parents of its nodes).
void InvertUnitTree(TUnitTree& unitTree, TDpndTree& dependencies);

/// The dependency table being written: its header, then one row per dependency node.
class DependencyTable {
 public:
  /// A table written into f, with titleName in its title, 9 entries per line and row number 1.
  DependencyTable(ReportWriter& f, std::string titleName)
      : TitleName(std::move(titleName)), f_(f) {}

  /// Writes the banner, the title and the column heads of the table.
  void WriteTableHeader(const std::string& banner);
  /// Writes the row of one unit (" Inverted Tree Error " for none); the row number advances.
  void WriteTableRow(const TTreeNode* node);
  /// Writes one user entry of a row, starting a continuation line when the line is full.
  void WriteUserEntry(int index, const std::string& name);

  std::string TitleName;       ///< the name shown in the title line
  int MaxPerLine = 9;          ///< entries per table line
  std::int32_t RowNumber = 1;  ///< number of the next row
  int EntriesInLine = 0;       ///< entries written on the current table line
  int LineColumn = 0;          ///< width of the entries written on the current table line

 private:
  ReportWriter& f_;
};

/// The dependency table of unitTree, written into f under banner; rootName appears in the
/// title only.
void WriteDependencyTable(TUnitTree& unitTree, const std::string& rootName,
                          const std::string& banner, ReportWriter& f);
/// The dependency table of the last analysis, appended to reportFile (created when missing).
void WriteDependencyTable(const std::string& rootName, const std::string& reportFile);

}  // namespace ravelin
