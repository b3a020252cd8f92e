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
class TScreenshotServices final : public TUiServices {
 public:
  std::vector<std::string> files;
  std::optional<std::vector<std::string>> OpenFiles(const TOpenFileRequest&) override {
    return files;
  }
  bool AskYesNo(const std::string&) override { return false; }
  void ShowError(const std::string& text) override {
    std::fprintf(stderr, "ravelin: %s\n", text.c_str());
  }
  void SetBusyCursor(bool) override {}
  bool StartDetached(const std::string&, const std::vector<std::string>&) override { return true; }
  void OpenUrl(const std::string&) override {}
  void ProcessEvents() override { QCoreApplication::processEvents(); }
};

// A scratch tree with a small project, removed afterwards.
class TSampleTree {
 public:
  TSampleTree() {
    std::string name = (fs::temp_directory_path() / "ravelin-shots-XXXXXX").string();
    if (::mkdtemp(name.data()) != nullptr) root_ = name;
  }
  ~TSampleTree() {
    std::error_code ignored;
    if (!root_.empty()) fs::remove_all(root_, ignored);
  }
  TSampleTree(const TSampleTree&) = delete;
  TSampleTree& operator=(const TSampleTree&) = delete;

  bool Ok() const { return !root_.empty(); }
  std::string Project() const { return root_ + "/projects/stock"; }
  void MakeFile(const std::string& name, const std::string& text = "") const {
    fs::path path = fs::path(Project()) / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  const std::string& Root() const { return root_; }

 private:
  std::string root_;
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
  TSampleTree tree;
  if (!tree.Ok()) {
    std::fprintf(stderr, "ravelin: cannot make a scratch folder\n");
    return 1;
  }
  const char* files[] = {"Stock.dpr",     "MainForm.pas", "MainForm.dfm", "StockEdit.pas",
                         "StockEdit.dfm", "Helpers.pas",  "Stock.inc",    "Reports.pas",
                         "Prices.pas",    "Ravelin.TXT"};
  for (const char* file : files) tree.MakeFile(file, "unit x;\n");
  for (const char* sub : {"Forms/x", "Units/x", "Reports/x", "Backup/x"}) tree.MakeFile(sub);
  const std::string settings = tree.Root() + "/ravelin.INI";
  std::ofstream(settings) << "[LAST]\r\nViewer=1\r\nRTL=/opt/delphi/source/rtl/\r\n"
                             "VCL=/opt/delphi/source/vcl/\r\nSearch Paths="
                          << tree.Project() << "/Units/\r\nViewer Path=\r\nUse RTL=1\r\n"
                          << "Use VCL=0\r\nUse Search Path=1\r\n";
  SetSettingsFileName(settings);
  Fs().SetCurrentFolder(tree.Project());

  TScreenshotServices services;
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
    warning.SetFileName(tree.Project() + "/Ravelin.TXT");
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
    folderForm.OpenFolder(tree.Project());
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
      if (name != "Ravelin.TXT") services.files.push_back("/home/me/stock/" + name);
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
    dlgMain.resize(760, 340);  // wide enough to show the full paths
    Settle();
    closer.stop();
    ok &= Save(dlgMain, target, "main-window.png");
  }
  Settings() = {};
  Fs().SetCurrentFolder(QDir::homePath().toStdString());
  return ok ? 0 : 1;
}

}  // namespace ravelin
