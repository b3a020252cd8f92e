#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestFolder.h"
#include "common/Error.h"
#include "platform/FileSys.h"

namespace ravelin {
namespace {

using testing::TempFolder;

class FileSysTest : public ::testing::Test {
 protected:
  void SetUp() override { fs_ = MakeDiskFileSystem(); }
  TempFolder dir_{"ravelin-fs-XXXXXX"};
  std::unique_ptr<FileSystem> fs_;
};

TEST_F(FileSysTest, ResolvesEachComponentIgnoringCase) {
  dir_.MakeFolder("Common");
  dir_.Write("Common/utils.pas", "x");
  dir_.Write("Unit1.dfm", "y");
  struct Row {
    std::string asked;
    std::string found;  // empty: none
  } rows[] = {
      {dir_ / "Common/utils.pas", dir_ / "Common/utils.pas"},
      {dir_ / "COMMON/Utils.PAS", dir_ / "Common/utils.pas"},
      {dir_ / "common\\UTILS.pas", dir_ / "Common/utils.pas"},
      {dir_ / "Unit1.DFM", dir_ / "Unit1.dfm"},
      {dir_ / "x/../Common/./utils.pas", dir_ / "Common/utils.pas"},
      {dir_ / "Missing.pas", ""},
      {dir_ / "Unit1.dfm/x", ""},
  };
  for (const auto& row : rows) {
    auto got = fs_->Resolve(row.asked);
    EXPECT_EQ(got.value_or(""), row.found) << row.asked;
  }
}

TEST_F(FileSysTest, PrefersTheExactSpellingThenTheFirstInByteOrder) {
  dir_.Write("forms.pas", "lower");
  dir_.Write("Forms.pas", "mixed");
  dir_.Write("FORMS.pas", "upper");
  EXPECT_EQ(fs_->Resolve(dir_ / "forms.pas").value(), dir_ / "forms.pas");
  EXPECT_EQ(fs_->Resolve(dir_ / "fORMS.pas").value(), dir_ / "FORMS.pas");
}

TEST_F(FileSysTest, AFolderIsNoFile) {
  dir_.MakeFolder("Sub");
  dir_.Write("a.pas", "abc");
  EXPECT_TRUE(fs_->FileExists(dir_ / "A.PAS"));
  EXPECT_FALSE(fs_->FileExists(dir_ / "sub"));
  EXPECT_TRUE(fs_->FolderExists(dir_ / "sub"));
  std::string data;
  EXPECT_FALSE(fs_->TryReadFile(dir_ / "Sub", data));
  EXPECT_FALSE(fs_->TryReadFile(dir_ / "none.pas", data));
  EXPECT_TRUE(fs_->TryReadFile(dir_ / "a.PAS", data));
  EXPECT_EQ(data, "abc");
  EXPECT_EQ(fs_->Stat(dir_ / "a.pas").size, 3u);
  EXPECT_THROW(fs_->ReadFile(dir_ / "none.pas"), IoError);
}

TEST_F(FileSysTest, ReadsOnlyFilesAndPipesAndNeverWaitsForAWriter) {
  // A FIFO without a writer reads as empty instead of blocking; devices are not files.
  ASSERT_EQ(::mkfifo((dir_ / "pipe.pas").c_str(), 0600), 0);
  std::string data = "stale";
  EXPECT_TRUE(fs_->TryReadFile(dir_ / "PIPE.pas", data));
  EXPECT_EQ(data, "");
  EXPECT_FALSE(fs_->TryReadFile("/dev/zero", data));
  EXPECT_FALSE(fs_->TryReadFile("/dev/null", data));
}

TEST_F(FileSysTest, NamesHoldingANulByteNameNoFile) {
  // The system would take the name only up to the NUL and reach "a.pas" instead.
  dir_.Write("a.pas", "abc");
  const std::string name = (dir_ / "a.pas") + std::string(1, '\0') + "x";
  std::string data;
  EXPECT_FALSE(fs_->TryReadFile(name, data));
  EXPECT_FALSE(fs_->Resolve(name).has_value());
  EXPECT_FALSE(fs_->FileExists(name));
  EXPECT_THROW(fs_->AppendReport(name, "x", ReportStart::AtEnd), IoError);
  EXPECT_THROW(fs_->ReplaceFile(name, "x"), IoError);
  EXPECT_THROW(fs_->TruncateFile(name), IoError);
  EXPECT_THROW(fs_->MakeFolders(name), IoError);
  EXPECT_EQ(fs_->ReadFile(dir_ / "a.pas"), "abc");
}

TEST_F(FileSysTest, ListsFoldersSortedInCapitalsWithDotEntries) {
  dir_.Write("b.pas", "");
  dir_.Write("A.pas", "");
  dir_.Write("a.pas", "");
  dir_.Write("_x.pas", "");
  dir_.MakeFolder("Zeta");
  auto entries = fs_->ListFolder(dir_.Path());
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name + (e.isDir ? "/" : ""));
  std::vector<std::string> want = {"./", "../", "A.pas", "a.pas", "b.pas", "Zeta/", "_x.pas"};
  EXPECT_EQ(names, want);
  EXPECT_TRUE(fs_->ListFolder(dir_ / "missing").empty());
}

TEST_F(FileSysTest, ScansFoldersWithKindsLinksFollowed) {
  dir_.Write("f.pas", "abc");
  std::filesystem::create_symlink("f.pas", dir_ / "lf");
  std::filesystem::create_symlink("none", dir_ / "broken");
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  std::string got = fs_->ScanFolder(dir_.Path()).error;
  for (const auto& e : fs_->ScanFolder(dir_.Path()).entries)
    got += e.name + ":" + "FDOM"[static_cast<int>(e.kind)] + std::to_string(e.size) + " ";
  EXPECT_EQ(got, "broken:M0 f.pas:F3 lf:F3 pipe:O0 ");
  EXPECT_EQ(fs_->ScanFolder(dir_ / "missing").error, "No such file or directory");
  EXPECT_EQ(fs_->ScanFolder(dir_ / "F.PAS").error, "Not a directory");
}

TEST_F(FileSysTest, CachedListingsAreRefreshedAfterOwnWritesAndClearCache) {
  dir_.Write("one.pas", "");
  EXPECT_EQ(fs_->ListFolder(dir_.Path()).size(), 3u);
  fs_->AppendReport(dir_ / "two.pas", "x", ReportStart::AtEnd);
  EXPECT_EQ(fs_->ListFolder(dir_.Path()).size(), 4u);
  EXPECT_TRUE(fs_->Resolve(dir_ / "ONE.PAS").has_value());  // indexes the folder
  dir_.Write("Three.pas", "");                              // written behind our back
  EXPECT_FALSE(fs_->Resolve(dir_ / "THREE.PAS").has_value());
  fs_->ClearCache();
  EXPECT_TRUE(fs_->Resolve(dir_ / "THREE.PAS").has_value());
}

TEST_F(FileSysTest, AppendCreatesAndExtends) {
  fs_->AppendReport(dir_ / "r.txt", "one\r\n", ReportStart::AtEnd);
  fs_->AppendReport(dir_ / "R.TXT", "two\r\n",
                    ReportStart::AtEnd);  // the existing file, found ignoring case
  EXPECT_EQ(fs_->ReadFile(dir_ / "r.txt"), "one\r\ntwo\r\n");
  EXPECT_FALSE(fs_->FileExists(dir_ / "R.TXT.new"));
}

TEST_F(FileSysTest, AppendThatFailsHalfWayKeepsTheOldContent) {
  dir_.Write("r.txt", std::string(1000, 'o'));
  // Let the file grow by only a few bytes: the write fails part way (EFBIG).
  struct rlimit old;
  ::getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 1010;
  ::setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(fs_->AppendReport(dir_ / "r.txt", std::string(100000, 'n'), ReportStart::AtEnd),
               IoError);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(fs_->ReadFile(dir_ / "r.txt"), std::string(1000, 'o'));
}

TEST_F(FileSysTest, AppendToAnUnwritableFileThrowsAndKeepsIt) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
  dir_.Write("r.txt", "old");
  ::chmod((dir_ / "r.txt").c_str(), 0444);
  EXPECT_THROW(fs_->AppendReport(dir_ / "r.txt", "new", ReportStart::AtEnd), IoError);
  EXPECT_EQ(fs_->ReadFile(dir_ / "r.txt"), "old");
}

TEST_F(FileSysTest, ReplaceIsAllOrNothing) {
  dir_.Write("s.ini", "old");
  fs_->ReplaceFile(dir_ / "S.INI", "new");
  EXPECT_EQ(fs_->ReadFile(dir_ / "s.ini"), "new");
  EXPECT_EQ(fs_->ListFolder(dir_.Path()).size(), 3u);  // no temporary file left behind
  // A replacement into a folder that does not exist fails and changes nothing.
  EXPECT_THROW(fs_->ReplaceFile(dir_ / "nofolder/s.ini", "x"), IoError);
  struct rlimit old;
  ::getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 10;
  ::setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(fs_->ReplaceFile(dir_ / "s.ini", std::string(1000, 'x')), IoError);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(fs_->ReadFile(dir_ / "s.ini"), "new");
  EXPECT_EQ(fs_->ListFolder(dir_.Path()).size(), 3u);
}

TEST_F(FileSysTest, TruncateEmptiesOrCreates) {
  dir_.Write("r.txt", "old");
  fs_->TruncateFile(dir_ / "R.txt");
  EXPECT_EQ(fs_->ReadFile(dir_ / "r.txt"), "");
  fs_->TruncateFile(dir_ / "new.txt");
  EXPECT_TRUE(fs_->FileExists(dir_ / "new.txt"));
  EXPECT_THROW(fs_->TruncateFile(dir_ / "nofolder/x.txt"), IoError);
}

TEST_F(FileSysTest, CurrentFolderAndFullPath) {
  std::string before = fs_->CurrentFolder();
  dir_.MakeFolder("Work");
  fs_->SetCurrentFolder(dir_ / "WORK");
  EXPECT_EQ(fs_->CurrentFolder(), dir_ / "Work");
  EXPECT_EQ(fs_->FullPath("..\\x\\.\\y.pas"), dir_ / "x/y.pas");
  EXPECT_THROW(fs_->SetCurrentFolder(dir_ / "none"), IoError);
  fs_->SetCurrentFolder(before);
}

TEST_F(FileSysTest, MakeFoldersCreatesParentsAndReusesCaseVariants) {
  dir_.MakeFolder("Config");
  fs_->MakeFolders(dir_ / "config/ravelin/deep");
  EXPECT_TRUE(fs_->FolderExists(dir_ / "Config/ravelin/deep"));
  // No second, differently spelled folder was made beside "Config".
  EXPECT_EQ(fs_->ListFolder(dir_.Path()).size(), 3u);
  EXPECT_EQ(fs_->Resolve(dir_ / "config").value(), dir_ / "Config");
}

TEST(ScopedFileSystem, InstallsAndRestores) {
  FileSystem& disk = Fs();
  auto other = MakeDiskFileSystem();
  {
    ScopedFileSystem scope(*other);
    EXPECT_EQ(&Fs(), other.get());
  }
  EXPECT_EQ(&Fs(), &disk);
}

}  // namespace
}  // namespace ravelin
