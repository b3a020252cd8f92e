// Case tables kept as annotated text files under tests/data, read by one small runner each.
//
// A table file holds one row a line, its fields separated by " | " and trimmed of blanks; empty
// lines and lines starting with "#" are notes. In a field \r \n \t \0 \\ \| \s (a blank) and
// \xHH stand for their bytes, and \{N} repeats the byte before it to N bytes in all.
//
// A block file holds named blocks: "=== name" starts one, "--- key" starts a part of it, and
// the lines after that (until the next marker) are the part's text, each followed by "\n".
//
// A row, a block name or a part's key that starts with "[posix] " or "[windows] " holds on that
// system only; the note above it (or the block's) says why the other system differs.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TestFolder.h"

namespace ravelin::testing {

/// A field's text with its escapes resolved.
inline std::string Unescape(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char c = field[++i];
    if (c == '{' && !out.empty()) {  // "\{N}": the byte before, N times in all
      const size_t close = field.find('}', i);
      out.append(std::stoul(std::string(field.substr(i + 1, close - i - 1))) - 1, out.back());
      i = close;
    } else if (c == 'x' && i + 2 < field.size()) {
      out += static_cast<char>(std::stoi(std::string(field.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      const std::string_view from = "rnt0s", to("\r\n\t\0 ", 5);
      const size_t k = from.find(c);
      out += k == std::string_view::npos ? c : to[k];
    }
  }
  return out;
}

/// Strips a leading "[posix] " or "[windows] " from text; false when it names the other system
/// than the one under test: the build's own, or RAVELIN_SYSTEM_UNDER_TEST (a program under an
/// emulator).
inline bool HoldsOnThisSystem(std::string_view& text) {
  const char* named = std::getenv("RAVELIN_SYSTEM_UNDER_TEST");
#ifdef _WIN32
  const bool windows = !named || std::string_view(named) == "windows";
#else
  const bool windows = named && std::string_view(named) == "windows";
#endif
  const std::string_view here = windows ? "[windows] " : "[posix] ";
  const std::string_view other = windows ? "[posix] " : "[windows] ";
  if (text.substr(0, other.size()) == other) return false;
  if (text.substr(0, here.size()) == here) text.remove_prefix(here.size());
  return true;
}

/// The lines of a file under tests/data, without their "\n".
inline std::vector<std::string> DataLines(const std::string& name) {
  const std::string text = ReadBytes(std::string(RAVELIN_TEST_DATA) + "/" + name);
  if (text.empty()) ADD_FAILURE() << "no data in tests/data/" << name;
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

/// One row of a table file.
struct DataRow {
  std::vector<std::string> fields;  ///< unescaped
  std::string where;                ///< "file:line", for failure messages
};

/// The rows of a table file under tests/data.
inline std::vector<DataRow> ReadTable(const std::string& name) {
  std::vector<DataRow> rows;
  const std::vector<std::string> lines = DataLines(name);
  auto trim = [](std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
  };
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = trim(lines[n]);
    if (line.empty() || line[0] == '#' || !HoldsOnThisSystem(line)) continue;
    DataRow row{{}, name + ":" + std::to_string(n + 1)};
    // Framed by blanks, a bar that starts or ends the line stands beside an empty field.
    const std::string framed = " " + std::string(line) + " ";
    for (size_t at = 1;;) {
      const size_t bar = framed.find(" | ", at - 1);
      const size_t end = bar == std::string::npos ? framed.size() - 1 : bar;
      const std::string_view field = end > at ? std::string_view(framed).substr(at, end - at) : "";
      row.fields.push_back(Unescape(trim(field)));
      if (bar == std::string::npos) break;
      at = bar + 3;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

/// One block of a block file: its name and its parts, in order.
struct DataBlock {
  std::string name;
  std::vector<std::pair<std::string, std::string>> parts;  ///< key, text
  std::string where;

  /// The text of the part key; "" when there is none.
  std::string Part(const std::string& key) const {
    for (const auto& [k, text] : parts)
      if (k == key) return text;
    return "";
  }
};

/// The blocks of a block file under tests/data.
inline std::vector<DataBlock> ReadBlocks(const std::string& name) {
  std::vector<DataBlock> blocks;
  const std::vector<std::string> lines = DataLines(name);
  bool skipping = false, partSkipped = false;  // inside a block or part of the other system
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (line.rfind("=== ", 0) == 0) {
      std::string_view title = std::string_view(line).substr(4);
      skipping = !HoldsOnThisSystem(title), partSkipped = false;
      if (!skipping) blocks.push_back({std::string(title), {}, name + ":" + std::to_string(n + 1)});
    } else if (line.rfind("--- ", 0) == 0 && !blocks.empty()) {
      std::string_view key = std::string_view(line).substr(4);
      partSkipped = !HoldsOnThisSystem(key);
      if (!partSkipped) blocks.back().parts.emplace_back(std::string(key), "");
    } else if (skipping || partSkipped) {
      continue;
    } else if (!blocks.empty() && !blocks.back().parts.empty()) {
      blocks.back().parts.back().second += line + "\n";
    }
  }
  return blocks;
}

/// A routine under test: its arguments as texts, its result as text.
using Routine = std::function<std::string(const std::vector<std::string>& args)>;

/// Checks every row "name | arguments... | result" of a table file against routines[name];
/// a routine that throws gives the result "error".
inline void CheckRoutineTable(const std::string& file,
                              const std::map<std::string, Routine>& routines) {
  for (const DataRow& row : ReadTable(file)) {
    auto routine = routines.find(row.fields[0]);
    ASSERT_NE(routine, routines.end()) << row.where << ": no routine " << row.fields[0];
    const std::vector<std::string> args(row.fields.begin() + 1, row.fields.end() - 1);
    std::string result;
    try {
      result = routine->second(args);
    } catch (const std::exception&) {
      result = "error";
    }
    EXPECT_EQ(result, row.fields.back()) << row.where;
  }
}

}  // namespace ravelin::testing
