// ravelin-cli: the runs of tests/data/cli/commands.txt (exit status, report, messages), and what
// --report does to the file it names.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>

#include "DataTable.h"
#include "SameText.h"
#include "SyntheticProject.h"
#include "cli/CliMain.h"
#include "cli/HtmlCommand.h"
#include "cli/Progress.h"
#include "common/MachineFormats.h"
#include "common/VornString.h"
#include "linecount/LCntReports.h"
#include "settings/LstGlobal.h"
#include "units/GraphSvg.h"
#include "units/UnitReports.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

// The folder name the golden reports are written with; the real one has the same length.
constexpr const char* kGoldenFolder = "/tmp/ravelin-cli-XXXXXX";

/// The program the table's runs go to instead of RunCli in this process: RAVELIN_CLI_PROGRAM,
/// an emulator and a build of ravelin-cli ("wine /x/ravelin-cli.exe"), words split at blanks.
std::vector<std::string> ProgramUnderTest() {
  std::vector<std::string> words;
  const char* program = std::getenv("RAVELIN_CLI_PROGRAM");
  for (std::string rest = program ? program : ""; !rest.empty();)
    if (std::string word = SplitFirst(rest, " "); !word.empty()) words.push_back(word);
  return words;
}

/// How that program's full names start ("Z:" under Wine): RAVELIN_CLI_DRIVE.
std::string DriveUnderTest() {
  const char* drive = std::getenv("RAVELIN_CLI_DRIVE");
  return drive ? drive : "";
}

struct CliRun {
  int status;
  std::string out, err;
};

/// Runs program with args in the current folder; its output goes through files.
CliRun RunProgram(std::vector<std::string> args) {
  const testing::TempFolder io;
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, (io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, (io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t child = 0;
  int status = -1;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0)
    ::waitpid(child, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(io / "out"),
          ReadBytes(io / "err")};
}

/// Runs ravelin-cli as a fresh process would (the line counter's last path as at start), or
/// the program under test when there is one.
CliRun RunCliWith(std::vector<std::string> args) {
  if (const auto program = ProgramUnderTest(); !program.empty()) {
    args.insert(args.begin(), program.begin(), program.end());
    return RunProgram(args);
  }
  LineCounter() = {};
  args.insert(args.begin(), "ravelin-cli");
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  std::ostringstream out, err;
  const int status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

class Cli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
  void SetUp() override {
    ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    fs::copy(RAVELIN_SOURCE_DIR "/samples/demo", folder_ / "demo", fs::copy_options::recursive);
    fs::copy(RAVELIN_TEST_DATA "/cli/folder", folder_.Path(), fs::copy_options::recursive);
    const std::string off = "[LAST]\r\nSearch Paths=" + dir_ + "/lib" + "\r\nRTL=" + dir_ +
                            "/rtl/" + "\r\nVCL=" + dir_ + "/rtl/" + "\r\n";
    folder_.Write("off.INI", off);
    folder_.Write("on.INI", off + "Use RTL=1\r\nUse Search Path=1\r\nUse VCL=0\r\n");
    folder_.Write("long/Long.pas", "x;\r\n" + std::string(70000, 'y') + "\r\n");
    if (program_.empty())  // Windows has no FIFO: its rows hold on POSIX only
      ::mkfifo((folder_ / "pat/Pipe.pas").c_str(), 0600);  // read as empty, never waited for
    folder_.Write("odd.Files", "\r\n  odd\\SUB\\B.pas \t\n\r\n   \r\t" + dir_ + "/odd/A.pas" +
                                   "\n\x7Fodd/\xC3\x84rger.pas\r\nodd/A.pas\r\nMissing.pas\r\n" +
                                   dir_ + "/odd" + "\r\n\x1A" + "odd/A.pas\r\n");
    std::string many;
    for (int i = 0; i < 65536; ++i) many += "m\r\n";
    folder_.Write("many.Files", many);
    synthetic::TOptions options;  // 60 units with random clauses of every kind
    options.units = 60, options.usesPerUnit = 10, options.seed = 4, options.fillerLines = 2;
    synthetic::WriteProject(folder_ / "synth", options);
    for (const auto& entry : fs::recursive_directory_iterator(folder_.Path())) {
      utimbuf times{966342896, 966342896};  // 2000-08-15 12:34:56 UTC
      ::utime(entry.path().c_str(), &times);
    }
  }
  void TearDown() override {
    ::unsetenv("XDG_CONFIG_HOME");
    SetSettingsFileName("");
  }

  const std::vector<std::string> program_ = ProgramUnderTest();
  // Named as long as the golden folder, the drive included.
  testing::TempFolder folder_{std::string(kGoldenFolder).erase(13, DriveUnderTest().size())};
  testing::ScopedCurrentFolder here_{folder_.Path()};
  const std::string dir_ = DriveUnderTest() + folder_.Path();  // as the program names it
};

TEST_F(Cli, RunsGiveTheStatusReportAndMessagesOfTheTable) {
  static const std::regex stamp(R"(RAVELIN REPORT \d{4} [A-Za-z]{3} \d{2} @ \d{2}:\d{2})");
  auto expected = [&](const std::string& field) {
    if (field.rfind("golden ", 0) != 0) return ReplaceAll(field, "{dir}", dir_);
    return ReplaceAll(ReadBytes(RAVELIN_TEST_DATA "/cli/" + field.substr(7)), kGoldenFolder, dir_);
  };
  for (const auto& row : testing::ReadTable("cli/commands.txt")) {
    std::vector<std::string> args;
    for (std::string rest = row.fields[0]; !rest.empty();)
      args.push_back(ReplaceAll(SplitFirst(rest, " "), "{dir}", dir_));
    const CliRun run = RunCliWith(args);
    EXPECT_EQ(run.status, std::stoi(row.fields[1])) << row.where << "\n" << run.err;
    const std::string out =
        std::regex_replace(run.out, stamp, "RAVELIN REPORT yyyy mmm dd @ hh:mm");
    const std::pair<std::string, std::string> outputs[] = {{row.fields[2], out},
                                                           {row.fields[3], run.err}};
    for (const auto& [field, actual] : outputs) {
      if (field.empty() || field.rfind("golden ", 0) == 0) {
        EXPECT_TRUE(testing::SameBytes(expected(field), actual)) << row.where;
      } else {
        EXPECT_NE(actual.find(expected(field)), std::string::npos) << row.where << "\n" << actual;
      }
    }
    EXPECT_EQ(fs::current_path(), folder_.Path()) << row.where;  // the start folder is back
    if (row.fields[0].find("json") != std::string::npos && run.status == 0) {
      EXPECT_NO_THROW(JsonDocument::parse(run.out)) << row.where;  // a JSON document, whole
    }
  }
}

TEST_F(Cli, TheUnitDocumentListsTheUnitsOfTheListing) {
  const std::string listing = RunCliWith({"list", "demo/Demo.dpr"}).out;
  const JsonDocument units =
      JsonDocument::parse(RunCliWith({"list", "--format", "json", "demo/Demo.dpr"}).out)["units"];
  std::string fromJson, fromText;
  int number = 0;
  for (const auto& unit : units) {
    fromJson += unit["name"].get<std::string>() + " " +
                (unit["file"].is_null() ? unit["name"].get<std::string>() + ".pas"
                                        : unit["file"].get<std::string>()) +
                "\n";
  }
  for (std::string rest = listing; !rest.empty();) {
    const std::string line = SplitFirst(rest, "\r\n");
    if (line.size() < 65 || line.compare(0, 5, IntToStrWidth(number + 1, 5)) != 0) continue;
    ++number;
    fromText += TrimSpaces(line.substr(7, 20)) + " " + line.substr(64) + "\n";
  }
  EXPECT_EQ(number, 18);
  EXPECT_EQ(fromJson, fromText);
}

TEST_F(Cli, GraphvizDrawsTheDotGraphs) {
  if (std::system("command -v dot >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "Graphviz is not installed";
  for (const char* args : {"demo/Demo.dpr", "--cluster loops/Ring.dpr"}) {
    std::vector<std::string> run = {"graph", "--report", "graph.dot"};
    for (std::string rest = args; !rest.empty();) run.push_back(SplitFirst(rest, " "));
    std::filesystem::remove(folder_ / "graph.dot");
    ASSERT_EQ(RunCliWith(run).status, 0) << args;
    EXPECT_EQ(std::system("dot -Tsvg graph.dot -o graph.svg 2>dot.err"), 0) << args;
    EXPECT_EQ(ReadBytes(folder_ / "dot.err"), "") << args;
    EXPECT_NE(ReadBytes(folder_ / "graph.svg").find("<svg"), std::string::npos) << args;
  }
}

TEST(CliArgs, ParseAsTheTableSays) {
  const std::vector<cli::OptionSpec> specs = {
      {"list", "FILE", ""},
      {"quiet", "", "", 'q'},
      {"define", "NAME", "", 'D', true},
      {"fail-on-cycles", "KIND", "", 0, false, true},
  };
  testing::CheckRoutineTable("cli/args.txt",
                             {{"ParseArgs", [&](const std::vector<std::string>& a) {
                                 std::vector<std::string> args;
                                 for (std::string rest = a[0]; !rest.empty();)
                                   args.push_back(SplitFirst(rest, " "));
                                 try {
                                   const cli::ParsedArgs parsed = cli::ParseArgs(args, specs);
                                   std::string text;
                                   for (const auto& [name, values] : parsed.options) {
                                     text += (text.empty() ? "" : " ") + name + "=";
                                     for (size_t i = 0; i < values.size(); ++i)
                                       text += (i ? "," : "") + values[i];
                                   }
                                   text += " /";
                                   for (const auto& operand : parsed.operands)
                                     text += " " + operand;
                                   return text;
                                 } catch (const cli::UsageError& e) {
                                   return std::string("usage: ") + e.what();
                                 }
                               }}});
}

TEST(CliDocs, EveryOptionIsInTheManualPageTheReadmeAndTheCompletion) {
  const std::string manual = ReadBytes(RAVELIN_SOURCE_DIR "/docs/man/ravelin-cli.1"),
                    readme = ReadBytes(RAVELIN_SOURCE_DIR "/README.md"),
                    completion = ReadBytes(RAVELIN_SOURCE_DIR "/packaging/ravelin-cli.bash");
  for (const cli::CliCommand& command : cli::Commands()) {
    EXPECT_NE(manual.find(".B " + command.name), std::string::npos) << command.name;
    EXPECT_NE(completion.find(" " + command.name), std::string::npos) << command.name;
    for (const cli::OptionSpec& option : command.options) {
      EXPECT_NE(manual.find("\\-\\-" + option.name), std::string::npos) << option.name;
      EXPECT_NE(readme.find("`--" + option.name), std::string::npos) << option.name;
      EXPECT_NE(completion.find("--" + option.name), std::string::npos) << option.name;
    }
  }
}

TEST(CliProgress, ShowsAfterASecondOnlyWhenShownAndClearsItsLine) {
  using namespace std::chrono_literals;
  const auto start = cli::Progress::Clock::now();
  std::ostringstream shown, hidden;
  cli::Progress progress(shown, true, start), quiet(hidden, false, start);
  for (auto* p : {&progress, &quiet}) {
    p->Add(1'000'000, start + 900ms);  // under a second: nothing yet
    p->Add(2'000'000, start + 2s);
    p->Add(0, start + 2100ms);  // renewed at most every 200 ms
    p->Finish();
  }
  EXPECT_EQ(shown.str(), "\rravelin-cli: 2 files, 3.0 MB, 1.5 MB/s\x1B[K\r\x1B[K");
  EXPECT_EQ(hidden.str(), "");
}

TEST_F(Cli, EveryNumberOfJobsGivesTheSameBytes) {
  // A generated tree of 700 files in 7 folders (more than one batch), a few skipped ones.
  for (int i = 0; i < 700; ++i) {
    std::string text;
    for (int line = 0; line < i % 23; ++line)
      text += line % 5 == 0 ? "{ c }\r\n" : line % 3 == 0 ? "\r\n" : "x := y; // z\r\n";
    if (i % 97 == 0) text += std::string(70000, 'q');  // a line too long: skipped
    folder_.Write("gen/f" + std::to_string(i % 7) + "/u" + std::to_string(i) + ".pas", text);
  }
  const std::vector<std::vector<std::string>> runs = {
      {"count", "demo", "synth", "gen", "odd"},
      {"count", "--format", "json", "--keep-going", "Missing.pas", "gen", "long/Long.pas", "demo"},
      {"count", "--summary", "gen/f3", "demo/*.pas"},
      {"count", "demo/Demo.dpr", "long/Long.pas", "gen"},  // ends at the long line
      {"count", "gen/**/*.pas"},  // ends at its first file while the walk goes on
  };
  for (const auto& args : runs) {
    std::vector<std::string> withJobs = args;
    withJobs.insert(withJobs.begin() + 1, {"--jobs", "1"});
    const CliRun one = RunCliWith(withJobs);
    for (const char* jobs : {"2", "3", "16"}) {
      withJobs[2] = jobs;
      const CliRun many = RunCliWith(withJobs);
      EXPECT_EQ(many.status, one.status) << args[1] << " " << jobs;
      EXPECT_TRUE(testing::SameBytes(one.out, many.out)) << args[1] << " " << jobs;
      EXPECT_EQ(many.err, one.err) << args[1] << " " << jobs;
    }
  }
}

TEST_F(Cli, ReportFilesAreAppendedToOnALineOfTheirOwnAndKeptWhenARunFails) {
  const std::string report = folder_ / "Ravelin.TXT",
                    fresh = RunCliWith({"count", "Alpha.pas"}).out;
  const struct {
    std::string before, after;
  } rows[] = {
      {"earlier", "earlier\r\n" + fresh},
      {"earlier\r\n", "earlier\r\n" + fresh},
      {"earlier\n", "earlier\n" + fresh},
      {"earlier\r", "earlier\r" + fresh},
      {"", fresh},
      {"earlier\r\n" + fresh, "earlier\r\n" + fresh + fresh},
  };
  for (const auto& row : rows) {
    WriteBytes(report, row.before);
    EXPECT_EQ(RunCliWith({"count", "--report", report, "Alpha.pas"}).out, "");
    EXPECT_TRUE(testing::SameBytes(row.after, ReadBytes(report))) << testing::Escaped(row.before);
  }
  EXPECT_EQ(RunCliWith({"depend", "--report=new.txt", "app/Demo.dpr"}).status, 0);
  EXPECT_EQ(ReadBytes(folder_ / "new.txt"), RunCliWith({"depend", "app/Demo.dpr"}).out);
  EXPECT_FALSE(fs::exists(folder_ / "app/new.txt"));  // named from the start folder

  // A run that fails writes nothing; a write that fails half way leaves what the file held.
  WriteBytes(report, "old\r\n");
  for (const char* file : {"Ravelin.TXT", "Fresh.TXT"}) {
    EXPECT_EQ(RunCliWith({"count", "--report", file, "Alpha.pas", "long/Long.pas"}).status, 1);
    EXPECT_EQ(RunCliWith({"list", "--report", file, "missing.dpr"}).status, 1);
  }
  EXPECT_FALSE(fs::exists(folder_ / "Fresh.TXT"));
  {
    testing::ScopedFileSizeLimit limit(300);
    EXPECT_EQ(RunCliWith({"count", "--report", report, "Alpha.pas"}).status, 1);
    EXPECT_EQ(RunCliWith({"count", "--report", "Fresh.TXT", "Alpha.pas"}).status, 1);
  }
  EXPECT_EQ(ReadBytes(report), "old\r\n");
  EXPECT_FALSE(fs::exists(folder_ / "Fresh.TXT"));
}

/// Occurrences of what in text.
std::size_t CountOf(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

/// The page without its picture's section (whose bytes are the graph library's own, or a note
/// in a build without it).
std::string WithoutPicture(std::string page) {
  const std::size_t start = page.find("<section id=\"graph\">");
  if (start != std::string::npos)
    page.replace(start, page.find("</section>", start) + 10 - start, "<section id=\"graph\"/>");
  return page;
}

/// A page of names that try to break out of their text, and of bytes that are no UTF-8.
std::string HostilePage() {
  const std::vector<std::string> names = {
      "<script>window.pwned=1</script>", "<img src=x onerror=window.pwned=1>",
      "\"><svg onload=window.pwned=1>", "'&amp;\xC4\xFF\x01", "]]><!--"};
  UnitRecords records;
  records.root = names[0] + ".dpr";
  LineCountRecord count;
  count.FileSpec = names[1];
  for (const std::string& name : names) {
    records.units.push_back({name, name + ".pas", true, 1, 0});
    count.files.push_back({name + ".pas", "", true, false, {3, 1, 1, 1, 1}, ""});
  }
  count.files.back().skipped = names[2];  // the reason is a name too
  for (std::size_t i = 0; i < names.size(); ++i)
    records.uses.push_back({names[i], names[(i + 1) % names.size()], UsesSection::Interface,
                            names[i], i, (i + 1) % names.size()});
  return cli::RenderHtmlReport(MakeUsesGraphRecords(std::move(records)), count, 0);
}

TEST_F(Cli, TheHtmlPageOfTheDemoHoldsItsRowsAndAPictureNodePerUnit) {
  SetReportClock([] { return std::time_t{966342896}; });
  const CliRun run = RunCliWith({"html", "--output", "page.html", "demo/Demo.dpr"});
  SetReportClock({});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  const std::string page = ReadBytes(folder_ / "page.html");
  if (CanDrawGraphs()) {
    EXPECT_EQ(CountOf(page, "class=\"node\""), 18u);  // no unit left out of the picture
    // The cycle's two units, and its two uses with their arrowheads.
    EXPECT_EQ(CountOf(page, "stroke=\"red\""), 2u + 2u * 2u);
  } else {
    EXPECT_NE(page.find("id=\"no-picture\""), std::string::npos);
  }
  const std::string golden = ReadBytes(RAVELIN_TEST_DATA "/cli/demo_page.html");
  EXPECT_TRUE(
      testing::SameBytes(ReplaceAll(golden, kGoldenFolder, folder_.Path()), WithoutPicture(page)));
  // The line-count part alone, and a page saved over an older file.
  EXPECT_EQ(RunCliWith({"count", "--format", "html", "-o", "page.html", "demo"}).status, 0);
  const std::string lines = ReadBytes(folder_ / "page.html");
  EXPECT_EQ(CountOf(lines, "<tr data-i="), 10u);  // the files below demo/
  EXPECT_EQ(lines.find("<svg"), std::string::npos);
}

TEST(HtmlReport, HostileNamesStayText) {
  const std::string page = HostilePage();
  EXPECT_TRUE(IsValidUtf8(page));
  EXPECT_EQ(CountOf(page, "<script"), 1u);  // the page's own
  for (const char* markup : {"<img", "<svg onload", "<!--", "]]>"})
    EXPECT_EQ(CountOf(WithoutPicture(page), markup), 0u) << markup;
  EXPECT_EQ(CountOf(page, "<img"), 0u);  // nor in the picture's own texts
  EXPECT_NE(page.find("&lt;img src=x onerror=window.pwned=1&gt;.pas"), std::string::npos);
  EXPECT_NE(page.find("&#39;&amp;amp;\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"), std::string::npos);
}

/// Records of units named U1, U2, ... with a ring of uses through the first ring units.
UsesGraphRecords RingOf(std::size_t units, std::size_t ring) {
  UnitRecords records;
  for (std::size_t i = 0; i < units; ++i) {
    const std::string name = "U" + std::to_string(i + 1);
    records.units.push_back({name, name + ".pas", true, 1, 0});
  }
  for (std::size_t i = 0; i < ring; ++i) {
    const std::size_t to = (i + 1) % ring;
    records.uses.push_back({records.units[i].name, records.units[to].name,
                            UsesSection::Implementation, std::nullopt, i, to});
  }
  return MakeUsesGraphRecords(std::move(records));
}

TEST(HtmlReport, LargeGraphsAreDrawnCondensedOrNotAtAll) {
  if (!CanDrawGraphs()) GTEST_SKIP() << "built without the graph library";
  const std::string full = RenderGraphHtmlSection(RingOf(kFullPictureUnits, 10));
  EXPECT_EQ(CountOf(full, "class=\"node\""), kFullPictureUnits);
  const std::string condensed = RenderGraphHtmlSection(RingOf(kFullPictureUnits + 10, 11));
  EXPECT_EQ(CountOf(condensed, "class=\"node\""), kFullPictureUnits);
  EXPECT_NE(condensed.find("group 1: U1 +10"), std::string::npos);
  const std::string none = RenderGraphHtmlSection(RingOf(kMaxPictureNodes + 1, 0));
  EXPECT_EQ(none.find("<svg"), std::string::npos);
  EXPECT_NE(none.find("too many to draw here"), std::string::npos);
}

/// The page as headless Chromium leaves it once a probe script appended to it has run: the
/// probe's findings, or empty when the browser did not run.
std::string ProbeInBrowser(const std::string& folder, const std::string& page) {
  const char* const probe = R"(<script>(function(){var r=[],t=document.getElementById("lines");
function col(){return Array.prototype.map.call(t.tBodies[0].rows,function(x){
return x.cells[1].dataset.v}).join(",")}
r.push("rows="+t.tBodies[0].rows.length);var h=t.tHead.rows[0].cells[1];
h.click();r.push("up="+col());h.click();r.push("down="+col());
r.push("nodes="+document.querySelectorAll("svg g.node").length);
r.push("units="+document.getElementById("units").tBodies[0].rows.length);
var f=document.querySelector("input.filter");f.value="STOCK";f.dispatchEvent(new Event("input"));
r.push("shown="+Array.prototype.filter.call(t.tBodies[0].rows,function(x){return !x.hidden}).length);
r.push("pwned="+(window.pwned?1:0));var p=document.createElement("pre");p.id="probe";
p.textContent=r.join(" ");document.body.appendChild(p)})()</script>)";
  std::string probed = page;
  probed.insert(probed.rfind("</body>"), probe);
  WriteBytes(folder + "/probed.html", probed);
  const std::string command =
      "timeout 90 chromium --headless --no-sandbox --disable-gpu "
      "--no-first-run --user-data-dir=" +
      folder +
      "/profile --dump-dom "
      "file://" +
      folder + "/probed.html >" + folder + "/dom.html 2>/dev/null";
  if (std::system(command.c_str()) != 0) return {};
  const std::string dom = ReadBytes(folder + "/dom.html");
  const std::size_t start = dom.find("<pre id=\"probe\">"), end = dom.find("</pre>", start);
  return start == std::string::npos ? dom : dom.substr(start + 16, end - start - 16);
}

/// The numbers of a list "a,b,c" in order.
std::vector<double> Numbers(const std::string& list) {
  std::vector<double> numbers;
  for (std::string rest = list; !rest.empty();) numbers.push_back(std::stod(SplitFirst(rest, ",")));
  return numbers;
}

TEST_F(Cli, ChromiumSortsAndFiltersTheDemoPageAndRunsNoHostileScript) {
  if (std::system("command -v chromium >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "chromium is not installed (bash scripts/deps.sh chromium)";
  ASSERT_EQ(RunCliWith({"html", "-o", "page.html", "demo/Demo.dpr"}).status, 0);
  const std::string demo = ProbeInBrowser(folder_.Path(), ReadBytes(folder_ / "page.html"));
  ASSERT_FALSE(demo.empty()) << "chromium did not run";
  std::map<std::string, std::string> found;
  for (std::string rest = demo; !rest.empty();) {
    std::string item = SplitFirst(rest, " ");
    found[SplitFirst(item, "=")] = item;
  }
  EXPECT_EQ(found["rows"], "18") << demo;
  EXPECT_EQ(found["units"], "18") << demo;
  EXPECT_EQ(found["nodes"], CanDrawGraphs() ? "18" : "0") << demo;
  EXPECT_EQ(found["shown"], "5") << demo;  // the names holding "stock", in any case
  std::vector<double> up = Numbers(found["up"]), down = Numbers(found["down"]);
  EXPECT_TRUE(std::is_sorted(up.begin(), up.end())) << found["up"];
  EXPECT_TRUE(std::is_sorted(down.rbegin(), down.rend())) << found["down"];
  EXPECT_NE(up, down);
  EXPECT_EQ(found["pwned"], "0");

  const std::string hostile = ProbeInBrowser(folder_.Path(), HostilePage());
  EXPECT_NE(hostile.find("rows=5 "), std::string::npos) << hostile;
  EXPECT_NE(hostile.find("pwned=0"), std::string::npos) << hostile;
}

}  // namespace
}  // namespace ravelin
