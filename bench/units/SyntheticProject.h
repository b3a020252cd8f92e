// Synthetic Delphi projects for measuring and cross-checking the unit analysis: N units with
// random uses clauses in their interface and implementation sections, cycles, units that use
// themselves, dotted unit names (some written with blanks around the dots), names written in
// other letter case than on disk, files whose names differ only in letter case, units in a
// search folder and behind "in" clauses, units that exist nowhere, broken clauses, and
// comments, strings and conditional sections holding the word uses. With planted cycles the
// other uses run from each unit to later units only, so the planted cycles are the only ones.
// The same options and seed always give the same files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace ravelin::synthetic {

/// What to generate.
struct TOptions {
  int units = 500;         ///< unit files
  int usesPerUnit = 20;    ///< names per unit, split over interface and implementation
  int fillerLines = 40;    ///< lines of ordinary code per unit
  std::uint32_t seed = 1;  ///< the same seed gives the same project
  /// Lengths of cycles to plant (see PlantCycles); when any are given, every other use runs
  /// from a unit to a later one and no unit uses itself.
  std::vector<int> cycleLengths;
};

/// One planted use: unit `from` names unit `to` in its interface or implementation clause.
struct TPlantedUse {
  int from = 0;
  int to = 0;
  bool inInterface = true;
};

/// The uses that plant options.cycleLengths. Cycle k runs over a block of consecutive units
/// (the blocks spread evenly over the units, apart from each other), through interface uses
/// from each unit to the next, closed by a use of the first unit from the last. That closing
/// use is in the interface when k % 3 == 0 (an interface-only cycle), in the implementation
/// otherwise; when k % 3 == 2 and the cycle has 4 units or more, an interface use from the
/// middle back to the first unit nests an interface-only cycle inside. A cycle of length 1 is
/// a unit that uses itself. Cycles that no longer fit are left out.
inline std::vector<TPlantedUse> PlantCycles(const TOptions& options) {
  std::vector<int> lengths;
  int total = 0;
  for (int length : options.cycleLengths)
    if (length > 0 && total + length <= options.units) lengths.push_back(length), total += length;
  std::vector<TPlantedUse> uses;
  const int gap = (options.units - total) / (static_cast<int>(lengths.size()) + 1);
  for (int k = 0, first = gap; k < static_cast<int>(lengths.size());
       first += lengths[k] + gap, ++k) {
    const int last = first + lengths[k] - 1;
    for (int u = first; u < last; ++u) uses.push_back({u, u + 1, true});
    uses.push_back({last, first, k % 3 == 0});
    if (k % 3 == 2 && lengths[k] >= 4) uses.push_back({first + lengths[k] / 2 - 1, first, true});
  }
  return uses;
}

/// Where the generated project is.
struct TProject {
  std::string rootFile;     ///< the project file, relative to the project folder
  std::string searchPaths;  ///< the search folder to switch on, relative to the project folder
};

namespace detail {

class TRandom {
 public:
  explicit TRandom(std::uint32_t seed) : engine_(seed) {}
  /// 0 .. n-1 (n > 0), the same on every platform.
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(engine_() % n); }
  bool Chance(int percent) { return Below(100) < static_cast<std::uint32_t>(percent); }

 private:
  std::mt19937 engine_;
};

inline std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

inline std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

struct TUnit {
  std::string name;      // the unit identifier (dotted or not)
  std::string fileName;  // the file on disk, relative to the project folder
  bool inSearchFolder = false;
  bool viaIn = false;  // named with "in" and a Windows path by whoever names it
};

/// How a clause writes the name of unit u.
inline std::string Reference(const TUnit& u, TRandom& random) {
  std::string name = u.name;
  int style = static_cast<int>(random.Below(20));
  if (style == 0) name = Upper(name);
  if (style == 1) name = Lower(name);
  if (style == 2) {  // blanks around the dots
    std::string spaced;
    for (char c : name) spaced += c == '.' ? std::string(" . ") : std::string(1, c);
    name = spaced;
  }
  if (u.viaIn) {
    std::string path = u.fileName;
    for (char& c : path)
      if (c == '/') c = '\\';
    name += " in '" + path + "'";
  }
  return name;
}

}  // namespace detail

/// Writes a project into folder (created when missing) and returns its root and search path.
inline TProject WriteProject(const std::string& folder, const TOptions& options) {
  using detail::TRandom;
  using detail::TUnit;
  namespace fs = std::filesystem;
  TRandom random(options.seed);
  const bool planting = !options.cycleLengths.empty();
  const std::vector<TPlantedUse> planted = PlantCycles(options);
  std::vector<bool> inCycle(static_cast<size_t>(options.units), false);
  for (const TPlantedUse& use : planted) inCycle[static_cast<size_t>(use.from)] = true;
  fs::create_directories(fs::path(folder) / "lib");
  fs::create_directories(fs::path(folder) / "sub");

  std::vector<TUnit> units(static_cast<size_t>(options.units));
  for (int i = 0; i < options.units; ++i) {
    TUnit& u = units[static_cast<size_t>(i)];
    char number[16];
    std::snprintf(number, sizeof number, "%05d", i);
    int kind = static_cast<int>(random.Below(100));
    if (kind < 20 && !inCycle[static_cast<size_t>(i)])  // the analysis follows no dotted name
      u.name = std::string(kind % 2 ? "App.Core.U" : "Vendor.Lib.U") + number;
    else
      u.name = std::string(kind % 3 ? "Unit" : "Form") + number;
    std::string file = u.name + ".pas";
    if (random.Chance(10)) file = detail::Lower(file);
    if (random.Chance(5)) file = detail::Upper(u.name) + ".PAS";
    int place = static_cast<int>(random.Below(100));
    if (place < 10) {
      u.inSearchFolder = true;
      u.fileName = "lib/" + file;
    } else if (place < 15) {
      u.viaIn = true;
      u.fileName = "sub/" + file;
    } else {
      u.fileName = file;
    }
  }
  const char* missing[] = {"SysUtils",  "Classes",  "Windows",  "Messages", "System.Types",
                           "Vcl.Forms", "Graphics", "Controls", "Dialogs",  "StdCtrls"};

  auto clause = [&](int count, int self) {
    std::string text;
    for (int k = 0; k < count; ++k) {
      std::string name;
      int pick = static_cast<int>(random.Below(100));
      if (pick < 8)
        name = missing[random.Below(10)];
      else if (pick < 10 && self >= 0 && !planting)
        name = units[static_cast<size_t>(self)].name;  // uses itself
      else if (!planting || self < 0)
        name = detail::Reference(units[random.Below(static_cast<std::uint32_t>(units.size()))],
                                 random);
      else if (self + 1 < options.units)  // a later unit: no cycle
        name = detail::Reference(
            units[static_cast<size_t>(self) + 1 +
                  random.Below(static_cast<std::uint32_t>(options.units - self - 1))],
            random);
      else
        name = missing[random.Below(10)];
      if (!text.empty()) text += random.Chance(20) ? ",\r\n  " : ", ";
      if (random.Chance(3)) text += "{$IFDEF DEBUG} ";
      text += name;
      if (random.Chance(3)) text += " {$ENDIF}";
    }
    return text;
  };

  auto plantedClause = [&](int from, bool inInterface) {
    std::string text;
    for (const TPlantedUse& use : planted)
      if (use.from == from && use.inInterface == inInterface)
        text += ", " + detail::Reference(units[static_cast<size_t>(use.to)], random);
    return text;
  };

  for (int i = 0; i < options.units; ++i) {
    const TUnit& u = units[static_cast<size_t>(i)];
    int total = static_cast<int>(random.Below(static_cast<std::uint32_t>(options.usesPerUnit))) +
                options.usesPerUnit / 2 + 1;
    int inInterface = static_cast<int>(random.Below(static_cast<std::uint32_t>(total + 1)));
    std::string text = "unit " + u.name + ";\r\n\r\n";
    text += "{ This unit uses Hidden" + std::to_string(i) + "; nothing here counts. }\r\n";
    text += "interface\r\n\r\n";
    std::string interfaceUses = clause(inInterface, i) + plantedClause(i, true);
    if (!interfaceUses.empty())
      text += "uses\r\n  " + interfaceUses.substr(inInterface > 0 ? 0 : 2) + ";\r\n\r\n";
    text += "// uses Commented" + std::to_string(i) + ";\r\n";
    text += "const\r\n  Note = 'uses InString" + std::to_string(i) + ";';\r\n\r\n";
    text += "type\r\n  TThing" + std::to_string(i) +
            " = class\r\n    procedure Run;\r\n  end;\r\n\r\nimplementation\r\n\r\n";
    std::string implementationUses = clause(total - inInterface, i) + plantedClause(i, false);
    if (!implementationUses.empty())
      text += "uses " + implementationUses.substr(total > inInterface ? 0 : 2) + ";\r\n\r\n";
    if (random.Chance(2)) text += "uses , Broken" + std::to_string(i) + ";\r\n";  // skipped
    text += "(* uses Parenthesised; *)\r\nprocedure TThing" + std::to_string(i) +
            ".Run;\r\nvar\r\n  I, Total: Integer;\r\nbegin\r\n  Total := 0;\r\n";
    for (int line = 0; line < options.fillerLines; ++line)
      text += "  for I := 1 to " + std::to_string(line + 1) +
              " do Total := Total + I * $FF; { step } // next\r\n";
    text += "  if Total > 0 then Writeln('done: ', Total);\r\nend;\r\n\r\nend.\r\n";
    std::ofstream(fs::path(folder) / u.fileName, std::ios::binary) << text;
    if (random.Chance(3) && !inCycle[static_cast<size_t>(i)]) {
      // A second file whose name differs only in letter case, with other uses.
      fs::path shadow = fs::path(folder) / u.fileName;
      std::string name = shadow.filename().string();
      std::string other = detail::Upper(name) == name ? detail::Lower(name) : detail::Upper(name);
      std::ofstream(shadow.parent_path() / other, std::ios::binary)
          << "unit " << u.name << "; interface uses " << clause(3, i) << "; implementation end.";
    }
  }

  TProject project;
  project.rootFile = "Project.dpr";
  project.searchPaths = "lib";
  std::string rootUses = clause(10 + static_cast<int>(random.Below(10)), -1);
  int named = -1;  // every planted cycle is reached from the project: it names their first units
  for (const TPlantedUse& use : planted)
    if (use.to <= use.from && use.to != named)
      rootUses += ", " + detail::Reference(units[static_cast<size_t>(named = use.to)], random);
  std::string root = "program Project;\r\n\r\nuses\r\n  " + rootUses +
                     ";\r\n\r\n{$R *.res}\r\n\r\nbegin\r\n  Application.Run;\r\nend.\r\n";
  std::ofstream(fs::path(folder) / project.rootFile, std::ios::binary) << root;
  return project;
}

}  // namespace ravelin::synthetic
