// The cycles of the uses graph. Graphs are written as uses "A>B:i" (interface), "A>B:m"
// (implementation), "A>B:p" (a program's clause) and lone units "X"; a report as
// its groups "units : chain : interface-only chain or - : cut USES broken/cycles", "~" marking
// an approximate hint and "+N" the number of tied uses when more than the listed ones tie.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "units/UsesCondensation.h"
#include "units/UsesCycles.h"

namespace ravelin {
namespace {

/// Units are single capitals, listed in alphabetical order.
UsesGraph Parse(const std::string& text) {
  std::string names = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::erase_if(names, [&](char c) { return text.find(c) == std::string::npos; });
  std::vector<UsesEdge> uses;
  for (std::size_t at = text.find('>'); at != std::string::npos; at = text.find('>', at + 1))
    uses.push_back({static_cast<std::uint32_t>(names.find(text[at - 1])),
                    static_cast<std::uint32_t>(names.find(text[at + 1])),
                    static_cast<UsesSection>(std::string("imp").find(text[at + 3]))});
  std::vector<std::string> units;
  for (char c : names) units.emplace_back(1, c);
  return UsesGraph(units, uses);
}

std::string Chain(const UsesGraph& g, const UsesChain& chain) {
  std::string out;
  for (std::uint32_t e : chain)
    out += (out.empty() ? "" : " ") + g.UnitName(g.Use(e).from) + ">" + g.UnitName(g.Use(e).to) +
           ":" + "imp"[static_cast<int>(g.Use(e).section)];
  return out.empty() ? "-" : out;
}

std::string Hint(const UsesGraph& g, const BreakHint& h) {
  std::string out = "cut ";
  for (const UnitUse& use : h.uses)
    out += Chain(g, use.edges) + (&use == &h.uses.back() ? " " : ",");
  out += std::to_string(h.broken) + "/" + std::to_string(h.cycles) + (h.exact ? "" : "~");
  return out + (h.tied > h.uses.size() ? " +" + std::to_string(h.tied) : "");
}

std::string Describe(const UsesGraph& g, const std::vector<CycleGroup>& groups) {
  std::string out;
  for (const CycleGroup& group : groups) {
    out += out.empty() ? "" : " | ";
    for (std::uint32_t u : group.units) out += g.UnitName(u) + " ";
    out += ": " + Chain(g, group.chain) + " : " +
           (group.interfaceOnly ? Chain(g, group.interfaceChain) : "-") + " : " +
           Hint(g, group.breakHint);
  }
  return out;
}

TEST(UsesCycles, SmallGraphs) {
  struct Row {
    const char* graph;
    const char* report;
    std::uint64_t exactSteps = 1'000'000, totalSteps = 20'000'000;
  } rows[] = {
      {"A>B:i B>C:m A>C:i", ""},
      {"A>A:m A>A:i B>A:i", "A : A>A:i : A>A:i : cut A>A:i A>A:m 1/1"},
      {"A>B:m A>B:i B>A:i", "A B : A>B:i B>A:i : A>B:i B>A:i : cut A>B:i A>B:m,B>A:i 1/1"},
      {"A>B:m B>C:m C>A:m", "A B C : A>B:m B>C:m C>A:m : - : cut A>B:m,B>C:m,C>A:m 1/1"},
      {"P>A:p A>B:i B>A:m B>P:i", "A B P : A>B:i B>A:m : A>B:i B>P:i P>A:p : cut A>B:i 2/2"},
      {"A>B:m B>C:i C>B:i C>A:i", "A B C : A>B:m B>C:i C>A:i : B>C:i C>B:i : cut B>C:i 2/2"},
      {"A>M:i D>E:i E>D:i A>B:m B>A:m B>M:i M",
       "A B : A>B:m B>A:m : - : cut A>B:m,B>A:m 1/1 | D E : D>E:i E>D:i : D>E:i E>D:i : cut "
       "D>E:i,E>D:i 1/1"},
      {"A>C:i C>A:m A>B:m B>A:i", "A B C : A>B:m B>A:i : - : cut A>B:m,A>C:i,B>A:i,C>A:m 1/2"},
      {"A>B:i B>A:m B>C:m C>A:m", "A B C : A>B:i B>A:m : - : cut A>B:i 3/3~", 0},
      {"A>B:i B>A:i C>D:m D>C:m",
       "A B : A>B:i B>A:i : A>B:i B>A:i : cut A>B:i,B>A:i 1/1 | C D "
       ": C>D:m D>C:m : - : cut C>D:m,D>C:m 2/2~",
       1'000'000, 15},  // the total runs out
  };
  for (const Row& row : rows) {
    UsesGraph g = Parse(row.graph);
    EXPECT_EQ(Describe(g, FindCycles(g, {row.exactSteps, row.totalSteps, 32}).groups), row.report)
        << row.graph;
  }
}

TEST(UsesCycles, LongChainsRingsAndSampledHints) {
  // U00000 > U00001 > ... > U19999 (or backwards), closed into a ring or not, with a chord.
  auto shape = [](std::uint32_t n, bool closed, std::uint32_t chord, bool back) {
    std::vector<std::string> names;
    std::vector<UsesEdge> uses;
    for (std::uint32_t i = 0; i < n; ++i) {
      names.push_back("U" + std::to_string(100000 + i).substr(1));
      if (i + 1 < n || closed) uses.push_back({i, (i + 1) % n, UsesSection::Implementation});
      if (back && i < uses.size()) std::swap(uses[i].from, uses[i].to);
    }
    if (chord != 0) uses.push_back({chord, 0, UsesSection::Interface});
    return UsesGraph(names, uses);
  };
  EXPECT_TRUE(FindCycles(shape(20000, false, 0, false)).groups.empty());
  UsesGraph ring = shape(20000, true, 0, true);
  CycleReport report = FindCycles(ring);
  EXPECT_EQ(report.groups.at(0).chain.size(), 20000u);
  EXPECT_EQ(Hint(ring, report.groups[0].breakHint),
            "cut U00000>U19999:m,U00001>U00000:m,U00002>U00001:m,U00003>U00002:m,U00004>U00003:m "
            "1/1 +20000");
  // Both cycles of the chorded ring pass U00000 > ... > U00050; every sampled unit's shortest
  // cycle too. Counted exactly in a few hundred steps, as each cycle is met from its first unit.
  UsesGraph chorded = shape(100, true, 50, false);
  for (std::uint64_t steps : {2000, 0})
    EXPECT_EQ(
        Hint(chorded, FindCycles(chorded, {steps, steps, 32}).groups[0].breakHint),
        "cut U00000>U00001:m,U00001>U00002:m,U00002>U00003:m,U00003>U00004:m,U00004>U00005:m " +
            std::string(steps ? "2/2 +50" : "32/32~ +50"));
}

TEST(UsesCycles, CondensedGraphAndFanFigures) {
  UsesGraph g = Parse("P>A:p P>D:p A>B:m B>A:m B>M:i D>E:i E>D:i A>D:i B>D:m B>D:i B>B:m");
  CycleReport report = FindCycles(g);
  CondensedGraph c = Condense(g, report);
  std::string out;
  auto put = [&](auto... figures) { ((out += std::to_string(int(figures)) + ","), ...) += " "; };
  for (const CondensedNode& node : c.nodes) put(node.firstUnit, node.unitCount, node.group);
  for (const CondensedUse& use : c.uses) put(use.from, use.to, use.uses);
  for (const UnitFigures& f : report.units) put(f.fanIn, f.fanOut);
  // nodes: first unit, units, group; uses: from, to, edges; units: fan-in, fan-out
  EXPECT_EQ(
      out,
      "0,2,0, 2,2,1, 4,1,-1, 5,1,-1, 0,1,3, 0,2,1, 3,0,1, 3,1,1, 2,2, 2,4, 4,1, 1,1, 1,0, 0,2, ");
}

/// The report as listed from every simple cycle; units sharing a cycle share a group.
std::string BruteForce(const UsesGraph& g) {
  const std::uint32_t n = g.UnitCount();
  auto edge = [&](std::uint32_t a, std::uint32_t b, int f) {  // the first by section, or none
    for (std::uint32_t e : g.UsesOf(a))
      if (g.Use(e).to == b && Passes(UsesFilter(f), g.Use(e).section)) return e;
    return g.UseCount();
  };
  std::vector<std::vector<std::uint32_t>> cycles[2];  // all, interface-like: from least unit
  std::vector<std::uint32_t> path, head[2] = {std::vector(n, n), std::vector(n, n)};
  std::function<void(int)> walk = [&](int f) {
    for (std::uint32_t w = path[0]; w < n; ++w)
      if (edge(path.back(), w, f) == g.UseCount())
        continue;
      else if (w == path[0])
        cycles[f].push_back(path);
      else if (std::find(path.begin(), path.end(), w) == path.end())
        path.push_back(w), walk(f), path.pop_back();
  };
  for (int f : {0, 1}) {
    for (std::uint32_t s = 0; s < n; ++s) path = {s}, walk(f);
    for (std::uint32_t pass = 0; pass < n; ++pass)  // head: the first unit of the group
      for (const auto& c : cycles[f]) {
        std::uint32_t low = c[0];
        for (std::uint32_t u : c) low = std::min(low, head[f][u]);
        for (std::uint32_t u : c) head[f][u] = low;
      }
  }
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint64_t> on;  // cycles on each pair
  for (const auto& c : cycles[0])
    for (std::size_t i = 0; i < c.size(); ++i) ++on[{c[i], c[(i + 1) % c.size()]}];
  auto shortest = [&](int f, std::uint32_t u) {  // by length, then next units
    std::vector<std::uint32_t> best;
    for (auto c : cycles[f])
      if (std::find(c.begin(), c.end(), u) != c.end()) {
        std::rotate(c.begin(), std::find(c.begin(), c.end(), u), c.end());
        if (best.empty() || c.size() < best.size() || (c.size() == best.size() && c < best))
          best = c;
      }
    UsesChain chain;
    for (std::size_t i = 0; i < best.size(); ++i)
      chain.push_back(edge(best[i], best[(i + 1) % best.size()], f));
    return chain;
  };
  std::vector<CycleGroup> groups;
  for (std::uint32_t u = 0; u < n; ++u) {
    if (head[0][u] != u) continue;
    CycleGroup& out = groups.emplace_back();
    for (std::uint32_t v = 0; v < n; ++v)
      if (head[0][v] == u) out.units.push_back(v);
    out.chain = shortest(0, u);
    auto inner = std::find_if(out.units.begin(), out.units.end(),
                              [&](std::uint32_t v) { return head[1][v] == v; });
    if (inner != out.units.end())
      out.interfaceOnly = true, out.interfaceChain = shortest(1, *inner);
    BreakHint& h = out.breakHint;
    h.exact = true;
    for (const auto& c : cycles[0]) h.cycles += head[0][c[0]] == u;
    for (const auto& [pair, count] : on)
      if (head[0][pair.first] == u) h.broken = std::max(h.broken, count);
    for (const auto& [pair, count] : on)
      if (head[0][pair.first] == u && count == h.broken && ++h.tied <= kHintUses) {
        h.uses.push_back({pair.first, pair.second, {}});
        for (std::uint32_t e : g.UsesOf(pair.first))
          if (g.Use(e).to == pair.second) h.uses.back().edges.push_back(e);
      }
  }
  std::string marks;  // per use: on a cycle or not
  for (std::uint32_t e = 0; e < g.UseCount(); ++e)
    marks += on.count({g.Use(e).from, g.Use(e).to}) ? "c" : "-";
  return Describe(g, groups) + " " + marks + (cycles[1].empty() ? "" : "!");
}

TEST(UsesCycles, RandomGraphsAgainstEverySimpleCycle) {
  std::mt19937 random(13);
  for (int round = 0; round < 3000; ++round) {
    const unsigned n = 1 + random() % 8, uses = random() % (3 * n);
    std::string text = std::string("ABCDEFGH").substr(0, n);  // lone units: unresolved
    for (unsigned e = 0; e < uses; ++e)
      text += std::string{' ', char('A' + random() % n), '>', char('A' + random() % n), ':'} +
              "iimp"[random() % 4];
    UsesGraph g = Parse(text);
    CycleReport report = FindCycles(g);
    std::string marks;
    for (std::uint32_t e = 0; e < g.UseCount(); ++e) marks += report.IsCycleUse(g, e) ? "c" : "-";
    marks += report.HasInterfaceOnlyCycle() ? "!" : "";
    ASSERT_EQ(Describe(g, report.groups) + " " + marks, BruteForce(g)) << text;
  }
}

}  // namespace
}  // namespace ravelin
