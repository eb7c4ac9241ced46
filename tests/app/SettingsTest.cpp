// The settings file: three options and both windows' bounds come back at the next start.
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "app/Unit5.h"
#include "browser/WebBrowser.h"
#include "services/WindowBounds.h"
#include "tests/app/EditorFixture.h"
#include "widgets/dxButton.h"
#include "windows/Unit4.h"

namespace {

QList<int> Bounds(const QWidget& window) {
  const QRect bounds = OuterBounds(window);
  return {bounds.height(), bounds.width(), bounds.left(), bounds.top()};
}

class SettingsTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    Start();
  }
  QString Ini() const { return Path("vorn.ini"); }
  bool Checked(const char* box) const { return Control<QCheckBox>(Form1, box)->isChecked(); }
  QString Saved() const { return Control<QLabel>(Form1, "lblsaved")->text(); }
  // Closes the program as the user does, answering "No" to the save prompt when it comes.
  void CloseProgram() {
    if (Saved() == "1")
      WhenModalOpens([](QWidget* prompt) { Control<TdxButton>(prompt, "dxButton2")->Click(); }, "TForm5");
    ASSERT_TRUE(Form1->close());
  }
  void StartAgain() {
    DestroyForms();
    CreateForms();
    Start();
  }
};

TEST_F(SettingsTest, OptionsAndBothWindowsBoundsComeBackAtTheNextStart) {
  EXPECT_EQ(Saved(), "1");  // no settings file yet
  Control<QCheckBox>(Form1, "Check1")->click();
  Control<QCheckBox>(Form1, "CheckBox2")->click();
  Control<QCheckBox>(Form1, "CheckBox1")->click();
  Control<QCheckBox>(Form1, "check3")->click();  // side by side
  const QList<int> code = Bounds(*Form1), preview = Bounds(*Form4);
  CloseProgram();

  QStringList keys;
  for (const QByteArray& line : ReadFileBytes(Ini()).split('\n'))
    if (!line.trimmed().isEmpty()) keys << QString::fromLatin1(line.split('=').first().trimmed());
  EXPECT_EQ(keys, QStringList({"[Vorn options]", "Automatic Preview", "Word Wrap", "Working Offline",
                               "[Vorn Interface]", "Height", "Width", "Left", "Top", "Height Pr", "Width Pr",
                               "Left Pr", "Top Pr"}));

  StartAgain();
  EXPECT_FALSE(Checked("Check1"));
  EXPECT_TRUE(Checked("CheckBox2"));
  EXPECT_TRUE(Edit1().WordWrap());
  EXPECT_FALSE(Checked("CheckBox1"));
  EXPECT_FALSE(Form4->WebBrowser1().Offline());
  EXPECT_FALSE(Checked("check3"));  // never stored
  EXPECT_EQ(Bounds(*Form1), code);
  EXPECT_EQ(Bounds(*Form4), preview);
  EXPECT_EQ(Saved(), "");
}

TEST_F(SettingsTest, AHandWrittenFileIsReadByItsRulesAndItsOtherSectionsKept) {
  WriteFileBytes(Ini(),
                 "; notes of the user\n[Other]\nkeep=this\n"
                 "[vorn OPTIONS]\nAutomatic Preview=yes\nWord Wrap=1\nWorking Offline=true\n"
                 "[Vorn Interface]\nHeight=0x200\nWidth= 700\nLeft=$10\nTop=abc\nHeight Pr=400\n");
  StartAgain();
  EXPECT_FALSE(Checked("Check1"));
  EXPECT_TRUE(Checked("CheckBox2"));
  EXPECT_TRUE(Edit1().WordWrap());
  EXPECT_FALSE(Edit1().document()->firstBlock().layout()->formats().isEmpty());  // colours intact
  EXPECT_FALSE(Checked("CheckBox1"));
  EXPECT_FALSE(Form4->WebBrowser1().Offline());
  EXPECT_EQ(Bounds(*Form1), QList<int>({512, 700, 16, 0}));
  EXPECT_EQ(OuterBounds(*Form4).height(), 400);
  EXPECT_GE(Form4->width(), Form4->minimumSizeHint().width());  // a width of 0 is made reachable
  EXPECT_EQ(Saved(), "");

  CloseProgram();
  const QByteArray written = ReadFileBytes(Ini());
  EXPECT_TRUE(written.contains("; notes of the user"));
  EXPECT_TRUE(written.contains("[Other]\nkeep=this"));
}

// A file without the interface section, a width of 0, and bounds far beyond the screen: each
// window comes up between a usable size and the screen, on it, and the close writes the bounds
// the windows have.
TEST_F(SettingsTest, BoundsAreKeptBetweenAUsableSizeAndTheScreen) {
  const char* const files[] = {
      "[Vorn options]\nWord Wrap=0\n",
      "[Vorn Interface]\nHeight=300\nWidth=600\nLeft=10\nTop=10\nWidth Pr=0\nHeight Pr=0\n",
      "[Vorn Interface]\nHeight=2147483647\nWidth=0x7fffffff\nLeft=0\nTop=0\n"
      "Height Pr=30000\nWidth Pr=30000\nLeft Pr=30000\nTop Pr=30000\n"};
  for (const char* file : files) {
    WriteFileBytes(Ini(), file);
    StartAgain();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form4)}) {
      const QRect bounds = OuterBounds(*window);
      EXPECT_LE(bounds.width(), screen.width()) << file;
      EXPECT_LE(bounds.height(), screen.height()) << file;
      EXPECT_TRUE(screen.intersects(bounds)) << file;
    }
    EXPECT_GE(Form1->width(), 430) << file;
    EXPECT_GE(Form1->height(), 160) << file;
    EXPECT_GE(Form4->width(), 320) << file;
    EXPECT_GE(Form4->height(), 200) << file;
    const QList<int> code = Bounds(*Form1), preview = Bounds(*Form4);
    CloseProgram();
    const QByteArray written = ReadFileBytes(Ini());
    EXPECT_TRUE(written.contains("Width=" + QByteArray::number(code[1]) + "\n")) << file;
    EXPECT_TRUE(written.contains("Width Pr=" + QByteArray::number(preview[1]) + "\n")) << file;
    EXPECT_TRUE(written.contains("Height Pr=" + QByteArray::number(preview[0]) + "\n")) << file;
  }
}

TEST_F(SettingsTest, OnlyTheExactTextOneChecksAnOption) {
  for (const char* value : {"yes", "true", "", "01", "1"}) {
    WriteFileBytes(Ini(), QByteArray("[Vorn options]\nAutomatic Preview=") + value + "\n");
    StartAgain();
    EXPECT_EQ(Checked("Check1"), qstrcmp(value, "1") == 0) << value;
    EXPECT_FALSE(Checked("CheckBox1")) << value;  // a missing key reads as empty
  }
}

TEST_F(SettingsTest, AWindowThatNoScreenShowsIsMovedOntoThePrimaryScreen) {
  WriteFileBytes(Ini(), "[Vorn Interface]\nHeight=300\nWidth=600\nLeft=-9000\nTop=-9000\n");
  StartAgain();
  EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().intersects(Form1->frameGeometry()));
  EXPECT_EQ(OuterBounds(*Form1).width(), 600);
}

// A program folder that cannot be written must not keep the user from closing the program.
TEST_F(SettingsTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheCloseGoesOn) {
  ASSERT_TRUE(QDir(FFolder.path()).mkdir("vorn.ini"));
  QString message;
  bool prompted = false;
  WhenModalOpens(
      [&](QWidget* box) {
        message = static_cast<QMessageBox*>(box)->text();
        box->close();
        WhenModalOpens(
            [&](QWidget* prompt) {
              prompted = true;
              Control<TdxButton>(prompt, "dxButton2")->Click();
            },
            "TForm5");
      },
      "QMessageBox");
  EXPECT_TRUE(Form1->close());
  EXPECT_EQ(message, "Unable to write to " + Ini() + ".");
  EXPECT_TRUE(prompted);
}

// A settings file the program cannot read whole would lose what it holds if written at the
// close: it is not applied, the close reports it and leaves it byte for byte as it was.
TEST_F(SettingsTest, ASettingsFileThatCannotBeReadWholeIsLeftAsItWas) {
  const QByteArray withNul = QByteArray("[Vorn options]\nWord Wrap=1\n") + '\0' + "[Mine]\nkeep=this\n";
  WriteFileBytes(Ini(), withNul);
  StartAgain();
  EXPECT_FALSE(Checked("CheckBox2"));  // not applied, as if there were none
  QString message;
  AnswerErrorBox(&message);
  CloseProgram();
  EXPECT_EQ(message, "Unable to write to " + Ini() + ".");
  EXPECT_EQ(ReadFileBytes(Ini()), withNul);
}

}  // namespace
