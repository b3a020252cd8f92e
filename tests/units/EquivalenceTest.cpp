// The analysis against a literal, slow rendering of its rules with a tokenizer, a file lookup
// and a name comparison of its own: the whole unit file list sorted after every file and
// searched from its start, the tree searched in full for every unit named. On random
// synthetic projects both must give the same list, tree and reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "LiteralUnitTree.h"
#include "SyntheticProject.h"
#include "UnitTestFiles.h"
#include "units/UnitDpnd.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;
using testing_units::SameName;
using testing_units::TLiteralTree;

std::string Upper(std::string s) {
  for (char& c : s) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  return s;
}

/// The tokens that matter to uses clauses: 'u' uses, 'm' implementation, 'n' in, 'i' any
/// other word, 's' a string literal, ',' ';' '.', and 'x' anything else; comments dropped.
std::vector<std::pair<char, std::string>> Tokens(const std::string& text) {
  std::vector<std::pair<char, std::string>> tokens;
  auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    size_t end = i + 1;
    if (c == '{' || text.compare(i, 2, "(*") == 0 || text.compare(i, 2, "//") == 0) {
      const std::string close = c == '{' ? "}" : c == '(' ? "*)" : "\n";
      end = std::min(text.size(), text.find(close, i + 1) + close.size());
    } else if (c == '\'') {
      while (end < text.size() && (text[end] != '\'' || text.compare(end, 2, "''") == 0))
        end += text[end] == '\'' ? 2 : 1;
      tokens.emplace_back('s', text.substr(i, ++end - i));
    } else if (word(c)) {
      while (end < text.size() && word(text[end])) ++end;
      const std::string w = text.substr(i, end - i), upper = Upper(w);
      const char kind = upper == "USES"             ? 'u'
                        : upper == "IMPLEMENTATION" ? 'm'
                        : upper == "IN"             ? 'n'
                                                    : 'i';
      tokens.emplace_back(std::isdigit(static_cast<unsigned char>(c)) ? 'x' : kind, w);
    } else if (c == ',' || c == ';' || c == '.') {
      tokens.emplace_back(c, "");
    } else if (c > ' ') {
      tokens.emplace_back('x', "");
    }
    i = end;
  }
  return tokens;
}

/// path with each component taken as written when it exists, else the first entry of its
/// folder in byte order that equals it in capitals; "" when there is none.
std::string OnDisk(const std::string& path) {
  std::string found;
  for (const auto& part : fs::path(path)) {
    if (part == "/") continue;
    const std::string exact = found + "/" + part.string();
    if (fs::exists(exact)) {
      found = exact;
      continue;
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(found.empty() ? "/" : found))
      if (SameName(entry.path().filename().string(), part.string()))
        names.push_back(entry.path().filename().string());
    if (names.empty()) return "";
    found += "/" + *std::min_element(names.begin(), names.end());
  }
  return found;
}

/// The analysis exactly as the rules are written.
class TLiteralAnalysis : public TLiteralTree {
 public:
  std::vector<std::pair<std::string, bool>> list;  // entry, taken up
  std::string folder, searchFolder;                // the project's and the further one

  void Build(const std::string& fileName) {
    list = {{fileName, true}};
    root = AddNode(nullptr, fileName, 'L', 1);
    for (std::string current = fileName;;) {
      std::string text;
      if (fs::is_regular_file(current)) {
        std::ifstream in(current, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
      }
      const auto t = Tokens(text.substr(0, text.find('\x1A')));
      bool inInterface = true;
      for (size_t j = 0; j + 1 < t.size(); ++j) {
        if (t[j].first == 'm') inInterface = false;
        if (t[j].first == 'u') ReadClause(t, j, current, inInterface);
      }
      std::sort(list.begin(), list.end(),
                [](const auto& a, const auto& b) { return Upper(a.first) < Upper(b.first); });
      auto next = std::find_if(list.begin(), list.end(), [](const auto& e) { return !e.second; });
      if (next == list.end()) return;
      next->second = true;
      current = next->first;
    }
  }

 private:
  std::string Locate(const std::string& name) const {
    if (name.find_first_of("/\\") != std::string::npos) {
      std::string path = folder + name;
      std::replace(path.begin(), path.end(), '\\', '/');
      const std::string found = OnDisk(fs::path(path).lexically_normal().string());
      return found.empty() ? fs::path(path).lexically_normal().string() : found;
    }
    if (std::string found = OnDisk(folder + name); !found.empty()) return found;
    if (std::string found = OnDisk(folder + searchFolder + "/" + name); !found.empty())
      return searchFolder + "/" + fs::path(found).filename().string();
    return name;
  }

  void ReadClause(const std::vector<std::pair<char, std::string>>& t, size_t& j,
                  const std::string& current, bool inInterface) {
    const size_t n = t.size();
    char direction = 'R';
    for (;;) {
      if (++j >= n) {
        j = n - 1;
        return;
      }
      if (t[j].first != 'i') {
        while (j + 1 < n && t[j].first != ';') ++j;
        return;
      }
      std::string unit = t[j].second;
      for (; j + 2 < n && t[j + 1].first == '.' && t[j + 2].first == 'i'; j += 2)
        unit += "." + t[j + 2].second;
      std::string base = current.substr(current.find_last_of("/\\") + 1);
      Node* parent = FindNode(base.substr(0, base.rfind('.')));
      if (parent == nullptr) direction = 'L', parent = root;
      AddNode(parent, unit, direction, inInterface ? 1 : 0);
      std::string fileName = unit + ".pas";
      bool broken = false;
      for (++j; j < n && t[j].first != ',' && t[j].first != ';'; ++j) {
        if (t[j].first != 'n') continue;
        broken = !(j + 1 < n && t[j + 1].first == 's' && t[j + 1].second.size() > 2);
        if (broken) break;
        fileName = t[j + 1].second.substr(1, t[j + 1].second.size() - 2);
      }
      fileName = Locate(fileName);
      if (std::none_of(list.begin(), list.end(),
                       [&](const auto& e) { return SameName(e.first, fileName); }))
        list.emplace_back(fileName, false);
      if (broken) {
        while (j + 1 < n && t[j].first != ';') ++j;
        return;
      }
      if (j >= n) {
        j = n - 1;
        return;
      }
      if (t[j].first == ';') return;
    }
  }
};

std::string AllReports(const std::string& root) {
  std::string text;
  WriteUnitListText(text);
  WriteUnitTreeChartText(text);
  WriteDependencyTableText(root, text);
  return text;
}

/// Puts the literal result into the module state, node by node in pre-order.
void LoadIntoModule(const TLiteralAnalysis& literal) {
  ClearUnitAnalysis();
  for (const auto& [name, taken] : literal.list) UnitFiles().Add(name);
  struct Frame {
    const TLiteralTree::Node* node;
    TUnitNode* anchor;  // the node whose slot it goes into, none for the root
    char direction;
  };
  std::vector<Frame> stack{{literal.root, nullptr, 'L'}};
  while (!stack.empty()) {
    const Frame f = stack.back();
    stack.pop_back();
    if (f.node == nullptr) continue;
    TUnitNode* added = TheUnitTree().AddNode(
        f.anchor, std::make_unique<TUnitNode>(f.node->name, f.node->kind), f.direction);
    stack.push_back({f.node->right, added, 'R'});
    stack.push_back({f.node->left, added, 'L'});
  }
}

class Equivalence : public testing_units::ProjectTest {};

TEST_F(Equivalence, TheAnalysisMatchesTheLiteralOneOnRandomProjects) {
  const struct {
    int units, uses;
    std::uint32_t seed;
  } rows[] = {{1, 3, 1},   {5, 4, 2},    {30, 6, 3},   {60, 10, 4},
              {120, 8, 5}, {200, 12, 6}, {300, 20, 7}, {80, 30, 8}};
  for (const auto& row : rows) {
    const std::string dir = Path("p" + std::to_string(row.seed));
    synthetic::TOptions options;
    options.units = row.units, options.usesPerUnit = row.uses, options.seed = row.seed;
    options.fillerLines = 2;
    const synthetic::TProject project = synthetic::WriteProject(dir, options);
    Fs().SetCurrentFolder(dir);
    SearchPaths = project.searchPaths;
    UseSearchPath = true;
    const std::string root = dir + "/" + project.rootFile;
    const std::string what = "seed " + std::to_string(row.seed);

    BuildUnitTree(root);
    EXPECT_GT(UnitFiles().Count(), static_cast<size_t>(row.units)) << what;
    const std::string fast = AllReports(root);
    TLiteralAnalysis literal;
    literal.folder = dir + "/";
    literal.searchFolder = project.searchPaths;
    literal.Build(root);
    std::vector<std::string> slowList;
    for (const auto& [name, taken] : literal.list) slowList.push_back(name);
    EXPECT_EQ(UnitFileNames(), slowList) << what;
    // The chart lists every node with its level and kind in pre-order, which fixes the tree.
    LoadIntoModule(literal);
    EXPECT_TRUE(testing::SameBytes(AllReports(root), fast)) << what;
  }
}

}  // namespace
}  // namespace ravelin
