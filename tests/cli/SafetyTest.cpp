// ravelin-cli on hostile and unlucky trees: each row prepares a folder, runs ravelin-cli in a
// child process there (its own state, a time limit, optionally little memory) and checks the
// exit status, the message and what the folder holds afterwards.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "TestFolder.h"
#include "cli/CliMain.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "forms/FormWriter.h"
#include "forms/SampleForms.h"
#include "platform/ExePath.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;

struct Outcome {
  int status;  // the exit status, or 128 + the signal that ended the run
  std::string err;
};

/// Runs ravelin-cli with args in a child process whose current folder is folder; a run that
/// takes over 20 s is killed. With smallMemory the child may hold only 64 MiB of data.
Outcome RunChild(const std::string& folder, std::vector<std::string> args, bool smallMemory) {
  TempFolder io;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(20);
    if (smallMemory) {
      const rlimit limit{64 << 20, 64 << 20};
      ::setrlimit(RLIMIT_DATA, &limit);
    }
    if (::chdir(folder.c_str()) != 0) ::_exit(99);
    args.insert(args.begin(), "ravelin-cli");
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    std::ofstream out(io / "out"), err(io / "err");
    const int status = RunCli(static_cast<int>(args.size()), argv.data(), out, err);
    err.close();
    ::_exit(status);
  }
  int wait = 0;
  ::waitpid(pid, &wait, 0);
  return {WIFEXITED(wait) ? WEXITSTATUS(wait) : 128 + WTERMSIG(wait), ReadBytes(io / "err")};
}

/// What a folder holds, sorted by name: "name/" a folder, "name@" a link, "name~" a pipe,
/// "name=bytes" a file of a few printable bytes, "name" any other file.
std::string Snapshot(const std::string& folder) {
  std::vector<std::string> entries;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    const auto type = entry.symlink_status().type();
    if (type == fs::file_type::directory) name += "/";
    if (type == fs::file_type::symlink) name += "@";
    if (type == fs::file_type::fifo) name += "~";
    const std::string bytes = type == fs::file_type::regular ? ReadBytes(entry.path()) : "";
    if (type == fs::file_type::regular && bytes.size() <= 16 &&
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= ' '; }))
      name += "=" + bytes;
    entries.push_back(name);
  }
  std::sort(entries.begin(), entries.end());
  std::string text;
  for (const auto& entry : entries) text += (text.empty() ? "" : " ") + entry;
  return text;
}

/// A binary form whose text is about 400 times its size: nils in a list 250 levels deep.
std::string DeepForm() {
  test::FormWriter w;
  w.Object("TForm", "F").Prop("P");
  for (int i = 0; i < 250; ++i) w.List();
  for (int i = 0; i < 2000; ++i) w.Nil();
  for (int i = 0; i < 250; ++i) w.End();
  return w.End().End().Bytes();
}

/// The text between separators, blanks around each piece removed.
std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  for (size_t start = 0;;) {
    const size_t end = text.find(separator, start);
    std::string piece = text.substr(start, end == std::string::npos ? end : end - start);
    piece.erase(0, piece.find_first_not_of(' '));
    piece.erase(piece.find_last_not_of(' ') + 1);
    pieces.push_back(piece);
    if (end == std::string::npos) return pieces;
    start = end + separator.size();
  }
}

/// "8M" as 8 MiB, "1G" as 1 GiB.
size_t Size(const std::string& text) {
  return std::stoul(text) << (text.back() == 'G' ? 30 : 20);
}

/// Carries out one setup step of the case file in folder d.
void Prepare(const TempFolder& d, const std::string& step, const std::string& programSettings) {
  std::vector<std::string> w = Split(step, " ");
  const std::string& verb = w[0];
  const std::string name = w.size() > 1 ? d / w[1] : "";
  if (verb == "form") {
    d.Write(w[1], w[2] == "deep" ? DeepForm() : test::MinimalForm());
  } else if (verb == "link") {
    fs::create_symlink(w[2], name);
  } else if (verb == "fifo" || verb == "writer") {
    ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
    if (verb == "writer") ::open(name.c_str(), O_RDWR | O_CLOEXEC);  // never closed
  } else if (verb == "dir") {
    d.MakeFolder(w[1]);
  } else if (verb == "file") {
    d.Write(w[1], step.substr(step.find(w[1]) + w[1].size() + 1));
  } else if (verb == "unreadable") {
    if (!fs::exists(name)) d.Write(w[1], "[LAST]");
    ::chmod(name.c_str(), 0);
  } else if (verb == "repeat") {
    std::string line = w[3];
    for (size_t at; (at = line.find("\\n")) != std::string::npos;) line.replace(at, 2, "\n");
    std::string block;
    while (block.size() < (1 << 16)) block += line;
    std::ofstream file(name, std::ios::binary);
    for (size_t done = 0; done < Size(w[2]); done += block.size()) file << block;
  } else if (verb == "sparse") {
    fs::resize_file(d.Write(w[1], ""), Size(w[2]));
  } else if (verb == "unreadable-program-settings") {
    fs::create_directory(programSettings);
  } else {
    FAIL() << "unknown setup step " << step;
  }
}

TEST(Safety, HostileAndUnluckyTrees) {
  const std::string programSettings = JoinPath(FolderPart(ExecutablePath()), "ravelin.INI");
  std::ifstream cases(RAVELIN_TEST_DATA "/cli/safety.txt");
  int count = 0;
  for (std::string line; std::getline(cases, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> c = Split(line, "|");
    ASSERT_EQ(c.size(), 7u) << line;
    SCOPED_TRACE(c[0]);
    ++count;
    if (c[6] == "nonroot" && ::geteuid() == 0) {
      std::cout << "skipped as root (file permissions do not apply): " << c[0] << "\n";
      continue;
    }
#if defined(__SANITIZE_ADDRESS__)
    if (c[6] == "small-memory") continue;  // the sanitizer's shadow memory alone passes it
#endif
    TempFolder dir;
    dir.Write("Unit.pas", "unit Unit; interface implementation end.");
    dir.Write("victim.txt", "secret");
    if (!c[1].empty())
      for (const std::string& step : Split(c[1], " & ")) Prepare(dir, step, programSettings);
    const Outcome outcome = RunChild(dir.Path(), Split(c[2], " "), c[6] == "small-memory");
    fs::remove(programSettings);
    EXPECT_EQ(outcome.status, std::stoi(c[3])) << outcome.err;
    EXPECT_NE(outcome.err.find(c[4]), std::string::npos) << outcome.err;
    if (!c[5].empty()) {
      EXPECT_EQ(Snapshot(dir.Path()), c[5]);
    }
  }
  EXPECT_EQ(count, 19);
}

}  // namespace
}  // namespace ravelin
