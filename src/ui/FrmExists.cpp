#include "ui/FrmExists.h"

#include <QLabel>
#include <QPushButton>

#include "ui/DesignLayout.h"
#include "ui/Glyphs.h"
#include "ui/ModalResult.h"
#include "ui/logic/ReportFile.h"

namespace ravelin {
namespace {

QPushButton* MakeButton(QWidget* parent, const char* caption, const QIcon& glyph, int left,
                        int result, QDialog* dialog) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setIcon(glyph);
  Place(button, left, 80, 86, 30);
  QObject::connect(button, &QPushButton::clicked, dialog,
                   [dialog, result] { dialog->done(result); });
  return button;
}

}  // namespace

TdlgFileExists::TdlgFileExists(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("dlgFileExists"));
  setWindowTitle(QStringLiteral("Warning"));
  SetFixedClientSize(this, 360, 114);

  lblMsg = new QLabel(this);
  lblMsg->setObjectName(QStringLiteral("lblMsg"));
  lblMsg->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblMsg->setWordWrap(true);
  Place(lblMsg, 0, 0, 360, 76);
  lblMsg->setContentsMargins(Scaled(4), Scaled(6), Scaled(4), 0);

  btnAppend = MakeButton(this, "&Append", AppendGlyph(), 4, mrYes, this);
  btnAppend->setObjectName(QStringLiteral("btnAppend"));
  btnOverwrite = MakeButton(this, "&Overwrite", OverwriteGlyph(), 94, mrNo, this);
  btnOverwrite->setObjectName(QStringLiteral("btnOverwrite"));
  btnNewFile = MakeButton(this, "&New File", NewFileGlyph(), 182, mrRetry, this);
  btnNewFile->setObjectName(QStringLiteral("btnNewFile"));
  btnCancel = MakeButton(this, "Cancel", CancelGlyph(), 270, mrCancel, this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));

  setTabOrder(btnAppend, btnOverwrite);
  setTabOrder(btnOverwrite, btnCancel);
  setTabOrder(btnCancel, btnNewFile);
  SetAppendDefault();
}

void TdlgFileExists::SetFileName(const std::string& fileName) {
  message_ = QString::fromStdString(FileExistsMessage(fileName));
  FitMessage();
}

void TdlgFileExists::FitMessage() {
  // A long path has no blanks to wrap at: a zero-width space after each "/" lets it break
  // there. When the question still needs more room than the design gives, the dialog grows
  // downwards so that nothing is cut off.
  QString shown = message_;
  shown.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
  lblMsg->setText(shown);
  int needed = lblMsg->heightForWidth(lblMsg->width());
  int extra = std::max(0, needed - Scaled(76));
  lblMsg->resize(lblMsg->width(), Scaled(76) + extra);
  for (QPushButton* button : {btnAppend, btnOverwrite, btnNewFile, btnCancel})
    button->move(button->x(), Scaled(80) + extra);
  setFixedSize(Scaled(360), Scaled(114) + extra);
}

void TdlgFileExists::SetAppendDefault() {
  btnOverwrite->setDefault(false);
  btnAppend->setDefault(true);
  btnAppend->setFocus();
}

void TdlgFileExists::SetOverwriteDefault() {
  btnAppend->setDefault(false);
  btnOverwrite->setDefault(true);
  btnOverwrite->setFocus();
}

void TdlgFileExists::reject() {
  done(mrCancel);
}

bool ChooseReportFile(QWidget* owner, bool reuseChecked, std::string& fileName) {
  return ChooseReportFile(reuseChecked, fileName,
                          [owner](const std::string& name, bool appendDefault) {
                            TdlgFileExists dialog(owner);
                            if (appendDefault) {
                              dialog.SetAppendDefault();
                            } else {
                              dialog.SetOverwriteDefault();
                            }
                            dialog.SetFileName(name);
                            switch (dialog.exec()) {
                              case mrYes:
                                return FileExistsAnswer::Append;
                              case mrNo:
                                return FileExistsAnswer::Overwrite;
                              case mrRetry:
                                return FileExistsAnswer::NewFile;
                              default:
                                return FileExistsAnswer::Cancel;
                            }
                          });
}

}  // namespace ravelin
