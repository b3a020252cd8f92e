// The unit dependency table: the unit tree inverted into a tree of unit names, and its rows.
#include "units/UnitDpnd.h"

#include "common/Checked.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "units/UnitScan.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------
// TDpndTree

std::int32_t TDpndTree::Compare(const TreeKey& key1, const TreeKey& key2) const {
  return CompareUnitKeys(key1, key2);
}

TreeKey TDpndTree::GetKey(const TTreeNode& node) const {
  return static_cast<const TDpndNode&>(node).Name;
}

TTreeNode* TDpndTree::Add(const TreeKey& key, const NodeFactory& createNode) {
  std::string upper = UpperText(KeyText(key));
  auto next = byUpperName_.lower_bound(upper);
  if (next != byUpperName_.end() && next->first == upper) return next->second;
  // The descent of a new key ends at an empty slot of one of its neighbours in key order:
  // the one that lies deeper, which is the neighbour whose slot on the key's side is empty.
  std::unique_ptr<TTreeNode>* slot = &Root;
  if (next != byUpperName_.begin() && !std::prev(next)->second->Right)
    slot = &std::prev(next)->second->Right;
  else if (next != byUpperName_.end())
    slot = &next->second->Left;
  std::unique_ptr<TTreeNode> created = createNode ? createNode(key) : nullptr;
  auto* node = dynamic_cast<TDpndNode*>(created.get());
  if (node == nullptr) return nullptr;
  ReleaseSubtree(node->Left);
  ReleaseSubtree(node->Right);
  *slot = std::move(created);
  known_.emplace(upper, node);
  byUpperName_.emplace_hint(next, std::move(upper), node);
  return node;
}

TDpndNode* TDpndTree::AddName(const std::string& name) {
  auto known = known_.find(UpperText(name));
  if (known != known_.end()) return known->second;
  return static_cast<TDpndNode*>(Add(name, CreateDpndNode));
}

void TDpndTree::Clear() {
  TTree::Clear();
  byUpperName_.clear();
  known_.clear();
}

std::unique_ptr<TTreeNode> CreateDpndNode(const TreeKey& key) {
  return std::make_unique<TDpndNode>(KeyText(key));
}

// ---------------------------------------------------------------------------------------
// The table

namespace {

/// Entries of 10 characters each, one row's width in front of them: a row wraps once its
/// entries reach this column.
constexpr int kWrapColumn = 87;
/// The width of a row's number, gap and name cell: the indent of a continuation line.
constexpr int kContinuationIndent = 18;

/// A cell width: 10, or the next multiple of 10 above the length when longer than limit.
int CellWidth(std::size_t length, std::size_t limit) {
  if (length <= limit) return 10;
  return static_cast<int>((length / 10 + 1) * 10);
}

}  // namespace

void InvertUnitTree(TUnitTree& unitTree, TDpndTree& dependencies) {
  unitTree.ForEachWithParent([&](TUnitNode& node, TUnitNode* parent) {
    TDpndNode* entry = dependencies.AddName(node.Name);
    if (parent != nullptr) entry->UsedBy.push_back(parent->Name);
  });
}

void DependencyTable::WriteTableHeader(const std::string& banner) {
  WriteReportBanner(f_, banner);
  f_.WriteLineEnd();
  f_.Text.append(CenterText("Unit Dependency Table for " + TitleName, kReportWidth));
  f_.WriteLineEnd();
  f_.WriteLineEnd();
  f_.Text.append(" No.  __unit__    __is_used_by_");
  f_.WriteLineEnd();
  f_.Text.append(" ---  --------    ");
  for (int i = 0; i < MaxPerLine; ++i) f_.Text.append("--------  ");
  f_.WriteLineEnd();
}

void DependencyTable::WriteUserEntry(int index, const std::string& name) {
  if (index == 0) LineColumn = 0;
  if (EntriesInLine == MaxPerLine || LineColumn >= kWrapColumn) {
    f_.WriteLineEnd();
    f_.Text.append(std::string(kContinuationIndent, ' '));
    EntriesInLine = 0;
    LineColumn = 0;
  }
  if (name.empty()) {
    f_.Text.append(" ------ ");
    LineColumn += 8;
  } else {
    int width = CellWidth(name.size(), 9);
    f_.Text.append(PadRight(name, width));
    CheckedAdd(LineColumn, width);
  }
  ++EntriesInLine;
}

void DependencyTable::WriteTableRow(const TTreeNode* node) {
  EntriesInLine = 0;
  const auto* entry = dynamic_cast<const TDpndNode*>(node);
  if (entry == nullptr) {
    f_.Text.append(" Inverted Tree Error ");
    f_.WriteLineEnd();
  } else {
    std::string name = NamePart(entry->Name);
    int width = CellWidth(name.size(), 11);
    f_.Text.append(IntToStrWidth(RowNumber, 4));
    f_.Text.append("  ");
    f_.Text.append(PadRight(name, width + 2));
    if (entry->UsedBy.empty()) {
      f_.Text.append("*base unit*");
    } else {
      for (std::size_t i = 0; i < entry->UsedBy.size(); ++i)
        WriteUserEntry(static_cast<int>(i), entry->UsedBy[i]);
    }
    f_.WriteLineEnd();
  }
  CheckedInc(RowNumber);
}

void WriteDependencyTable(TUnitTree& unitTree, const std::string& rootName,
                          const std::string& banner, ReportWriter& f) {
  DependencyTable table(f, rootName);
  table.WriteTableHeader(banner);
  TDpndTree dependencies;
  InvertUnitTree(unitTree, dependencies);
  dependencies.ForEach([&](TTreeNode& node) { table.WriteTableRow(&node); });
}

void WriteDependencyTable(const std::string& rootName, const std::string& reportFile) {
  ReportWriter f;
  OpenReportFile(f, reportFile);
  WriteUnitReport(UnitReportKind::Depend, UnitAnalysis(), rootName, f);
}

}  // namespace ravelin
