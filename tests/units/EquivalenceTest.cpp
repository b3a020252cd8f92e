// The analysis against a literal, slow rendering of the same rules: the whole unit file list
// sorted after every file and searched from its start, and the tree searched in full for every
// unit named. On random synthetic projects both must give the same list, tree and reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "LiteralUnitTree.h"
#include "SyntheticProject.h"
#include "UnitTestFiles.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "units/UnitDpnd.h"

namespace ravelin {
namespace {

using testing_units::ProjectTest;
using testing_units::TLiteralTree;

/// The analysis exactly as the rules are written, without any index.
class TLiteralAnalysis : public TLiteralTree {
 public:
  std::vector<std::pair<std::string, bool>> list;  // entry, taken up

  void Build(const std::string& fileName) {
    list = {{fileName, false}};
    ProjectFolder = FolderPart(fileName);
    root = AddNode(nullptr, fileName, 'L', 1);
    std::string current = fileName;
    list[0].second = true;
    TScanner scanner;
    std::vector<std::string> lines;
    for (;;) {
      bool inInterface = true;
      if (Fs().FileExists(current)) {
        scanner.Buffer.Reset();
        lines = SplitLines(Fs().ReadFile(current));
        scanner.SetSource(&lines);
        scanner.Scan();
      }
      const auto& t = scanner.Tokens;
      for (size_t j = 0; j + 1 < t.size(); ++j) {
        if (t[j]->Kind == tkImplementation)
          inInterface = false;
        else if (t[j]->Kind == tkUses)
          ReadClause(t, j, current, inInterface);
      }
      scanner.Tokens.clear();
      lines.clear();
      std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return CompareUpperText(a.first, b.first) < 0;
      });
      size_t next = 0;
      while (next < list.size() && list[next].second) ++next;
      if (next == list.size()) return;
      current = list[next].first;
      list[next].second = true;
    }
  }

 private:
  void ReadClause(const std::vector<std::unique_ptr<TTokenNode>>& t, size_t& j,
                  const std::string& current, bool inInterface) {
    const size_t n = t.size();
    char direction = 'R';
    for (;;) {
      ++j;
      if (j >= n) {
        j = n - 1;
        return;
      }
      if (t[j]->Kind != tkIdentifier) {
        while (j + 1 < n && t[j]->Kind != tkSemicolon) ++j;
        return;
      }
      std::string unit = t[j]->GetText();
      while (j + 2 < n && t[j + 1]->Kind == tkDot && t[j + 2]->Kind == tkIdentifier) {
        unit += "." + t[j + 2]->GetText();
        j += 2;
      }
      Node* parent = FindNode(BaseNameOf(current));
      if (parent == nullptr) {
        direction = 'L';
        parent = root;
      }
      std::string fileName = unit + ".pas";
      AddNode(parent, unit, direction, inInterface ? 1 : 0);
      bool broken = false;
      for (++j; j < n && t[j]->Kind != tkComma && t[j]->Kind != tkSemicolon; ++j) {
        if (t[j]->Kind == tkIn) {
          if (j + 1 < n && t[j + 1]->Kind == tkString && t[j + 1]->GetText().size() > 2) {
            std::string literal = t[j + 1]->GetText();
            fileName = literal.substr(1, literal.size() - 2);
          } else {
            broken = true;
            break;
          }
        }
      }
      fileName = LocateUnitFile(fileName);
      bool known = std::any_of(list.begin(), list.end(), [&](const auto& e) {
        return CompareUpperText(e.first, fileName) == 0;
      });
      if (!known) list.emplace_back(fileName, false);
      if (broken) {
        while (j + 1 < n && t[j]->Kind != tkSemicolon) ++j;
        return;
      }
      if (j >= n) {
        j = n - 1;
        return;
      }
      if (t[j]->Kind == tkSemicolon) return;
    }
  }
};

struct TReports {
  std::string listing, chart, table;
};

TReports AllReports() {
  TReports r;
  WriteUnitListText(r.listing);
  WriteUnitTreeChartText(r.chart);
  WriteDependencyTableText(StartFile, r.table);
  return r;
}

/// Puts the literal result into the module state, node by node in pre-order.
void LoadIntoModule(const TLiteralAnalysis& literal) {
  ClearUnitAnalysis();
  for (const auto& [name, taken] : literal.list) UnitFiles().Add(name);
  using Node = TLiteralAnalysis::Node;
  struct Frame {
    const Node* node;
    TUnitNode* anchor;  // the node whose slot it goes into, none for the root
    char direction;
  };
  std::vector<Frame> stack{{literal.root, nullptr, 'L'}};
  while (!stack.empty()) {
    Frame f = stack.back();
    stack.pop_back();
    if (f.node == nullptr) continue;
    TUnitNode* added = TheUnitTree().AddNode(
        f.anchor, std::make_unique<TUnitNode>(f.node->name, f.node->kind), f.direction);
    stack.push_back({f.node->right, added, 'R'});
    stack.push_back({f.node->left, added, 'L'});
  }
}

class Equivalence : public ProjectTest {};

TEST_F(Equivalence, FastAnalysisMatchesTheLiteralOneOnRandomProjects) {
  struct Row {
    int units, uses;
    std::uint32_t seed;
  } rows[] = {{1, 3, 1},   {5, 4, 2},    {30, 6, 3},   {60, 10, 4},
              {120, 8, 5}, {200, 12, 6}, {300, 20, 7}, {80, 30, 8}};
  for (const auto& row : rows) {
    std::string dir = Path("p" + std::to_string(row.seed));
    synthetic::TOptions options;
    options.units = row.units, options.usesPerUnit = row.uses, options.seed = row.seed;
    options.fillerLines = 2;
    synthetic::TProject project = synthetic::WriteProject(dir, options);
    Fs().SetCurrentFolder(dir);
    SearchPaths = project.searchPaths;
    UseSearchPath = true;
    std::string root = Fs().FullPath(project.rootFile);
    std::string what = "units " + std::to_string(row.units) + " seed " + std::to_string(row.seed);

    BuildUnitTree(root);
    EXPECT_GT(UnitFiles().Count(), static_cast<size_t>(row.units)) << what;
    std::vector<std::string> fastList = UnitFileNames();
    TReports fast = AllReports();

    Fs().ClearCache();
    TLiteralAnalysis literal;
    literal.Build(root);
    std::vector<std::string> slowList;
    for (const auto& [name, taken] : literal.list) {
      EXPECT_TRUE(taken) << what << ": " << name;
      slowList.push_back(name);
    }
    EXPECT_EQ(fastList, slowList) << what;
    // The chart lists every node with its level and kind in pre-order, which fixes the tree.
    LoadIntoModule(literal);
    TReports slow = AllReports();
    EXPECT_TRUE(testing::SameBytes(slow.chart, fast.chart)) << what;
    EXPECT_TRUE(testing::SameBytes(slow.listing, fast.listing)) << what;
    EXPECT_TRUE(testing::SameBytes(slow.table, fast.table)) << what;
  }
}

}  // namespace
}  // namespace ravelin
