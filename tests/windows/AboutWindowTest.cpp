// The about and help window: its layout, its place, and the help text read afresh at every showing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "pane/RichEditPane.h"
#include "services/Application.h"
#include "services/ProgramFolder.h"
#include "tests/support/TestSupport.h"
#include "windows/Unit2.h"

namespace {

class AboutWindowTest : public testing::Test {
protected:
  void SetUp() override {
    SetProgramFolder(FFolder.path() + '/');
    FMain.setGeometry(100, 100, 857, 600);
    FMain.show();
    TApplication::SetMainForm(&FMain);
  }
  void TearDown() override {
    TApplication::SetMainForm(nullptr);
    SetProgramFolder({});
  }
  void WriteHelp(const QByteArray& bytes) { WriteFileBytes(FFolder.filePath("vornhelp.txt"), bytes); }
  // Shows the window modally as Help does, runs look while it is up, and closes it.
  void ShowAndLook(const std::function<void()>& look) {
    WhenModalOpens(
        [&](QWidget* window) {
          look();
          window->close();
        },
        "TForm2");
    FForm.exec();
  }
  std::string HelpText() const { return FForm.RichEdit1().Text(); }

  QTemporaryDir FFolder;
  QWidget FMain;
  TForm2 FForm;
};

TEST_F(AboutWindowTest, LayoutHasItsCaptionFixedSizeAndControls) {
  EXPECT_EQ(FForm.windowTitle(), "About and Help for Vorn Web Editor");
  EXPECT_EQ(FForm.minimumSize(), QSize(601, 359));
  EXPECT_EQ(FForm.maximumSize(), QSize(601, 359));
  EXPECT_TRUE(FForm.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(FForm.windowFlags() & Qt::WindowMaximizeButtonHint);
  struct TLabel {
    const char* Name;
    QRect Geometry;
    const char* Text;
    int PixelSize;
    bool Bold;
  } labels[] = {
      {"Label1", {24, 16, 297, 36}, "Vorn Web Editor Basic", 32, false},
      {"Label2", {352, 24, 58, 20}, "Version:", 16, false},
      {"Label3", {416, 27, 169, 17}, "3.0", 13, true},
      {"Label5", {256, 64, 27, 13}, "Help", 11, true},
      {"Label6", {304, 56, 285, 13}, "If you like this product please consider a donation", 11, true},
  };
  for (const TLabel& l : labels) {
    const QLabel* label = Control<QLabel>(&FForm, l.Name);
    EXPECT_EQ(label->geometry(), l.Geometry) << l.Name;
    EXPECT_EQ(label->text(), l.Text) << l.Name;
    EXPECT_EQ(label->font().pixelSize(), l.PixelSize) << l.Name;
    EXPECT_EQ(label->font().bold(), l.Bold) << l.Name;
  }
  EXPECT_EQ(Control<QLabel>(&FForm, "Label1")->font().family(), "Liberation Serif");
  EXPECT_EQ(Control<QLabel>(&FForm, "Label4")->geometry(), QRect(152, 328, 290, 24));
  EXPECT_EQ(Control<QLabel>(&FForm, "Label7")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  const TRichEditPane& pane = FForm.RichEdit1();
  EXPECT_EQ(pane.geometry(), QRect(8, 88, 585, 225));
  EXPECT_FALSE(pane.PlainTextMode());
  EXPECT_TRUE(pane.WordWrap());
  EXPECT_FALSE(pane.isReadOnly());
  EXPECT_EQ(pane.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(pane.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(AboutWindowTest, TheFirstShowingIsCentredOverTheMainWindowAndLaterOnesWhereItWasLeft) {
  WriteHelp("help");
  QRect first;
  ShowAndLook([&] { first = FForm.frameGeometry(); });
  const QRect main = FMain.frameGeometry();
  EXPECT_EQ(first.left(), main.left() + (main.width() - first.width()) / 2);
  EXPECT_EQ(first.top(), main.top() + (main.height() - first.height()) / 2);
  FForm.move(first.topLeft() + QPoint(40, 30));
  QPoint second;
  ShowAndLook([&] { second = FForm.frameGeometry().topLeft(); });
  EXPECT_EQ(second, first.topLeft() + QPoint(40, 30));
}

TEST_F(AboutWindowTest, RtfHelpIsShownFormattedAndPlainTextAsText) {
  WriteHelp("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 {\\b Heading}\\par text}");
  bool bold = false;
  ShowAndLook([&] {
    for (const QTextLayout::FormatRange& range :
         FForm.RichEdit1().document()->firstBlock().layout()->formats())
      bold = bold || range.format.fontWeight() == QFont::Bold;
  });
  EXPECT_EQ(HelpText(), "Heading\r\ntext");
  EXPECT_TRUE(bold);

  WriteHelp("plain {text}\nsecond line");
  ShowAndLook([] {});
  EXPECT_EQ(HelpText(), "plain {text}\r\nsecond line");
}

TEST_F(AboutWindowTest, EachShowingReadsTheFileAfreshAndForgetsWhatWasTyped) {
  WriteHelp("help");
  ShowAndLook([&] { QTest::keyClicks(&FForm.RichEdit1(), "typed "); });
  EXPECT_EQ(HelpText(), "typed help");
  WriteHelp("new help");
  ShowAndLook([] {});
  EXPECT_EQ(HelpText(), "new help");
}

TEST_F(AboutWindowTest, AMissingHelpFileIsReportedAndTheWindowOpensEmpty) {
  QString message;
  WhenModalOpens(
      [&](QWidget* box) {
        message = static_cast<QMessageBox*>(box)->text();
        box->close();
      },
      "QMessageBox");
  bool opened = false;
  ShowAndLook([&] { opened = FForm.isVisible(); });
  EXPECT_EQ(message, "Cannot open file " + FFolder.filePath("vornhelp.txt") + ".");
  EXPECT_TRUE(opened);
  EXPECT_EQ(HelpText(), "");
}

}  // namespace

// Escape, in the help text or anywhere in the window, leaves it open; its close box closes it.
TEST_F(AboutWindowTest, EscapeLeavesTheWindowOpenAndTheCloseBoxClosesIt) {
  WriteHelp("help");
  bool stillOpen = false;
  ShowAndLook([&] {
    QTest::keyClick(&FForm.RichEdit1(), Qt::Key_Escape);
    QTest::keyClick(&FForm, Qt::Key_Escape);
    stillOpen = FForm.isVisible();
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(FForm.isVisible());
}
