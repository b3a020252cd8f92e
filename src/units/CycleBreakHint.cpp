// The break hint: exact cycle counts within a step budget, else sampled shortest cycles.
#include "units/CycleBreakHint.h"

#include <algorithm>
#include <limits>

namespace ravelin {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

std::uint64_t Add(std::uint64_t a, std::uint64_t b) {
  return a > kMax - b ? kMax : a + b;
}
std::uint64_t Multiply(std::uint64_t a, std::uint64_t b) {
  return b != 0 && a > kMax / b ? kMax : a * b;
}

/// True when local unit s can be the first unit (in listing order) of a cycle: it uses a unit
/// not before it and is used by one.
bool CanLeadCycle(const ComponentGraph& g, std::uint32_t s) {
  bool out = false, in = false;
  for (std::uint32_t arc = g.FirstArc(s); arc < g.EndArc(s); ++arc) out = out || g.Head(arc) >= s;
  for (std::uint32_t arc : g.ArcsInto(s)) in = in || g.Tail(arc) >= s;
  return out && in;
}

/// Every simple cycle of g counted on each of its arcs: Johnson's circuit search, each cycle
/// found from its first unit, with explicit stacks. False when it takes more than budget steps;
/// work receives the steps taken.
bool CountExactly(const ComponentGraph& g, std::uint64_t budget, std::vector<std::uint64_t>& onArc,
                  std::uint64_t& cycles, std::uint64_t& work) {
  struct Frame {
    std::uint32_t unit, next;
    bool closed;  // a cycle was closed from here
  };
  const std::uint32_t n = g.Size();
  std::vector<bool> blocked(n), inPart(n);
  std::vector<std::vector<std::uint32_t>> blockers(n);  // unblock these when the unit is
  std::vector<std::uint32_t> path, todo;                // path: the arcs taken
  std::vector<Frame> frames;
  auto unblock = [&](std::uint32_t unit) {
    todo.assign(1, unit);
    while (!todo.empty()) {
      const std::uint32_t x = todo.back();
      todo.pop_back();
      if (!blocked[x]) continue;
      blocked[x] = false;
      work += blockers[x].size();
      for (std::uint32_t w : blockers[x])
        if (blocked[w]) todo.push_back(w);
      blockers[x].clear();
    }
  };
  for (std::uint32_t s = 0; s < n; ++s) {
    if (!CanLeadCycle(g, s)) continue;
    // The part of the group from s on that reaches s and is reached from it.
    const Layers from = g.Search(s, true, s, work), to = g.Search(s, false, s, work);
    work += n - s;
    if (work > budget) return false;
    for (std::uint32_t v = s; v < n; ++v) {
      inPart[v] = from.distance[v] != kFar && to.distance[v] != kFar;
      blocked[v] = false;
      blockers[v].clear();
    }
    frames.push_back({s, g.FirstArc(s), false});
    blocked[s] = true;
    while (!frames.empty()) {
      Frame& top = frames.back();
      if (top.next < g.EndArc(top.unit)) {
        const std::uint32_t arc = top.next++, w = g.Head(arc);
        if (w < s || !inPart[w]) continue;
        if (++work > budget) return false;
        if (w == s) {
          for (std::uint32_t a : path) ++onArc[a];
          ++onArc[arc];
          ++cycles;
          work += path.size();
          top.closed = true;
        } else if (!blocked[w]) {
          path.push_back(arc);
          blocked[w] = true;
          frames.push_back({w, g.FirstArc(w), false});
        }
        continue;
      }
      const Frame done = top;
      frames.pop_back();
      if (done.closed) {
        unblock(done.unit);
      } else {
        for (std::uint32_t arc = g.FirstArc(done.unit); arc < g.EndArc(done.unit); ++arc) {
          std::vector<std::uint32_t>& list = blockers[g.Head(arc)];
          work += list.size();
          if (g.Head(arc) >= s && inPart[g.Head(arc)] &&
              std::find(list.begin(), list.end(), done.unit) == list.end())
            list.push_back(done.unit);
        }
      }
      if (!frames.empty()) {
        path.pop_back();
        frames.back().closed = frames.back().closed || done.closed;
      }
    }
  }
  return true;
}

/// The shortest cycles through sampled units counted on each arc (saturating).
void CountSampled(const ComponentGraph& g, std::uint32_t samples, std::vector<std::uint64_t>& onArc,
                  std::uint64_t& cycles) {
  const std::uint32_t n = g.Size(), k = std::clamp<std::uint32_t>(samples, 1, n);
  std::uint64_t work = 0;
  for (std::uint32_t i = 0; i < k; ++i) {
    const auto root = static_cast<std::uint32_t>(std::uint64_t{i} * n / k);
    const Layers from = g.Search(root, true, 0, work), to = g.Search(root, false, 0, work);
    std::uint64_t length = kMax;  // of the shortest cycles through root
    for (std::uint32_t arc : g.ArcsInto(root))
      length = std::min<std::uint64_t>(length, std::uint64_t{from.distance[g.Tail(arc)]} + 1);
    for (std::uint32_t arc = 0; arc < g.ArcCount(); ++arc) {
      const std::uint32_t tail = g.Tail(arc), head = g.Head(arc);
      if (std::uint64_t{from.distance[tail]} + 1 + to.distance[head] != length) continue;
      const std::uint64_t through = Multiply(from.paths[tail], to.paths[head]);
      onArc[arc] = Add(onArc[arc], through);
      if (head == root) cycles = Add(cycles, through);
    }
  }
}

}  // namespace

BreakHint BreakHintChooser::Choose(const UsesGraph& graph, const ComponentGraph& group) {
  BreakHint hint;
  std::vector<std::uint64_t> onArc(group.ArcCount(), 0);
  std::uint64_t work = 0;
  hint.exact =
      CountExactly(group, std::min(options_.exactSteps, stepsLeft_), onArc, hint.cycles, work);
  stepsLeft_ -= std::min(work, stepsLeft_);
  if (!hint.exact) {
    onArc.assign(group.ArcCount(), 0);
    hint.cycles = 0;
    CountSampled(group, options_.sampledUnits, onArc, hint.cycles);
  }
  for (std::uint32_t arc = 0; arc < group.ArcCount(); ++arc) {
    if (onArc[arc] < hint.broken) continue;
    if (onArc[arc] > hint.broken) {
      hint.broken = onArc[arc];
      hint.tied = 0;
      hint.uses.clear();
    }
    if (++hint.tied > kHintUses) continue;
    UnitUse use{group.Unit(group.Tail(arc)), group.Unit(group.Head(arc)), {}};
    for (std::uint32_t e : graph.UsesOf(use.from))
      if (graph.Use(e).to == use.to) use.edges.push_back(e);
    hint.uses.push_back(std::move(use));
  }
  return hint;
}

}  // namespace ravelin
