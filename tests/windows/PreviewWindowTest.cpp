#include <gtest/gtest.h>

#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "browser/WebBrowser.h"
#include "services/Application.h"
#include "tests/support/BrowserSupport.h"
#include "tests/support/TestSupport.h"
#include "windows/Unit4.h"

namespace {

class PreviewWindowTest : public testing::Test {
protected:
  void SetUp() override {
    FMain.setWindowTitle("Main");
    TApplication::SetMainForm(&FMain);
  }
  void TearDown() override { TApplication::SetMainForm(nullptr); }

  QWidget FMain;
  TForm4 FForm;
};

TEST_F(PreviewWindowTest, LayoutHasTheCaptionPlaceAndAMenuOfThreeCommands) {
  EXPECT_EQ(FForm.windowTitle(), "Preview");
  EXPECT_EQ(FForm.pos(), QPoint(86, 341));
  EXPECT_EQ(FForm.width(), 860);
  EXPECT_EQ(FForm.height() - Control<QMenuBar>(&FForm, "MainMenu1")->sizeHint().height(), 335);
  EXPECT_EQ(FForm.centralWidget(), &FForm.WebBrowser1());
  EXPECT_FALSE(FForm.isVisible());

  const QList<QAction*> items = Control<QMenuBar>(&FForm, "MainMenu1")->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "Show Code Window - F1");
  EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(items[1]->text(), "< Back");
  EXPECT_EQ(items[2]->text(), "Forward >");
  for (QAction* item : items) EXPECT_EQ(item->menu(), nullptr);
}

TEST_F(PreviewWindowTest, F1BringsTheMainWindowForwardAndClosingOnlyHides) {
  FForm.show();
  FForm.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&FForm));
  QTest::keyClick(&FForm, Qt::Key_F1);
  EXPECT_TRUE(FMain.isVisible());
  EXPECT_TRUE(QTest::qWaitForWindowActive(&FMain));
  EXPECT_TRUE(FForm.isVisible());

  FForm.close();
  EXPECT_FALSE(FForm.isVisible());
  FForm.show();
  EXPECT_TRUE(FForm.isVisible());
}

TEST_F(PreviewWindowTest, BackAndForwardWalkTheBrowsersHistory) {
  QTemporaryDir folder;
  WriteFileBytes(folder.filePath("a.vnx"), "<title>A</title>");
  WriteFileBytes(folder.filePath("b.vnx"), "<title>B</title>");
  TWebBrowser& browser = FForm.WebBrowser1();
  browser.Navigate(folder.filePath("a.vnx"));
  ASSERT_TRUE(WaitForLoad(browser));
  browser.Navigate(folder.filePath("b.vnx"));
  ASSERT_TRUE(WaitForLoad(browser));

  Control<QAction>(&FForm, "Back1")->trigger();
  ASSERT_TRUE(WaitForLoad(browser));
  EXPECT_EQ(browser.title(), "A");
  QSignalSpy loads(&browser, &QWebEngineView::loadStarted);
  Control<QAction>(&FForm, "Back1")->trigger();  // nothing further back: the page stays
  Control<QAction>(&FForm, "Forward1")->trigger();
  ASSERT_TRUE(WaitForLoad(browser));
  EXPECT_EQ(browser.title(), "B");
  EXPECT_EQ(loads.count(), 1);
}

}  // namespace
