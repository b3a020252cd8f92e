// The unit dependency table: the unit tree's "uses" relation inverted into a tree ordered by
// unit name, one numbered row per unit with the units whose clauses name it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "units/Tree.h"
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
  std::int32_t Compare(const TTreeKey& key1, const TTreeKey& key2) const override;
  /// The node's Name as a text key.
  TTreeKey GetKey(const TTreeNode& node) const override;
  /// Add of the search tree (same result, same place for a new node, when createNode makes a
  /// TDpndNode named by the key as CreateDpndNode does), answered in logarithmic time however
  /// deep the unbalanced tree has grown. Nodes are added through this class only.
  TTreeNode* Add(const TTreeKey& key, const TCreateNode& createNode);
  /// Add with CreateDpndNode: the node for name, created when there is none.
  TDpndNode* AddName(const std::string& name);
  /// Destroys every node.
  void Clear() override;

 private:
  std::map<std::string, TDpndNode*> byUpperName_;      // every node, by key in capitals
  std::unordered_map<std::string, TDpndNode*> known_;  // the same, for finding by name
};

/// A new dependency node whose Name is the key as text.
std::unique_ptr<TTreeNode> CreateDpndNode(const TTreeKey& key);
/// Visit routine of ForEachWithParent while a table is written: files node's name in the
/// dependency tree being built and, when there is a parent, records the parent as a user.
void AddUnitUse(TUnitNode& node, TUnitNode* parent);

/// Makes f the table being written, with titleName in its title, 9 entries per line and row
/// number 1 (none ends it).
void BeginDependencyTable(TReportFile* f, const std::string& titleName);
/// Writes the banner, the title and the column heads of the table.
void WriteTableHeader();
/// Writes the row of one unit (" Inverted Tree Error " for none); the row number advances.
void WriteTableRow(TTreeNode* node);
/// Writes one user entry of a row, starting a continuation line when the line is full.
void WriteUserEntry(int index, const std::string& name);

/// The dependency table of the unit tree, appended to reportFile (created when missing);
/// rootName appears in the title only.
void WriteDependencyTable(const std::string& rootName, const std::string& reportFile);
/// The dependency table, appended to out.
void WriteDependencyTableText(const std::string& rootName, std::string& out);

}  // namespace ravelin
