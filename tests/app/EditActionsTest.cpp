#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "tests/app/EditorFixture.h"

namespace {

class EditActionsTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    Start();
    Form1->activateWindow();  // the preview came up last; the user turns back to the code
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Edit1().setFocus();
    QGuiApplication::clipboard()->setText("clip");
  }
  // Lets the application go idle, when the actions bring their states up to date.
  static void Idle() {
    QSignalSpy idle(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock);
    ASSERT_TRUE(idle.wait(5000));
  }
  // Goes idle again and again until the condition holds, for at most five seconds.
  static bool IdleUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired()) Idle();
    return condition();
  }
  bool CopyEnabled() const { return Control<QAction>(Form1, "EditCopy1")->isEnabled(); }
  bool CutEnabled() const { return Control<QAction>(Form1, "EditCut1")->isEnabled(); }
  bool PasteEnabled() const { return Control<QAction>(Form1, "EditPaste1")->isEnabled(); }
};

TEST_F(EditActionsTest, CopyAndCutNeedASelectionInTheFocusedField) {
  Edit1().SetSelStart(0);
  Idle();
  EXPECT_FALSE(CopyEnabled());
  EXPECT_FALSE(CutEnabled());
  EXPECT_TRUE(PasteEnabled());
  QTest::keyClick(&Edit1(), Qt::Key_Right, Qt::ShiftModifier);
  Idle();
  EXPECT_TRUE(CopyEnabled());
  EXPECT_TRUE(CutEnabled());
}

TEST_F(EditActionsTest, PasteNeedsTextOnTheClipboard) {
  auto* picture = new QMimeData;
  picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
  QGuiApplication::clipboard()->setMimeData(picture);
  Edit1().setFocus();
  Idle();
  EXPECT_FALSE(PasteEnabled());
  const std::string before = Edit1().Text();
  Control<QAction>(Form1, "EditPaste1")->trigger();
  EXPECT_EQ(Edit1().Text(), before);
}

TEST_F(EditActionsTest, ActionsWorkOnThePaneAndThePassRecoloursAfterCutAndPaste) {
  Edit1().SetSelStart(0);
  Edit1().SetSelLength(6);
  Control<QLabel>(Form1, "lblsaved")->setText(QString());
  Idle();
  Control<QAction>(Form1, "EditCut1")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "<html>");
  EXPECT_EQ(Edit1().Text().substr(0, 4), "\r\n\r\n");
  EXPECT_EQ(Control<QLabel>(Form1, "lblsaved")->text(), "1");

  Edit1().SetSelStart(2);
  Idle();
  Control<QAction>(Form1, "EditPaste1")->trigger();
  EXPECT_EQ(Edit1().Text().substr(0, 10), "\r\n<html>\r\n");

  Edit1().SetSelStart(2);
  Edit1().SetSelLength(6);
  QGuiApplication::clipboard()->clear();
  Idle();
  Control<QAction>(Form1, "EditCopy1")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "<html>");
}

TEST_F(EditActionsTest, WithTheFocusInTheLineBoxTheActionsWorkOnIt) {
  Control<QLineEdit>(Form1, "Edit2")->setFocus();
  Control<QLineEdit>(Form1, "Edit2")->setText("12");
  Control<QLineEdit>(Form1, "Edit2")->selectAll();
  Idle();
  EXPECT_TRUE(CopyEnabled());
  Control<QAction>(Form1, "EditCut1")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "12");
  EXPECT_EQ(Control<QLineEdit>(Form1, "Edit2")->text(), "");
  Idle();
  Control<QAction>(Form1, "EditPaste1")->trigger();
  Control<QAction>(Form1, "EditPaste1")->trigger();
  EXPECT_EQ(Control<QLineEdit>(Form1, "Edit2")->text(), "1212");
  Idle();
  EXPECT_FALSE(CutEnabled());
}

// The state of a clipboard another program holds is learnt from the clipboard's own news of
// each change, the program's taking it and its leaving it alike.
TEST_F(EditActionsTest, PasteFollowsAClipboardAnotherProgramOwns) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs a desktop clipboard";
  auto* picture = new QMimeData;
  picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
  QGuiApplication::clipboard()->setMimeData(picture);
  Idle();
  ASSERT_FALSE(PasteEnabled());

  QProcess owner;
  owner.start(QStringLiteral(CLIPBOARD_OWNER), {QStringLiteral("<i>")});
  ASSERT_TRUE(owner.waitForReadyRead(10000));
  EXPECT_TRUE(IdleUntil([this] { return PasteEnabled(); }));
  Edit1().SetSelStart(0);
  Control<QAction>(Form1, "EditPaste1")->trigger();
  EXPECT_EQ(Edit1().Text().substr(0, 3), "<i>");

  owner.kill();
  ASSERT_TRUE(owner.waitForFinished(10000));
  EXPECT_TRUE(IdleUntil([this] { return !PasteEnabled(); }));
}

}  // namespace

namespace {

// The clipboard states a fresh desktop session or a closed source program leaves behind.
void SetClipboard(QClipboard::Mode mode, const char* state) {
  QClipboard& clipboard = *QGuiApplication::clipboard();
  if (!qstrcmp(state, "empty")) return clipboard.clear(mode);
  auto* data = new QMimeData;
  if (!qstrcmp(state, "picture")) data->setImageData(QImage(4, 4, QImage::Format_RGB32));
  if (!qstrcmp(state, "text")) data->setText("<b>");
  clipboard.setMimeData(data, mode);
}

class PasteTest : public EditActionsTest, public testing::WithParamInterface<const char*> {
protected:
  // Each route, with the text it should leave when the clipboard holds "<b>" and nothing else.
  void PasteByKeys() {
    QTest::keyClick(&Edit1(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&Edit1(), Qt::Key_Insert, Qt::ShiftModifier);
  }
  void PasteByMiddleClick() {
    QTest::mouseClick(Edit1().viewport(), Qt::MiddleButton, Qt::NoModifier, QPoint(2, 2));
  }
  void PasteByDrop(const char* state) {
    auto* data = new QMimeData;
    if (!qstrcmp(state, "picture")) data->setImageData(QImage(4, 4, QImage::Format_RGB32));
    if (!qstrcmp(state, "text")) data->setText("<b>");
    const QPoint at(2, 2);
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Edit1().viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Edit1().viewport(), &drop);
    delete data;
  }
};

TEST_P(PasteTest, EveryRouteTakesTextAndIgnoresAnythingElse) {
  const char* state = GetParam();
  const bool text = !qstrcmp(state, "text");
  SetClipboard(QClipboard::Clipboard, state);
  Edit1().SetSelStart(0);
  const std::string before = Edit1().Text();
  Idle();
  PasteByKeys();
  Control<QAction>(Form1, "EditPaste1")->trigger();
  EXPECT_EQ(Edit1().Text(), (text ? "<b><b><b>" : "") + before);

  const QString line = Control<QLineEdit>(Form1, "Edit2")->text();
  QTest::keyClick(Control<QLineEdit>(Form1, "Edit2"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(text || Control<QLineEdit>(Form1, "Edit2")->text() == line);

  Edit1().SetSelStart(0);
  const std::string beforeDrop = Edit1().Text();
  PasteByDrop(state);
  EXPECT_EQ(Edit1().Text(), (text ? "<b>" : "") + beforeDrop);

  if (!QGuiApplication::clipboard()->supportsSelection()) {
    std::printf("[ SKIPPED  ] middle-click paste: this platform has no selection clipboard\n");
    return;
  }
  SetClipboard(QClipboard::Selection, state);
  const std::string beforeClick = Edit1().Text();
  PasteByMiddleClick();
  EXPECT_EQ(Edit1().Text().size(), beforeClick.size() + (text ? 3 : 0));
}

INSTANTIATE_TEST_SUITE_P(ClipboardStates, PasteTest,
                         testing::Values("empty", "no formats", "picture", "text"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return info.param[0] == 'n' ? std::string("noformats") : std::string(info.param);
                         });

}  // namespace
