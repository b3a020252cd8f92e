// ravelin-cli on hostile and unlucky trees: each case of tests/data/cli/safety.txt builds a
// tree in a new folder, runs the real ravelin-cli there (with a time limit, optionally with
// little memory) and checks the exit status, the message and what the folder holds afterwards.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TestFolder.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;

/// The pieces of text between separators, blanks around each removed.
std::vector<std::string> Split(std::string text, const std::string& separator) {
  std::vector<std::string> pieces;
  for (size_t end = 0; end != std::string::npos; text.erase(0, end + separator.size())) {
    end = text.find(separator);
    std::string piece = text.substr(0, end);
    piece.erase(0, piece.find_first_not_of(' '));
    pieces.push_back(piece.erase(piece.find_last_not_of(' ') + 1));
  }
  return pieces;
}

TEST(Safety, HostileAndUnluckyTrees) {
  const std::string program = fs::path(RAVELIN_CLI).parent_path();
  std::ifstream cases(RAVELIN_TEST_DATA "/cli/safety.txt");
  ASSERT_TRUE(cases.is_open());
  for (std::string line; std::getline(cases, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> c = Split(line, "::");
    ASSERT_EQ(c.size(), 7u) << line;
    SCOPED_TRACE(c[0]);
    if (c[6] == "nonroot" && ::geteuid() == 0) {
      std::cout << "skipped as root (file permissions do not apply): " << c[0] << "\n";
      continue;
    }
#if defined(__SANITIZE_ADDRESS__)
    if (c[6] == "small-memory") continue;  // the sanitizer's shadow memory alone passes it
#endif
    TempFolder dir, io;
    const std::string in = "cd '" + dir.Path() +
                           "' && export LC_ALL=C DATA='" RAVELIN_TEST_DATA "/cli' PROGRAM='" +
                           program + "' && ";
    ASSERT_EQ(std::system((in +
                           "echo 'unit Unit; interface implementation end.' >Unit.pas; "
                           "echo secret >victim.txt; " +
                           c[1])
                              .c_str()),
              0);
    const std::string run = in + "timeout 20 " +
                            (c[6] == "small-memory" ? "prlimit --data=67108864 " : "") +
                            RAVELIN_CLI + " " + c[2] + " >/dev/null 2>'" + (io / "err") + "'";
    const int status = std::system(run.c_str());
    fs::remove(program + "/ravelin.INI");
    const std::string err = ReadBytes(io / "err");
    EXPECT_EQ(WEXITSTATUS(status), std::stoi(c[3])) << err;
    EXPECT_NE(err.find(c[4]), std::string::npos) << err;
    if (!c[5].empty()) {  // the entries as ls -F marks them, then what victim.txt holds
      std::system((in + "set -f; echo $(ls -AF) $(cat victim.txt) >" + (io / "disk")).c_str());
      EXPECT_EQ(ReadBytes(io / "disk"), c[5] + "\n");
    }
  }
}

}  // namespace
}  // namespace ravelin
