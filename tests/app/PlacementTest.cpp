// Where the program's windows first stand, measured by their frames as the user sees them. Run
// offscreen, where windows have no frame, and in app.PlacementUnderWindowManager, where the window
// manager frames them only once they are on the screen.
#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "app/Unit5.h"
#include "commands/FindAction.h"
#include "commands/FindDialog.h"
#include "tests/app/EditorFixture.h"
#include "widgets/dxButton.h"
#include "windows/Unit2.h"

namespace {

using TExpectedCorner = std::function<QPoint(const QSize& outer)>;

QPoint CentredIn(const QRect& area, const QSize& outer) {
  return {area.left() + (area.width() - outer.width()) / 2,
          area.top() + (area.height() - outer.height()) / 2};
}

QPoint CentredOnScreen(const QSize& outer) {
  return CentredIn(QGuiApplication::primaryScreen()->geometry(), outer);
}

class PlacementTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    QDir(Path("home")).mkdir("ferrundshared");  // the untitled page's preview goes there
  }
  // Waits for the window's frame, which a window manager draws a moment after the window is
  // shown, and for the window to stand where expected puts a frame of its outer size.
  static void ExpectPlaced(const QWidget& window, const TExpectedCorner& expected) {
    const auto framed = [&window] {
      return QGuiApplication::platformName() != QLatin1String("xcb") ||
             window.frameGeometry() != window.geometry();
    };
    const auto placed = [&] {
      return window.frameGeometry().topLeft() == expected(window.frameGeometry().size());
    };
    if (QTest::qWaitFor([&] { return framed() && placed(); }, 5000)) return;
    EXPECT_TRUE(framed()) << window.metaObject()->className() << " was never framed";
    EXPECT_EQ(window.frameGeometry().topLeft(), expected(window.frameGeometry().size()))
        << window.metaObject()->className() << " stands at the wrong place for its outer size";
  }
  // Types text into the pane and opens the find dialog with Ctrl+F.
  void TypeAndOpenFind(const char* text) {
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Edit1().setFocus();
    QTest::keyClicks(&Edit1(), text);
    Edit1().SetSelStart(0);
    // Find is enabled when the program next goes idle with text in the focused pane.
    QSignalSpy idle(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock);
    ASSERT_TRUE(idle.wait(5000));
    QTest::keyClick(&Edit1(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Form1->SearchFind1().Dialog().isVisible());
  }
  static void FindNext(const char* findText) {
    auto* field = Control<QLineEdit>(&Form1->SearchFind1().Dialog(), "FindText");
    QTest::keyClicks(field, findText);
    QTest::keyClick(field, Qt::Key_Return);
  }
};

TEST_F(PlacementTest, TheNotFoundBoxAndTheSavePromptAreCentredOnTheScreen) {
  Start();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));

  bool notFound = false;
  WhenModalOpens(
      [&](QWidget* box) {
        notFound = true;
        ExpectPlaced(*box, CentredOnScreen);
        box->close();
      },
      "QMessageBox");
  TypeAndOpenFind("text");
  FindNext("missing");
  EXPECT_TRUE(notFound);
  Form1->SearchFind1().Dialog().hide();

  bool prompt = false;
  WhenModalOpens(
      [&](QWidget* window) {
        prompt = true;
        ExpectPlaced(*window, CentredOnScreen);
        QTest::mouseClick(Control<TdxButton>(window, "dxButton2"), Qt::LeftButton);
      },
      "TForm5");
  EXPECT_TRUE(Form1->close());
  EXPECT_TRUE(prompt);
}

TEST_F(PlacementTest, TheFindDialogStandsAtAThirdOfItsMonitorAndTheAboutWindowOverTheMainWindow) {
  Start();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
  TypeAndOpenFind("text");
  const QRect monitor = Form1->screen()->geometry();
  ExpectPlaced(Form1->SearchFind1().Dialog(), [monitor](const QSize& outer) {
    return QPoint(monitor.left() + (monitor.width() - outer.width()) / 2,
                  monitor.top() + (monitor.height() - outer.height()) / 3);
  });
  Form1->SearchFind1().Dialog().hide();

  WriteFileBytes(Path("vornhelp.txt"), "help");
  bool about = false;
  WhenModalOpens(
      [&](QWidget* window) {
        about = true;
        ExpectPlaced(*window, [](const QSize& outer) { return CentredIn(Form1->frameGeometry(), outer); });
        window->close();
      },
      "TForm2");
  Control<QAction>(Form1, "Action4")->trigger();
  EXPECT_TRUE(about);
}

}  // namespace
