// Times the folder walk alone: the files a count would take from the given folders and
// patterns, without reading them.
//   ravelin-walk-bench [--runs N] [--ext LIST] [--exclude GLOB]... [--no-ignore] [--list]
//                      INPUT...
// An INPUT holding "*" or "?" is a pattern, any other a folder or file. LIST is a
// comma-separated list of extensions. Prints the files, their bytes and the fastest and median
// wall time of N walks (default 10); --list prints the paths taken instead, one per line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/PathUtil.h"
#include "platform/FileWalk.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: ravelin-walk-bench [--runs N] [--ext LIST] [--exclude GLOB]... "
               "[--no-ignore] [--list] INPUT...\n");
  return 2;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    items.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return items;
    start = comma + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ravelin;
  WalkOptions options;
  int runs = 10;
  bool list = false;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--runs" && hasValue) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--ext" && hasValue) {
      options.extensions = SplitList(argv[++i]);
    } else if (arg == "--exclude" && hasValue) {
      options.excludes.push_back(argv[++i]);
    } else if (arg == "--no-ignore") {
      options.gitIgnore = false;
    } else if (arg == "--list") {
      list = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage();
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty()) return Usage();

  std::vector<double> times;
  size_t files = 0, warnings = 0;
  unsigned long long bytes = 0;
  for (int run = 0; run < (list ? 1 : runs); ++run) {
    warnings = 0;
    auto start = std::chrono::steady_clock::now();
    FileWalk walk(options, [&](const WalkWarning& w) {
      if (run == 0) std::fprintf(stderr, "%s\n", Describe(w).c_str());
      ++warnings;
    });
    for (const std::string& input : inputs) {
      if (HasWildcard(input)) {
        walk.AddPattern(input);
      } else {
        walk.AddRoot(input);
      }
    }
    times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    files = walk.Files().size();
    bytes = 0;
    for (const WalkedFile& file : walk.Files()) {
      bytes += file.size;
      if (list) std::printf("%s\n", file.path.c_str());
    }
  }
  if (list) return 0;
  std::sort(times.begin(), times.end());
  std::printf("files %zu  bytes %llu  warnings %zu  runs %d  fastest %.4f s  median %.4f s\n",
              files, bytes, warnings, runs, times.front(), times[times.size() / 2]);
  return 0;
}
