#include <QSignalSpy>
#include <QTest>

#include "app/Unit3.h"
#include "browser/WebBrowser.h"
#include "services/Timer.h"
#include "tests/app/EditorFixture.h"
#include "windows/Unit2.h"
#include "windows/Unit4.h"

namespace {

constexpr char Template[] =
    "<html>\r\n\r\n<head>\r\n<title>New Page</title>\r\n"
    "<meta name=\"GENERATOR\" content=\"Vorn Web Editor 3.0 Basic\">\r\n</head>\r\n";

class StartupTest : public EditorFixture {
protected:
  // Shows the main window and notes what stood on the screen while the splash was up.
  void StartWatchingSplash() {
    WhenModalOpens([this](QWidget* modal) {
      FSplashWasModal = modal == Form3;
      FPreviewBeforeSplashClosed = Form4->isVisible();
      Form3->Timer1Timer();
    });
    Form1->show();
  }

  bool FSplashWasModal = false;
  bool FPreviewBeforeSplashClosed = true;
};

TEST_F(StartupTest, ShowingTheMainWindowRunsTheStartSequence) {
  QSignalSpy loads(&Form4->WebBrowser1(), &QWebEngineView::loadFinished);
  StartWatchingSplash();
  EXPECT_TRUE(FSplashWasModal);
  EXPECT_FALSE(FPreviewBeforeSplashClosed);
  EXPECT_FALSE(Form3->isVisible());

  EXPECT_EQ(Control<TRichEditPane>(Form1, "Edit1")->Text(), Template);
  EXPECT_EQ(Control<TRichEditPane>(Form1, "Edit1")->LineCount(), 6);
  EXPECT_EQ(Form1->CurrentFileName(), "new.htm");
  EXPECT_EQ(Form1->StatusPanelText(0), "new.htm");
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 6 of 6");  // the caret follows the appended lines
  EXPECT_EQ(Control<QLabel>(Form1, "lblsaved")->text(), "1");
  EXPECT_FALSE(Form1->Timer1().Enabled());
  EXPECT_TRUE(Form4->isVisible());

  ASSERT_TRUE(loads.wait(20000));
  EXPECT_EQ(Form4->WebBrowser1().title(), "Start page");
}

TEST_F(StartupTest, TheBrowserIsOfflineWhileWorkingOfflineIsChecked) {
  EXPECT_TRUE(Control<QCheckBox>(Form1, "CheckBox1")->isChecked());
  EXPECT_TRUE(Form4->WebBrowser1().Offline());
  Control<QCheckBox>(Form1, "CheckBox1")->click();
  EXPECT_FALSE(Form4->WebBrowser1().Offline());
  Control<QCheckBox>(Form1, "CheckBox1")->click();
  EXPECT_TRUE(Form4->WebBrowser1().Offline());
}

TEST_F(StartupTest, OnlyTheTimerClosesTheSplash) {
  bool stayed = false;
  WhenModalOpens(
      [&](QWidget* splash) {
        QTest::keyClick(splash, Qt::Key_Escape);
        splash->close();  // as the window manager asks
        stayed = splash->isVisible();
        Form3->Timer1Timer();
      },
      "TForm3");
  Form1->show();
  EXPECT_TRUE(stayed);
  EXPECT_FALSE(Form3->isVisible());
}

TEST_F(StartupTest, HelpAndAboutShowTheSameWindowModally) {
  Start();
  WriteFileBytes(Path("vornhelp.txt"), "the help");
  for (const char* command : {"Action3", "Action4"}) {
    QWidget* shown = nullptr;
    std::string text;
    WhenModalOpens([&](QWidget* window) {
      shown = window;
      text = Form2->RichEdit1().Text();
      window->close();
    });
    Control<QAction>(Form1, command)->trigger();
    EXPECT_EQ(shown, Form2) << command;
    EXPECT_EQ(text, "the help") << command;
  }
}

TEST_F(StartupTest, SplashTimerCountsFromCreationAndClosesTheSplash) {
  EXPECT_TRUE(Form3->Timer1().Enabled());
  EXPECT_EQ(Form3->Timer1().Interval(), 6000);
  Form3->show();
  Form3->Timer1Timer();
  EXPECT_FALSE(Form3->isVisible());
  Form3->Timer1Timer();
  EXPECT_FALSE(Form3->isVisible());
}

TEST_F(StartupTest, MainWindowShortcutsAnswerFromThePreviewExceptItsOwnF1) {
  Start();
  QSignalSpy opens(Control<QAction>(Form1, "FileOpen1"), &QAction::triggered);
  QSignalSpy previews(Control<QAction>(Form1, "Action5"), &QAction::triggered);
  Form4->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form4));
  WhenModalOpens([](QWidget* dialog) { dialog->close(); }, "QFileDialog");
  QTest::keyClick(Form4, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(opens.count(), 1);
  Form4->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form4));
  QTest::keyClick(Form4, Qt::Key_F1);
  EXPECT_EQ(previews.count(), 0);
  EXPECT_TRUE(QTest::qWaitForWindowActive(Form1));
}

TEST_F(StartupTest, ResizingMovesNothingInTheOptionStripWhileThePaneFollows) {
  Start();
  Form1->resize(1000, 500);
  const auto* pane = Control<TRichEditPane>(Form1, "Edit1");
  EXPECT_TRUE(QTest::qWaitFor([pane] { return pane->geometry() == QRect(0, 25, 1000, 456); }))
      << pane->geometry().x() << ' ' << pane->geometry().y() << ' ' << pane->geometry().width() << ' '
      << pane->geometry().height();
  EXPECT_EQ(Control<QStatusBar>(Form1, "StatusBar1")->geometry(), QRect(0, 481, 1000, 19));
  EXPECT_EQ(Control<QMenuBar>(Form1, "ActionMainMenuBar1")->width(), 1000);
  EXPECT_EQ(Control<QPushButton>(Form1, "Button1")->geometry(), QRect(808, 0, 49, 25));
  EXPECT_FALSE(Control<QLabel>(Form1, "lblsaved")->isVisible());
  EXPECT_EQ(Control<QLabel>(Form1, "StatusBar1Panel0")->width(), 500);
}

}  // namespace
