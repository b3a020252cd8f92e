#include "app/Screenshots.h"

#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSys.h"
#include "platform/UiServices.h"
#include "settings/LstGlobal.h"
#include "ui/FrmDeflts.h"
#include "ui/FrmExists.h"
#include "ui/FrmFoldr.h"
#include "ui/FrmMain.h"
#include "ui/VornAbout.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;

// Dialogs answer from a prepared list of files; nothing else reaches the desktop.
class ScreenshotServices final : public UiServices {
 public:
  std::vector<std::string> files;
  std::optional<std::vector<std::string>> OpenFiles(const OpenFileRequest&) override {
    return files;
  }
  bool AskYesNo(const std::string&) override { return false; }
  void ShowError(const std::string& text) override {
    std::fprintf(stderr, "ravelin: %s\n", text.c_str());
  }
  void SetBusyCursor(bool) override {}
  bool StartWatched(const std::string&, const std::vector<std::string>&, std::string&,
                    ProgramFailed) override {
    return true;
  }
  void OpenUrl(const std::string&) override {}
  void ProcessEvents() override { QCoreApplication::processEvents(); }
};

// The folder the pictures show as the user's home, as the documentation's examples do.
constexpr const char* kShownHome = "/home/me";

// A scratch tree with a small project, removed afterwards.
class SampleTree {
 public:
  SampleTree() {
    std::string name = (fs::temp_directory_path() / "ravelin-shots-XXXXXX").string();
    if (::mkdtemp(name.data()) != nullptr) root_ = name;
  }
  ~SampleTree() {
    std::error_code ignored;
    if (!root_.empty()) fs::remove_all(root_, ignored);
  }
  SampleTree(const SampleTree&) = delete;
  SampleTree& operator=(const SampleTree&) = delete;

  bool Ok() const { return !root_.empty(); }
  void MakeFile(const std::string& name, const std::string& text = "") const {
    fs::path path = fs::path(root_) / "stock" / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  const std::string& Root() const { return root_; }

 private:
  std::string root_;
};

// The disk with the scratch tree shown as kShownHome, so that no picture shows the scratch
// folder's random name.
class ShownHomeDisk final : public FileSystem {
 public:
  explicit ShownHomeDisk(std::string real) : real_(std::move(real)) {}

  std::optional<std::string> Resolve(std::string_view p) override {
    auto found = disk_->Resolve(In(p));
    return found ? std::optional(Out(*found)) : found;
  }
  FileStat Stat(std::string_view p) override { return disk_->Stat(In(p)); }
  OpenedFile OpenRead(std::string_view p, Readable what) override {
    return disk_->OpenRead(In(p), what);
  }
  std::vector<DirEntry> ListFolder(std::string_view p) override { return disk_->ListFolder(In(p)); }
  FolderScan ScanFolder(std::string_view p) override { return disk_->ScanFolder(In(p)); }
  void ReplaceFile(std::string_view p, std::string_view data) override {
    disk_->ReplaceFile(In(p), data);
  }
  std::unique_ptr<NewFile> CreateNewFile(std::string_view p) override {
    return disk_->CreateNewFile(In(p));
  }
  void AppendReport(std::string_view p, std::string_view text, ReportStart start) override {
    disk_->AppendReport(In(p), text, start);
  }
  void TruncateFile(std::string_view p) override { disk_->TruncateFile(In(p)); }
  std::string CurrentFolder() override { return Out(disk_->CurrentFolder()); }
  void SetCurrentFolder(std::string_view p) override { disk_->SetCurrentFolder(In(p)); }
  void MakeFolders(std::string_view p) override { disk_->MakeFolders(In(p)); }
  void ClearCache() override { disk_->ClearCache(); }

 private:
  static std::string Swap(std::string_view path, std::string_view from, std::string_view to) {
    if (path.substr(0, from.size()) != from ||
        (path.size() > from.size() && path[from.size()] != '/'))
      return std::string(path);
    return std::string(to) + std::string(path.substr(from.size()));
  }
  std::string In(std::string_view shown) const { return Swap(shown, kShownHome, real_); }
  std::string Out(std::string_view real) const { return Swap(real, real_, kShownHome); }

  std::unique_ptr<FileSystem> disk_ = MakeDiskFileSystem();
  std::string real_;
};

// Lets pending painting and layout happen.
void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget& widget, const std::string& folder, const char* name) {
  widget.show();
  Settle();
  QPixmap picture = widget.grab();
  std::string file = folder + "/" + name;
  bool saved = picture.save(QString::fromStdString(file), "PNG");
  std::fprintf(saved ? stdout : stderr, "%s %s (%d x %d)\n", saved ? "saved" : "could not save",
               file.c_str(), picture.width(), picture.height());
  widget.hide();
  return saved;
}

}  // namespace

int TakeScreenshots(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  std::string target = fs::absolute(folder, error).string();
  SampleTree tree;
  if (!tree.Ok()) {
    std::fprintf(stderr, "ravelin: cannot make a scratch folder\n");
    return 1;
  }
  const char* files[] = {"Stock.dpr",     "MainForm.pas", "MainForm.dfm", "StockEdit.pas",
                         "StockEdit.dfm", "Helpers.pas",  "Stock.inc",    "Reports.pas",
                         "Prices.pas",    "Ravelin.TXT"};
  for (const char* file : files) tree.MakeFile(file, "unit x;\n");
  for (const char* sub : {"Forms/x", "Units/x", "Reports/x", "Backup/x"}) tree.MakeFile(sub);
  ShownHomeDisk disk(tree.Root());
  ScopedFileSystem shownHome(disk);
  const std::string project = std::string(kShownHome) + "/stock";
  Fs().ReplaceFile(std::string(kShownHome) + "/ravelin.INI",
                   "[LAST]\r\nViewer=1\r\nRTL=/opt/delphi/source/rtl/\r\n"
                   "VCL=/opt/delphi/source/vcl/\r\nSearch Paths=" +
                       project +
                       "/Units/\r\nViewer Path=\r\nUse RTL=1\r\nUse VCL=0\r\n"
                       "Use Search Path=1\r\n");
  SetSettingsFileName(std::string(kShownHome) + "/ravelin.INI");
  Fs().SetCurrentFolder(project);

  ScreenshotServices services;
  ScopedUiServices installed(services);
  // Modal dialogs that open on their own (the About box at start) are closed again.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
    }
  });

  bool ok = true;
  {
    TdlgFileExists warning;
    warning.SetOverwriteDefault();
    warning.SetFileName(project + "/Ravelin.TXT");
    ok &= Save(warning, target, "warning-dialog.png");
  }
  {
    TAboutBox about;
    about.NoticeYear = 2000;
    about.ProductName = "Ravelin";
    ok &= Save(about, target, "about-box.png");
  }
  {
    TdlgDefaults options;
    ok &= Save(options, target, "options-dialog.png");
  }
  {
    TdlgSelectFolder folderForm;
    folderForm.setWindowTitle(QStringLiteral("Select Folder"));
    folderForm.SetDrives({"/", kShownHome});
    folderForm.OpenFolder(project);
    ok &= Save(folderForm, target, "folder-dialog.png");
  }
  {
    closer.start(20);
    TdlgMain dlgMain;
    dlgMain.show();
    Settle();
    for (const char* file : files) {
      std::string name = file;
      // Short names read better in the picture; the lists do not open the files.
      if (name != "Ravelin.TXT") services.files.push_back(project + "/" + name);
    }
    dlgMain.DoSourceClick();
    Settle();
    // Three files over to the process list, the project file among them.
    for (int row = 0; row < dlgMain.lstSrc->count(); ++row) {
      QString text = dlgMain.lstSrc->item(row)->text();
      bool pick = text.endsWith(QStringLiteral("Stock.dpr")) ||
                  text.endsWith(QStringLiteral("MainForm.pas")) ||
                  text.endsWith(QStringLiteral("Helpers.pas"));
      dlgMain.lstSrc->item(row)->setSelected(pick);
    }
    dlgMain.DoIncludeClick();
    dlgMain.resize(760, 340);              // wide enough to show the full paths
    emit dlgMain.splHorizon->dragged(50);  // in the source list too
    Settle();
    closer.stop();
    ok &= Save(dlgMain, target, "main-window.png");
  }
  Settings() = {};
  Fs().SetCurrentFolder(QDir::homePath().toStdString());
  return ok ? 0 : 1;
}

}  // namespace ravelin
