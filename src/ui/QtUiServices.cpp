#include "ui/QtUiServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "platform/FileSys.h"
#include "ui/logic/FileFilter.h"

namespace ravelin {
namespace {

QString Q(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), text.size());
}

std::string S(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

// Started programs are looked at this often while they are watched, and then this often
// until they have ended (so that none is left unreaped).
constexpr int kWatchPollMs = 50;
constexpr int kReapPollMs = 2000;

}  // namespace

QtUiServices::QtUiServices(std::chrono::milliseconds watch) : watch_(watch) {
  QObject::connect(&poller_, &QTimer::timeout, &poller_, [this] { PollPrograms(); });
}

QtUiServices::~QtUiServices() {
  while (busyDepth_ > 0) SetBusyCursor(false);
}

std::optional<std::vector<std::string>> QtUiServices::OpenFiles(const OpenFileRequest& request) {
  QFileDialog dialog(QApplication::activeWindow());
  if (!request.title.empty()) dialog.setWindowTitle(Q(request.title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                     : request.mustExist ? QFileDialog::ExistingFile
                                         : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog, false);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setSizeGripEnabled(true);

  TFileFilter filter = ParseFileFilter(request.filter);
  QStringList filters;
  for (const auto& entry : filter) filters << Q(DisplayedFilter(entry));
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    int index = request.filterIndex;
    if (index < 1 || index > filters.size()) index = 1;
    dialog.selectNameFilter(filters[index - 1]);
  }

  // The dialog opens in the folder of the proposed name, else where the last one was left.
  std::string folder = FolderPart(request.initialFile);
  if (folder.empty()) folder = lastFolder_.empty() ? Fs().CurrentFolder() : lastFolder_;
  dialog.setDirectory(Q(folder));
  std::string name = NamePart(request.initialFile);
  if (!name.empty()) dialog.selectFile(Q(name));

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<std::string> files;
  for (const QString& file : dialog.selectedFiles()) files.push_back(S(file));
  if (files.empty()) return std::nullopt;
  lastFolder_ = FolderPart(files.front());
  return files;
}

bool QtUiServices::AskYesNo(const std::string& text) {
  return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Confirm"), Q(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

void QtUiServices::ShowError(const std::string& text) {
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Error"), Q(text),
                        QMessageBox::Ok);
}

void QtUiServices::SetBusyCursor(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
}

bool QtUiServices::StartWatched(const std::string& program, const std::vector<std::string>& args,
                                std::string& whyNot, ProgramFailed failed) {
  try {
    programs_.push_back({std::make_unique<StartedProgram>(program, args),
                         std::chrono::steady_clock::now() + watch_, std::move(failed)});
  } catch (const IoError& e) {
    whyNot = e.Reason();
    return false;
  }
  poller_.start(kWatchPollMs);
  return true;
}

void QtUiServices::PollPrograms() {
  const auto now = std::chrono::steady_clock::now();
  std::vector<std::pair<ProgramFailed, std::string>> failures;
  bool watching = false;
  for (auto it = programs_.begin(); it != programs_.end();) {
    const ProgramOutcome outcome = it->program->Poll();
    if (outcome.running) {
      watching = watching || now < it->until;
      ++it;
      continue;
    }
    if (outcome.failed && now <= it->until)
      failures.emplace_back(std::move(it->failed), outcome.reason);
    it = programs_.erase(it);
  }
  const int interval = watching ? kWatchPollMs : kReapPollMs;
  if (programs_.empty()) {
    poller_.stop();
  } else if (poller_.interval() != interval) {
    poller_.setInterval(interval);
  }
  // Told only now: a message box runs its own event loop, which may poll again.
  for (auto& [failed, reason] : failures)
    if (failed) failed(reason);
}

void QtUiServices::OpenUrl(const std::string& url) {
  QProcess::startDetached(QStringLiteral("xdg-open"), {Q(url)});
}

void QtUiServices::ProcessEvents() {
  QCoreApplication::processEvents();
}

}  // namespace ravelin
