// The uses graph of one unit analysis: the units in the order of the unit listing and one edge
// for every unit that a uses clause names, with the section of that clause.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ravelin {

/// The clause a use comes from: a unit's interface or implementation section, or the single
/// clause of a program, library or package.
enum class UsesSection : std::uint8_t { Interface, Implementation, Main };

/// True for the clauses the compiler must settle before the file's own declarations: interface
/// and main. Only a cycle of such uses is a compile error.
constexpr bool IsInterfaceLike(UsesSection section) {
  return section != UsesSection::Implementation;
}

/// Which uses an algorithm follows.
enum class UsesFilter : std::uint8_t { All, InterfaceLike };

/// True when a use of section passes filter.
constexpr bool Passes(UsesFilter filter, UsesSection section) {
  return filter == UsesFilter::All || IsInterfaceLike(section);
}

/// One use: unit `from` names unit `to` (indices into the graph's units) in a clause of section.
struct UsesEdge {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  UsesSection section = UsesSection::Interface;
};

/// The units, indexed in the order of the unit listing, and their uses. A unit named twice
/// (in both sections, say) has one edge per mention; an unresolved unit simply has no uses.
/// Immutable once built; every query is constant time.
class UsesGraph {
 public:
  /// The graph of units (named as given, already in listing order) and uses (edge i is
  /// uses[i]). Throws GeneralError when a use names a unit out of range or there are 2^32 or
  /// more units or uses.
  UsesGraph(std::vector<std::string> units, std::vector<UsesEdge> uses);

  /// Number of units.
  std::uint32_t UnitCount() const { return static_cast<std::uint32_t>(names_.size()); }
  /// Number of uses (edges).
  std::uint32_t UseCount() const { return static_cast<std::uint32_t>(uses_.size()); }
  /// The name of a unit.
  const std::string& UnitName(std::uint32_t unit) const { return names_[unit]; }
  /// Edge number edge.
  const UsesEdge& Use(std::uint32_t edge) const { return uses_[edge]; }
  /// The edges leaving unit, by listing order of the unit used, then section (interface,
  /// implementation, main), then edge number.
  std::span<const std::uint32_t> UsesOf(std::uint32_t unit) const {
    return Slice(out_, outStart_, unit);
  }
  /// The edges entering unit, by listing order of the unit using it, then section, then edge
  /// number.
  std::span<const std::uint32_t> UsersOf(std::uint32_t unit) const {
    return Slice(in_, inStart_, unit);
  }

 private:
  static std::span<const std::uint32_t> Slice(const std::vector<std::uint32_t>& edges,
                                              const std::vector<std::uint32_t>& start,
                                              std::uint32_t unit) {
    return {edges.data() + start[unit], edges.data() + start[unit + 1]};
  }

  std::vector<std::string> names_;
  std::vector<UsesEdge> uses_;
  std::vector<std::uint32_t> outStart_, out_;  // edges by from, as UsesOf orders them
  std::vector<std::uint32_t> inStart_, in_;    // edges by to, as UsersOf orders them
};

}  // namespace ravelin
