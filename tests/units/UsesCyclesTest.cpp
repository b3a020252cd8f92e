// The cycles of the uses graph. Graphs are written as uses "A>B:i" (interface), "A>B:m"
// (implementation), "A>B:p" (a program's clause) and lone units "X" (unresolved); a report as
// its groups "units : chain : interface-only chain or - : cut USES broken/cycles", "~" marking
// an approximate hint and "+N" the number of tied uses when more than the listed ones tie.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "SyntheticGraph.h"
#include "common/VornString.h"
#include "units/UsesCondensation.h"
#include "units/UsesCycles.h"

namespace ravelin {
namespace {

UsesGraph Parse(const std::string& text) {
  std::vector<std::string> words, names;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = std::min(text.find(' ', at), text.size());
    if (end > at) words.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  for (const std::string& w : words) {
    names.push_back(w.substr(0, w.find('>')));
    if (w.find('>') != std::string::npos)
      names.push_back(w.substr(w.find('>') + 1, w.find(':') - w.find('>') - 1));
  }
  std::sort(names.begin(), names.end(),
            [](auto& a, auto& b) { return CompareUpperText(a, b) < 0; });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  auto index = [&](const std::string& name) {
    return static_cast<std::uint32_t>(std::find(names.begin(), names.end(), name) - names.begin());
  };
  std::vector<UsesEdge> uses;
  for (const std::string& w : words) {
    if (w.find('>') == std::string::npos) continue;
    const char s = w.back();
    uses.push_back({index(w.substr(0, w.find('>'))),
                    index(w.substr(w.find('>') + 1, w.find(':') - w.find('>') - 1)),
                    s == 'i'   ? UsesSection::Interface
                    : s == 'm' ? UsesSection::Implementation
                               : UsesSection::Main});
  }
  return UsesGraph(names, uses);
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
  for (const UnitUse& use : h.uses) {
    out += g.UnitName(use.from) + ">" + g.UnitName(use.to) + ":";
    for (std::uint32_t e : use.edges) out += "imp"[static_cast<int>(g.Use(e).section)];
    out += &use == &h.uses.back() ? " " : ",";
  }
  out += std::to_string(h.broken) + "/" + std::to_string(h.cycles) + (h.exact ? "" : "~");
  return out + (h.tied > h.uses.size() ? " +" + std::to_string(h.tied) : "");
}

std::string Describe(const UsesGraph& g, const std::vector<CycleGroup>& groups) {
  std::string out;
  for (const CycleGroup& group : groups) {
    out += out.empty() ? "" : " | ";
    for (std::uint32_t u : group.units) out += g.UnitName(u) + " ";
    out += ": " + Chain(g, group.chain) + " : " + Chain(g, group.interfaceChain) + " : " +
           Hint(g, group.breakHint);
  }
  return out;
}

TEST(UsesCycles, SmallGraphs) {
  struct Row {
    const char* graph;
    const char* report;
    std::uint64_t exactSteps = 1'000'000;
  } rows[] = {
      {"A>B:i B>C:m A>C:i", ""},
      {"A>A:m B>A:i", "A : A>A:m : - : cut A>A:m 1/1"},
      {"A>A:i A>A:m", "A : A>A:i : A>A:i : cut A>A:im 1/1"},
      {"A>B:m A>B:i B>A:i", "A B : A>B:i B>A:i : A>B:i B>A:i : cut A>B:im,B>A:i 1/1"},
      {"A>B:m B>C:m C>A:m", "A B C : A>B:m B>C:m C>A:m : - : cut A>B:m,B>C:m,C>A:m 1/1"},
      {"P>A:p A>B:i B>A:m B>P:i", "A B P : A>B:i B>A:m : A>B:i B>P:i P>A:p : cut A>B:i 2/2"},
      {"A>B:m B>C:i C>B:i C>A:i", "A B C : A>B:m B>C:i C>A:i : B>C:i C>B:i : cut B>C:i 2/2"},
      {"A>M:i D>E:i E>D:i A>B:m B>A:m B>M:i M",
       "A B : A>B:m B>A:m : - : cut A>B:m,B>A:m 1/1 | D E : D>E:i E>D:i : D>E:i E>D:i : cut "
       "D>E:i,E>D:i 1/1"},
      {"A>C:i C>A:m A>B:m B>A:i", "A B C : A>B:m B>A:i : - : cut A>B:m,A>C:i,B>A:i,C>A:m 1/2"},
      {"A>B:i B>A:m B>C:m C>A:m", "A B C : A>B:i B>A:m : - : cut A>B:i 2/2"},
      {"A>B:i B>A:m B>C:m C>A:m", "A B C : A>B:i B>A:m : - : cut A>B:i 3/3~", 0},
      {"A>B:i B>A:i A>C:i C>A:i A>D:i D>A:i A>E:i E>A:i A>F:i F>A:i",
       "A B C D E F : A>B:i B>A:i : A>B:i B>A:i : cut A>B:i,A>C:i,A>D:i,A>E:i,A>F:i 1/5 +10"},
  };
  for (const Row& row : rows) {
    UsesGraph g = Parse(row.graph);
    BreakHintOptions options;
    options.exactSteps = row.exactSteps;
    EXPECT_EQ(Describe(g, FindCycles(g, options).groups), row.report) << row.graph;
  }
}

TEST(UsesCycles, LongChainsRingsAndSampledHints) {
  // U00000 > U00001 > ... > U19999, closed into a ring or not; a ring of 100 with a chord.
  auto shape = [](std::uint32_t n, bool closed, std::uint32_t chord) {
    std::vector<std::string> names;
    std::vector<UsesEdge> uses;
    for (std::uint32_t i = 0; i < n; ++i) {
      char name[8];
      std::snprintf(name, sizeof name, "U%05u", i);
      names.push_back(name);
      if (i + 1 < n || closed) uses.push_back({i, (i + 1) % n, UsesSection::Implementation});
    }
    if (chord != 0) uses.push_back({chord, 0, UsesSection::Interface});
    return UsesGraph(names, uses);
  };
  EXPECT_TRUE(FindCycles(shape(20000, false, 0)).groups.empty());
  UsesGraph ring = shape(20000, true, 0);
  CycleReport report = FindCycles(ring);
  ASSERT_EQ(report.groups.size(), 1u);
  EXPECT_EQ(report.groups[0].units.size() + report.groups[0].chain.size(), 40000u);
  const std::string firstFive =
      "cut U00000>U00001:m,U00001>U00002:m,U00002>U00003:m,U00003>U00004:m,U00004>U00005:m ";
  EXPECT_EQ(Hint(ring, report.groups[0].breakHint), firstFive + "1/1 +20000");
  // Both cycles of the chorded ring pass U00000 > ... > U00050; every sampled unit's shortest
  // cycle too.
  UsesGraph chorded = shape(100, true, 50);
  for (std::uint64_t steps : {1'000'000, 0}) {
    EXPECT_EQ(Hint(chorded, FindCycles(chorded, {steps, 32}).groups[0].breakHint),
              firstFive + (steps ? "2/2 +50" : "32/32~ +50"));
  }
}

TEST(UsesCycles, PlantedCyclesOfTheSyntheticGraph) {
  synthetic::TOptions options;
  options.units = 400;
  options.cycleLengths = {1, 2, 3, 4, 5, 6, 400};  // the last one no longer fits
  std::string found;
  for (const CycleGroup& group : FindCycles(synthetic::SyntheticUsesGraph(options)).groups)
    found += std::to_string(group.units.size()) + (group.interfaceOnly ? "i " : " ");
  EXPECT_EQ(found, "1i 2 3 4i 5 6i ");
}

TEST(UsesCycles, CondensedGraph) {
  UsesGraph g = Parse("P>A:p P>D:p A>B:m B>A:m B>M:i D>E:i E>D:i A>D:i B>D:m");
  CondensedGraph c = Condense(g, FindCycles(g));
  std::string out;
  for (const CondensedNode& node : c.nodes)
    out += g.UnitName(node.firstUnit) + std::to_string(node.unitCount) +
           (node.group == kNoGroup ? "" : "g" + std::to_string(node.group)) + " ";
  for (const CondensedUse& use : c.uses)
    out += std::to_string(use.from) + ">" + std::to_string(use.to) + "x" +
           std::to_string(use.uses) + " ";
  EXPECT_EQ(out, "A2g0 D2g1 M1 P1 0>1x2 0>2x1 3>0x1 3>1x1 ");
}

/// The report as listed from every simple cycle: groups join units that share a cycle.
std::string BruteForce(const UsesGraph& g) {
  const std::uint32_t n = g.UnitCount();
  auto edge = [&](std::uint32_t a, std::uint32_t b, UsesFilter f) {  // first by section; n: none
    for (std::uint32_t e : g.UsesOf(a))
      if (g.Use(e).to == b && Passes(f, g.Use(e).section)) return e;
    return g.UseCount();
  };
  auto cycles = [&](UsesFilter f) {
    std::vector<std::vector<std::uint32_t>> found;
    std::vector<std::uint32_t> path;
    std::function<void(std::uint32_t)> walk = [&](std::uint32_t v) {
      for (std::uint32_t w = path[0]; w < n; ++w)
        if (edge(v, w, f) == g.UseCount())
          continue;
        else if (w == path[0])
          found.push_back(path);
        else if (std::find(path.begin(), path.end(), w) == path.end())
          path.push_back(w), walk(w), path.pop_back();
    };
    for (std::uint32_t s = 0; s < n; ++s) path = {s}, walk(s);
    return found;
  };
  auto leader = [&](const std::vector<std::vector<std::uint32_t>>& all) {  // unit -> group's first
    std::vector<std::uint32_t> head(n, n);
    for (bool changed = true; changed;) {
      changed = false;
      for (const auto& c : all) {
        std::uint32_t low = c[0];
        for (std::uint32_t u : c) low = std::min(low, head[u]);
        for (std::uint32_t u : c) changed |= std::exchange(head[u], low) != low;
      }
    }
    return head;
  };
  auto shortest = [&](const std::vector<std::vector<std::uint32_t>>& all, std::uint32_t u,
                      UsesFilter f) {
    std::vector<std::uint32_t> best;
    for (auto c : all)
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
  const auto all = cycles(UsesFilter::All), inner = cycles(UsesFilter::InterfaceLike);
  const auto group = leader(all), innerGroup = leader(inner);
  std::vector<CycleGroup> groups;
  for (std::uint32_t u = 0; u < n; ++u) {
    if (group[u] != u) continue;
    CycleGroup out;
    for (std::uint32_t v = 0; v < n; ++v)
      if (group[v] == u) out.units.push_back(v);
    out.chain = shortest(all, u, UsesFilter::All);
    for (std::uint32_t v : out.units)
      if (innerGroup[v] == v) {
        out.interfaceChain = shortest(inner, v, UsesFilter::InterfaceLike);
        break;
      }
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint64_t> on;
    BreakHint& h = out.breakHint;
    h.exact = true;
    for (const auto& c : all)
      if (group[c[0]] == u) {
        ++h.cycles;
        for (std::size_t i = 0; i < c.size(); ++i)
          h.broken = std::max(h.broken, ++on[{c[i], c[(i + 1) % c.size()]}]);
      }
    for (const auto& [pair, count] : on)
      if (count == h.broken && ++h.tied <= kHintUses) {
        h.uses.push_back({pair.first, pair.second, {}});
        for (std::uint32_t e : g.UsesOf(pair.first))
          if (g.Use(e).to == pair.second) h.uses.back().edges.push_back(e);
      }
    groups.push_back(out);
  }
  std::string marks;  // per use: on a cycle or not
  for (std::uint32_t e = 0; e < g.UseCount(); ++e)
    marks += std::any_of(all.begin(), all.end(),
                         [&](const auto& c) {
                           for (std::size_t i = 0; i < c.size(); ++i)
                             if (c[i] == g.Use(e).from && c[(i + 1) % c.size()] == g.Use(e).to)
                               return true;
                           return false;
                         })
                 ? "c"
                 : "-";
  return Describe(g, groups) + " " + marks;
}

TEST(UsesCycles, RandomGraphsAgainstEverySimpleCycle) {
  std::mt19937 random(13);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int n = 1 + static_cast<int>(random() % 8), uses = static_cast<int>(random() % (3 * n));
    for (int u = 0; u < n; ++u) text += std::string(1, static_cast<char>('A' + u)) + " ";
    for (int e = 0; e < uses; ++e)
      text += std::string(1, static_cast<char>('A' + random() % n)) + ">" +
              static_cast<char>('A' + random() % n) + ":" + "iimp"[random() % 4] + " ";
    UsesGraph g = Parse(text);
    CycleReport report = FindCycles(g);
    std::string marks, figures, expected;
    for (std::uint32_t e = 0; e < g.UseCount(); ++e) marks += report.IsCycleUse(g, e) ? "c" : "-";
    ASSERT_EQ(Describe(g, report.groups) + " " + marks, BruteForce(g)) << text;
    for (std::uint32_t u = 0; u < g.UnitCount(); ++u) {
      std::set<std::uint32_t> in, out;
      for (std::uint32_t e = 0; e < g.UseCount(); ++e) {
        if (g.Use(e).to == u) in.insert(g.Use(e).from);
        if (g.Use(e).from == u) out.insert(g.Use(e).to);
      }
      figures += std::to_string(report.units[u].fanIn) + "/" +
                 std::to_string(report.units[u].fanOut) + " ";
      expected += std::to_string(in.size()) + "/" + std::to_string(out.size()) + " ";
    }
    ASSERT_EQ(figures, expected) << text;
  }
}

}  // namespace
}  // namespace ravelin
