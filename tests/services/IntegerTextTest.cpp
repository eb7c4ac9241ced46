#include "ErrorBox.h"
#include "FileDialogAction.h"
#include "IntegerText.h"
#include "JpegImage.h"
#include "ProgramFolder.h"
#include "TestSupport.h"
#include "Timer.h"
#include "VornError.h"

#include <QFile>
#include <QMessageBox>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString ConversionFailure(const QString& text) {
  try {
    StrToInt(text);
  } catch (const EVornError& error) {
    return error.Message();
  }
  return {};
}

TEST(IntegerText, ConvertsDecimalAndHexadecimalWithSignAndLeadingBlanks) {
  EXPECT_EQ(StrToInt("5"), 5);
  EXPECT_EQ(StrToInt("  -1"), -1);
  EXPECT_EQ(StrToInt("+12"), 12);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("0X10"), 16);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(IntegerText, RefusesTextThatDoesNotConvertWhole) {
  for (const char* bad : {"abc", "", " ", "5 ", "1x", "$", "0x", "-", "2147483648", "$100000000", "1.5"})
    EXPECT_EQ(ConversionFailure(bad), QStringLiteral("'%1' is not a valid integer value").arg(bad));
}

TEST(ErrorBox, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(ErrorBoxText("Cannot open file /x/vornhelp.txt"), "Cannot open file /x/vornhelp.txt.");
  EXPECT_EQ(ErrorBoxText("'abc' is not a valid integer value"), "'abc' is not a valid integer value.");
  EXPECT_EQ(ErrorBoxText("Line 5"), "Line 5.");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Really!"), "Really!");
  EXPECT_EQ(ErrorBoxText("(x)"), "(x)");
  EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ErrorBox, AGuardedFailureShowsTheCriticalBoxWithTheTitleAndEndsTheHandler) {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  int width = 0, captionWidth = 0;
  WhenModalOpens([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    width = box->width();
    QFont bold = box->font();
    bold.setBold(true);
    captionWidth = QFontMetrics(bold).horizontalAdvance(caption);
    box->accept();
  });
  bool after = false;
  RunGuarded([&] {
    throw EVornError("Cannot create file /missing/x.htm");
    after = true;
  });
  EXPECT_FALSE(after);
  EXPECT_EQ(caption, "Vorn Web Editor Basic");
  EXPECT_EQ(text, "Cannot create file /missing/x.htm.");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, QMessageBox::Ok);
  EXPECT_GE(width, captionWidth + 120);  // room for the caption beside the title bar's buttons
}

TEST(FileDialogAction, StoredFiltersKeepTheirDescriptionsAndMatchWhatTheyName) {
  EXPECT_EQ(TFileDialogAction::NameFilters("Html Files (*.html, *.htm)|*.htm;*.html|All Files(*.*)|*.*"),
            QStringList({"Html Files (*.html, *.htm) (*.htm *.html)", "All Files(*.*) (*)"}));
  EXPECT_EQ(TFileDialogAction::NameFilters("Htm Files(*.htm)|*.htm|Html Files(*.html)|*.html|All files(*.*)|*.*"),
            QStringList({"Htm Files(*.htm) (*.htm)", "Html Files(*.html) (*.html)", "All files(*.*) (*)"}));
  EXPECT_EQ(TFileDialogAction::TrimFolder("/home/u/"), "/home/u");
  EXPECT_EQ(TFileDialogAction::TrimFolder("/"), "/");
  EXPECT_EQ(TFileDialogAction::TrimFolder("c:/"), "c:/");
  EXPECT_EQ(TFileDialogAction::TrimFolder(""), "");
}

TEST(ProgramFolder, FolderPartRunsToTheLastSeparator) {
  EXPECT_EQ(ExtractFilePath("/home/u/page.htm"), "/home/u/");
  EXPECT_EQ(ExtractFilePath("new.htm"), "");
  EXPECT_EQ(ExtractFilePath("/page.htm"), "/");
  SetProgramFolder("/opt/vorn/");
  EXPECT_EQ(ProgramFolder(), "/opt/vorn/");
  SetProgramFolder({});
  EXPECT_TRUE(ProgramFolder().endsWith('/'));
}

TEST(JpegImage, DecodesTheSplashPictureAndRefusesBrokenData) {
  QFile file(":/splash.jpg");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray jpeg = file.readAll();
  const QImage picture = DecodeJpeg(jpeg);
  EXPECT_EQ(picture.size(), QSize(90, 120));
  EXPECT_FALSE(picture.allGray());
  EXPECT_THROW(DecodeJpeg(jpeg.left(20)), EVornError);
  EXPECT_THROW(DecodeJpeg("not a jpeg"), EVornError);
}

TEST(Timer, EnablingARunningTimerKeepsItsCountdownWhileDisablingStartsAfresh) {
  TTimer timer(300, false, nullptr);
  QSignalSpy ticks(&timer, &TTimer::Timer);
  QElapsedTimer clock;
  EXPECT_FALSE(timer.Enabled());

  timer.SetEnabled(true);
  clock.start();
  QTest::qWait(200);
  timer.SetEnabled(true);
  ASSERT_TRUE(ticks.wait(2000));
  EXPECT_LT(clock.elapsed(), 450);

  QTest::qWait(200);
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  clock.restart();
  ASSERT_TRUE(ticks.wait(2000));
  EXPECT_GE(clock.elapsed(), 270);
}

}  // namespace
