// The About box: version strings, the credits rotation, the texts it shows, and its links.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "DialogTestUtil.h"
#include "FakeUiServices.h"
#include "ui/ModalResult.h"
#include "ui/URLLabel.h"
#include "ui/VornAbout.h"
#include "ui/logic/AboutInfo.h"

namespace ravelin {
namespace {

using testing::FakeUiServices;
using testing::ModalScript;

const std::string kCredit1 = kCreditLines[0];
const std::string kCredit2 = kCreditLines[1];

TEST(VersionTable, HoldsAllTenKeysWithTheBuildsVersion) {
  std::vector<TVersionString> table = ProgramVersionTable(RAVELIN_VERSION);
  std::vector<std::string> lines;
  EXPECT_EQ(LoadVersionInfo(table, lines), 10);
  EXPECT_EQ(lines[7], "Ravelin");
  EXPECT_EQ(lines[2], RAVELIN_VERSION);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))
                  .match(QString::fromStdString(lines[2]))
                  .hasMatch())
      << lines[2];
}

TEST(VersionTable, KeysMatchIgnoringCaseAndMissingOnesAreSkipped) {
  std::vector<std::string> lines;
  EXPECT_EQ(
      LoadVersionInfo(
          {{"productname", "P"}, {"FILEVERSION", "1.2.3.4"}, {"Other", "x"}, {"Comments", ""}},
          lines),
      3);
  EXPECT_EQ(lines, (std::vector<std::string>{"1.2.3.4", "P", ""}));
}

TEST(AboutInfo, FillsWhatTheCallerLeftEmptyOnlyFromAFullTable) {
  std::vector<TVersionString> missingOne = ProgramVersionTable("2.0.0.7");
  missingOne.erase(missingOne.begin());  // no CompanyName
  struct Row {
    const char* label;
    std::vector<TVersionString> table;
    int noticeYear;
    std::string caption, version, copyright;
  } rows[] = {
      {"full table", ProgramVersionTable("2.0.0.7"), 0, "About Ravelin", "Version 2.0.0.7",
       std::string(kNoticeOpening) + "2000" + kNoticeClosing},
      {"full table, year given", ProgramVersionTable("2.0.0.7"), 1999, "About Ravelin",
       "Version 2.0.0.7", std::string(kNoticeOpening) + "1999" + kNoticeClosing},
      {"a key missing", missingOne, 0, "About ", "Version ",
       std::string(kNoticeOpening) + "0" + kNoticeClosing},
      {"no version information",
       {},
       0,
       "About ",
       "Version ",
       std::string(kNoticeOpening) + "0" + kNoticeClosing},
  };
  for (const Row& row : rows) {
    TAboutInfo info;
    EXPECT_EQ(info.FormCreate(row.table), kCredit1) << row.label;
    info.NoticeYear = row.noticeYear;
    TAboutInfo::TShown shown = info.FormShow();
    EXPECT_EQ(shown.caption, row.caption) << row.label;
    EXPECT_EQ(shown.version, row.version) << row.label;
    EXPECT_EQ(shown.copyright, row.copyright) << row.label;
  }
}

// The credits button turns through the comment the caller gave (if any) and the two credits.
TEST(TAboutBox, ShowsTheCallersFieldsAndTheCreditsButtonTurns) {
  struct Row {
    std::string comments;
    std::vector<std::string> shown;  // after successive presses
  } rows[] = {
      {"", {kCredit2, kCredit1, kCredit2, kCredit1}},
      {"A comment", {"A comment", kCredit2, kCredit1, "A comment"}},
  };
  for (const Row& row : rows) {
    TAboutBox box;
    box.NoticeYear = 2000;
    box.ProductName = "Ravelin";
    box.Comments = row.comments;
    EXPECT_EQ(box.lblComments->text().toStdString(), kCredit1);
    ModalScript script;
    std::vector<std::string> seen;
    script.Then([&](QWidget*) {
      EXPECT_EQ(box.windowTitle(), "About Ravelin");
      EXPECT_EQ(box.lblProductName->text(), "Ravelin");
      EXPECT_EQ(box.lblVersion->text().toStdString(), std::string("Version ") + RAVELIN_VERSION);
      EXPECT_EQ(box.lblCopyright->text().toStdString(),
                std::string(kNoticeOpening) + "2000" + kNoticeClosing);
      for (size_t press = 0; press < row.shown.size(); ++press) {
        QTest::mouseClick(box.btnAssist, Qt::LeftButton);
        seen.push_back(box.lblComments->text().toStdString());
      }
      QTest::mouseClick(box.btnOk, Qt::LeftButton);
    });
    EXPECT_EQ(box.exec(), mrOk) << row.comments;
    for (size_t i = 0; i < row.shown.size(); ++i)
      EXPECT_EQ(seen.at(i), row.shown[i] + "\r\n") << row.comments << " press " << i;
    EXPECT_EQ(box.Version, RAVELIN_VERSION);  // read after the box closed
    EXPECT_TRUE(box.Info.InfoLines.empty());
  }
}

TEST(TAboutBox, ShowsTheFixedCaptionsInTheirPlaces) {
  TAboutBox box;
  box.show();
  struct Row {
    const char* name;
    const char* text;
  } rows[] = {
      {"btnAssist", "Assistance provided by"},
      {"lblRef1", "See the web page at:"},
      {"lblURL", kProductUrl},
      {"lblRef2", "for user manuals and details"},
      {"btnOk", "Thank you!"},
  };
  for (const Row& row : rows) {
    auto* b = box.findChild<QAbstractButton*>(QString::fromLatin1(row.name));
    auto* l = box.findChild<QLabel*>(QString::fromLatin1(row.name));
    ASSERT_TRUE(b || l) << row.name;
    EXPECT_EQ((b ? b->text() : l->text()).toStdString(), row.text) << row.name;
  }
  int lastRow = -1;
  // The three rows of the reference panel stand one under the other, the link in the middle.
  for (QLabel* label : {box.lblRef1, static_cast<QLabel*>(box.lblURL), box.lblRef2}) {
    EXPECT_GT(label->y(), lastRow) << label->objectName().toStdString();
    lastRow = label->y();
  }
  EXPECT_EQ(box.lblURL->URL, kProductUrl);
  EXPECT_TRUE(box.btnOk->isDefault());
}

TEST(TAboutBox, ControlsStayInsideTheBox) {
  TAboutBox box;
  box.show();
  for (QWidget* control : box.findChildren<QWidget*>()) {
    if (!control->isVisible() || control->isWindow()) continue;
    QRect inBox(control->mapTo(&box, QPoint(0, 0)), control->size());
    EXPECT_TRUE(box.rect().contains(inBox)) << control->objectName().toStdString();
  }
}

class URLLabelTest : public ::testing::Test {
 protected:
  FakeUiServices ui;
  ScopedUiServices installed{ui};
};

TEST_F(URLLabelTest, StartsBlueUnderlinedWithTheDefaultAddress) {
  TURLLabel label;
  EXPECT_EQ(label.text(), "Click me!");
  EXPECT_EQ(label.URL, kDefaultUrl);
  EXPECT_EQ(label.FontColor(), QColor(0, 0, 255));
  EXPECT_EQ(label.ColorClick, QColor(255, 0, 0));
  EXPECT_TRUE(label.font().underline());
}

TEST_F(URLLabelTest, ReleaseInsideOrOnTheEdgesOpensOutsideDoesNot) {
  TURLLabel label;
  label.resize(80, 20);
  label.ColorMoveOver = QColor(0, 128, 0);
  label.ColorNormal = QColor(10, 10, 10);
  struct Row {
    QPoint at;
    bool opens;
  } rows[] = {
      {{0, 0}, true},    {{40, 10}, true},  {{80, 20}, true},  {{80, 0}, true},   {{0, 20}, true},
      {{81, 10}, false}, {{40, 21}, false}, {{-1, 10}, false}, {{40, -1}, false},
  };
  for (const Row& row : rows) {
    ui.urls.clear();
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(label.Pressed);
    EXPECT_EQ(label.FontColor(), label.ColorClick);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, row.at);
    EXPECT_FALSE(label.Pressed);
    EXPECT_EQ(ui.urls.size(), row.opens ? 1u : 0u) << row.at.x() << "," << row.at.y();
    EXPECT_EQ(label.FontColor(), row.opens ? label.ColorMoveOver : label.ColorNormal)
        << row.at.x() << "," << row.at.y();
  }
}

TEST_F(URLLabelTest, OpensTheCaptionWhenTheAddressIsEmpty) {
  TURLLabel label;
  label.resize(80, 20);
  label.setText("https://ravelin.invalid/manual");
  label.URL = "";
  QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(ui.urls, std::vector<std::string>{"https://ravelin.invalid/manual"});
}

TEST_F(URLLabelTest, ReleaseWithoutPressOpensNothing) {
  TURLLabel label;
  label.resize(80, 20);
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(ui.urls.empty());
  EXPECT_EQ(label.FontColor(), label.ColorMoveOver);
}

TEST_F(URLLabelTest, EnterAndLeaveChangeTheColour) {
  TURLLabel label;
  label.resize(80, 20);
  label.ColorMoveOver = QColor(0, 128, 0);
  label.ColorNormal = QColor(10, 10, 10);
  auto enter = [&] {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&label, &event);
  };
  auto leave = [&] {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&label, &event);
  };
  enter();
  EXPECT_EQ(label.FontColor(), label.ColorMoveOver);
  leave();
  EXPECT_EQ(label.FontColor(), label.ColorNormal);
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
  leave();
  EXPECT_EQ(label.FontColor(), label.ColorNormal);
  enter();  // back over the label with the button still down
  EXPECT_EQ(label.FontColor(), label.ColorClick);
}

TEST_F(URLLabelTest, AboutBoxLinksOpenTheirAddresses) {
  TAboutBox box;
  box.show();
  QTest::mouseClick(box.lblURL, Qt::LeftButton, {}, QPoint(1, 1));
  QTest::mouseClick(box.lblBadge, Qt::LeftButton, {}, QPoint(1, 1));
  ASSERT_EQ(ui.urls.size(), 2u);
  EXPECT_EQ(ui.urls[0], kProductUrl);
  EXPECT_EQ(ui.urls[0], box.lblURL->text().toStdString());
  EXPECT_EQ(ui.urls[1].rfind("https://ravelin.invalid/", 0), 0u);
}

}  // namespace
}  // namespace ravelin
