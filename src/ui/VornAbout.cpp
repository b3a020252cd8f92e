#include "ui/VornAbout.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/DesignLayout.h"
#include "ui/Glyphs.h"
#include "ui/ModalResult.h"
#include "ui/URLLabel.h"

namespace ravelin {
namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Place(label, left, top, width, height);
  return label;
}

QLabel* MakeImage(QWidget* parent, const char* name, const QPixmap& picture, int left, int top,
                  int size) {
  auto* image = new QLabel(parent);
  image->setObjectName(QString::fromLatin1(name));
  image->setPixmap(picture);
  image->setScaledContents(true);
  image->setAttribute(Qt::WA_TranslucentBackground);
  Place(image, left, top, size, size);
  return image;
}

QFrame* MakePanel(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Place(panel, left, top, width, height);
  return panel;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* owner) : TAboutBox(owner, ProgramVersionTable(RAVELIN_VERSION)) {}

TAboutBox::TAboutBox(QWidget* owner, const std::vector<VersionString>& versionTable)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      versionTable_(versionTable) {
  setObjectName(QStringLiteral("AboutBox"));
  SetFixedClientSize(this, 298, 269);

  pnlAbout = MakePanel(this, "pnlAbout", 8, 8, 281, 80);
  pnlAbout->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlAbout->setLineWidth(2);
  // One picture of 32 x 32 pixels, shown twice stretched to 64 x 64.
  iconProg1 = MakeImage(pnlAbout, "iconProg1", ProgramPicture(32), 8, 8, 64);
  iconProg2 = MakeImage(pnlAbout, "iconProg2", ProgramPicture(32), 208, 8, 64);
  lblProductName = MakeLabel(pnlAbout, "lblProductName", 80, 16, 120, 13);
  QFont bold = lblProductName->font();
  bold.setBold(true);
  lblProductName->setFont(bold);
  lblVersion = MakeLabel(pnlAbout, "lblVersion", 80, 40, 120, 13);

  pnlInfo = MakePanel(this, "pnlInfo", 8, 90, 281, 83);
  lblCopyright = MakeLabel(pnlInfo, "lblCopyright", 8, 1, 265, 16);
  lblCopyright->setWordWrap(true);
  lblCopyright->setAlignment(Qt::AlignCenter);
  lblComments = MakeLabel(pnlInfo, "lblComments", 8, 18, 265, 32);
  lblComments->setWordWrap(true);
  lblComments->setAlignment(Qt::AlignCenter);
  btnAssist = new QPushButton(AssistGlyph(), QStringLiteral("Assistance provided by"), pnlInfo);
  btnAssist->setObjectName(QStringLiteral("btnAssist"));
  btnAssist->setAutoDefault(false);
  Place(btnAssist, 5, 54, 272, 25);

  pnlRef = MakePanel(this, "pnlRef", 8, 176, 281, 49);
  auto* rows = new QVBoxLayout(pnlRef);
  rows->setContentsMargins(0, Scaled(2), 0, Scaled(2));
  rows->setSpacing(0);
  lblRef1 = new QLabel(QStringLiteral("See the web page at:"), pnlRef);
  lblRef1->setObjectName(QStringLiteral("lblRef1"));
  lblURL = new TURLLabel(pnlRef);
  lblURL->setObjectName(QStringLiteral("lblURL"));
  lblURL->setText(Q(kProductUrl));
  lblURL->URL = kProductUrl;
  lblRef2 = new QLabel(QStringLiteral("for user manuals and details"), pnlRef);
  lblRef2->setObjectName(QStringLiteral("lblRef2"));
  for (QLabel* row : {lblRef1, static_cast<QLabel*>(lblURL), lblRef2})
    rows->addWidget(row, 0, Qt::AlignHCenter | Qt::AlignTop);
  rows->addStretch(1);

  imgBadge = MakeImage(this, "imgBadge", BadgePicture(32), 8, 232, 32);
  lblBadge = new TURLLabel(this);
  lblBadge->setObjectName(QStringLiteral("lblBadge"));
  lblBadge->setText(QStringLiteral("Ravelin source"));
  lblBadge->URL = std::string(kProductUrl) + "source/";
  lblBadge->setWordWrap(true);
  Place(lblBadge, 45, 235, 55, 26);

  btnOk = new QPushButton(OkGlyph(), QStringLiteral("Thank you!"), this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->setDefault(true);
  Place(btnOk, 111, 234, 90, 27);

  connect(btnAssist, &QPushButton::clicked, this, [this] { DoShowAssist(); });
  connect(btnOk, &QPushButton::clicked, this, [this] { done(mrOk); });

  FormCreate();
}

int TAboutBox::LoadVersionInfo() {
  return ravelin::LoadVersionInfo(versionTable_, Info.InfoLines);
}

void TAboutBox::FormCreate() {
  lblComments->setText(Q(Info.FormCreate(versionTable_)));
}

void TAboutBox::FormShow() {
  AboutInfo::ShownTexts shown = Info.FormShow();
  setWindowTitle(Q(shown.caption));
  lblVersion->setText(Q(shown.version));
  lblProductName->setText(Q(shown.product));
  lblCopyright->setText(Q(shown.copyright));
}

void TAboutBox::DoShowAssist() {
  // The entry comes with a line end, which the label would show as one more line.
  std::string text = Info.DoShowAssist();
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  lblComments->setText(Q(text));
}

void TAboutBox::FormClose() {
  Info.FormClose();
}

void TAboutBox::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TAboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;  // the comment is appended once per box
  FormShow();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

}  // namespace ravelin
