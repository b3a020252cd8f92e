#include "units/UnitDpnd.h"

#include "common/Checked.h"
#include "common/PathUtil.h"
#include "common/VornString.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------
// TDpndTree

std::int32_t TDpndTree::Compare(const TTreeKey& key1, const TTreeKey& key2) const {
  return CompareUnitKeys(key1, key2);
}

TTreeKey TDpndTree::GetKey(const TTreeNode& node) const {
  return static_cast<const TDpndNode&>(node).Name;
}

TTreeNode* TDpndTree::Add(const TTreeKey& key, const TCreateNode& createNode) {
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

std::unique_ptr<TTreeNode> CreateDpndNode(const TTreeKey& key) {
  return std::make_unique<TDpndNode>(KeyText(key));
}

// ---------------------------------------------------------------------------------------
// The table being written

namespace {

TReportFile* TableFile = nullptr;
TDpndTree* TableTree = nullptr;
std::string TitleName;
int MaxPerLine = 9;
std::int32_t RowNumber = 1;
int EntriesInLine = 0;
int LineColumn = 0;

void Write(std::string_view text) {
  if (TableFile != nullptr) TableFile->Text.append(text);
}

void WriteLineEnd() {
  Write("\r\n");
}

/// A cell width: 10, or the next multiple of 10 above the length when longer than limit.
int CellWidth(std::size_t length, std::size_t limit) {
  if (length <= limit) return 10;
  return static_cast<int>((length / 10 + 1) * 10);
}

}  // namespace

void AddUnitUse(TUnitNode& node, TUnitNode* parent) {
  if (TableTree == nullptr) return;
  TDpndNode* entry = TableTree->AddName(node.Name);
  if (parent != nullptr) entry->UsedBy.push_back(parent->Name);
}

void BeginDependencyTable(TReportFile* f, const std::string& titleName) {
  TableFile = f;
  TitleName = titleName;
  MaxPerLine = 9;
  RowNumber = 1;
  EntriesInLine = 0;
  LineColumn = 0;
}

void WriteTableHeader() {
  if (TableFile != nullptr) WriteReportBanner(*TableFile);
  WriteLineEnd();
  Write(CenterText("Unit Dependency Table for " + TitleName, 100));
  WriteLineEnd();
  WriteLineEnd();
  Write(" No.  __unit__    __is_used_by_");
  WriteLineEnd();
  Write(" ---  --------    ");
  for (int i = 0; i < MaxPerLine; ++i) Write("--------  ");
  WriteLineEnd();
}

void WriteUserEntry(int index, const std::string& name) {
  if (index == 0) LineColumn = 0;
  if (EntriesInLine == MaxPerLine || LineColumn >= 87) {
    WriteLineEnd();
    Write(std::string(18, ' '));
    EntriesInLine = 0;
    LineColumn = 0;
  }
  if (name.empty()) {
    Write(" ------ ");
    LineColumn += 8;
  } else {
    int width = CellWidth(name.size(), 9);
    Write(PadRight(name, width));
    CheckedAdd(LineColumn, width);
  }
  ++EntriesInLine;
}

void WriteTableRow(TTreeNode* node) {
  EntriesInLine = 0;
  auto* entry = dynamic_cast<TDpndNode*>(node);
  if (entry == nullptr) {
    Write(" Inverted Tree Error ");
    WriteLineEnd();
  } else {
    std::string name = NamePart(entry->Name);
    int width = CellWidth(name.size(), 11);
    Write(IntToStrWidth(RowNumber, 4));
    Write("  ");
    Write(PadRight(name, width + 2));
    if (entry->UsedBy.empty()) {
      Write("*base unit*");
    } else {
      for (std::size_t i = 0; i < entry->UsedBy.size(); ++i)
        WriteUserEntry(static_cast<int>(i), entry->UsedBy[i]);
    }
    WriteLineEnd();
  }
  CheckedInc(RowNumber);
}

namespace {

void WriteDependencyTableTo(TReportFile& f, const std::string& rootName) {
  TDpndTree tree;
  try {
    BeginDependencyTable(&f, rootName);
    WriteTableHeader();
    TableTree = &tree;
    TheUnitTree().ForEachWithParent(AddUnitUse);
    tree.ForEach([](TTreeNode& node) { WriteTableRow(&node); });
  } catch (...) {
    TableFile = nullptr;
    TableTree = nullptr;
    f.Text.clear();  // a report reaches its file whole or not at all
    throw;
  }
  TableFile = nullptr;
  TableTree = nullptr;
  f.Close();
}

}  // namespace

void WriteDependencyTable(const std::string& rootName, const std::string& reportFile) {
  TReportFile f;
  OpenReportFile(f, reportFile);
  WriteDependencyTableTo(f, rootName);
}

void WriteDependencyTableText(const std::string& rootName, std::string& out) {
  TReportFile f;
  OpenReportText(f, out);
  WriteDependencyTableTo(f, rootName);
}

}  // namespace ravelin
