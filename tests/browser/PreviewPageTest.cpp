// A previewed page's script dialogs: shown without holding the program, at most one at a time,
// stopped for good at the user's word, and never holding a page that is left.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "browser/PreviewPage.h"
#include "browser/WebBrowser.h"
#include "tests/support/BrowserSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class PreviewPageTest : public testing::Test {
protected:
  void SetUp() override { FBrowser.resize(400, 300); }
  TPreviewPage& Page() { return *static_cast<TPreviewPage*>(FBrowser.page()); }
  QString Show(const QByteArray& html) {
    WriteFileBytes(FFolder.filePath("page.vnx"), html);
    FBrowser.Navigate(FFolder.filePath("page.vnx"));
    EXPECT_TRUE(WaitForLoad(FBrowser));
    return FBrowser.title();
  }
  bool WaitForBox() {
    return QTest::qWaitFor([&] { return Page().DialogBox() != nullptr; }, 10000);
  }

  QTemporaryDir FFolder;
  TWebBrowser FBrowser;
};

// A page that shows alerts in a loop gets one box that holds nothing: no modal window is up and
// the program's timers run while it loops.
TEST_F(PreviewPageTest, AnAlertLoopShowsOneBoxAndHoldsNothing) {
  WriteFileBytes(FFolder.filePath("page.vnx"),
                 "<title>Loop</title><script>setTimeout(() => { for (let i = 0; i < 100; ++i) "
                 "alert('You cannot leave'); document.title = 'Done'; }, 0)</script>");
  FBrowser.Navigate(FFolder.filePath("page.vnx"));
  ASSERT_TRUE(WaitForBox());
  EXPECT_EQ(Page().DialogBox()->text(), "The page says:\n\nYou cannot leave");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_FALSE(Page().DialogBox()->isModal());
  bool ticked = false;
  QTimer::singleShot(0, [&] { ticked = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticked; }, 1000));  // a held loop would not tick
  int boxes = 0;
  for (QWidget* window : QApplication::topLevelWidgets())
    boxes += window->isVisible() && qobject_cast<QMessageBox*>(window);
  EXPECT_EQ(boxes, 1);

  // Once the user keeps the page from showing more, it shows none, also when loaded again.
  Page().DialogBox()->checkBox()->setChecked(true);
  Page().DialogBox()->accept();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Page().DialogBox() == nullptr; }, 5000));
  FBrowser.Navigate(FFolder.filePath("page.vnx"));
  ASSERT_TRUE(WaitForLoad(FBrowser));
  ASSERT_TRUE(QTest::qWaitFor([&] { return FBrowser.title() == "Done"; }, 20000));  // all its alerts asked
  EXPECT_EQ(Page().DialogBox(), nullptr);
}

// A confirm and a prompt are answered at once, as cancelled, and their text is shown.
TEST_F(PreviewPageTest, AConfirmAndAPromptAreAnsweredCancelAtOnce) {
  EXPECT_EQ(Show("<title>Asks</title><script>window.answer = confirm('Sure?')</script>"), "Asks");
  EXPECT_EQ(RunScript(FBrowser, "String(window.answer)").toString(), "false");
  ASSERT_TRUE(WaitForBox());
  EXPECT_EQ(Page().DialogBox()->text(), "The page asks:\n\nSure?\n\nIt was answered Cancel.");
  Page().DialogBox()->accept();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Page().DialogBox() == nullptr; }, 5000));
  EXPECT_EQ(Show("<title>Prompt</title><script>window.answer = prompt('Name?', 'x')</script>"), "Prompt");
  EXPECT_EQ(RunScript(FBrowser, "String(window.answer)").toString(), "null");
  EXPECT_TRUE(WaitForBox());
}

// A page whose beforeunload handler asks the user to stay is left all the same, with no box.
TEST_F(PreviewPageTest, BeforeUnloadNeverHoldsTheNextPage) {
  FBrowser.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&FBrowser));
  EXPECT_EQ(Show("<title>Stay</title><body style='height:100%'><script>addEventListener('beforeunload', e "
                 "=> { e.preventDefault(); e.returnValue = 'stay'; }); addEventListener('click', () => "
                 "document.title = 'Clicked')</script>"),
            "Stay");
  QTest::mouseClick(FBrowser.focusProxy(), Qt::LeftButton, {}, QPoint(50, 50));  // a user's gesture
  ASSERT_TRUE(QTest::qWaitFor([&] { return FBrowser.title() == "Clicked"; }, 10000));
  EXPECT_EQ(Show("<title>Left</title>"), "Left");
  EXPECT_EQ(Page().DialogBox(), nullptr);
}

}  // namespace
