#include "EditorFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

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
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
  }
  bool CopyEnabled() const { return ui().EditCopy1->isEnabled(); }
  bool CutEnabled() const { return ui().EditCut1->isEnabled(); }
  bool PasteEnabled() const { return ui().EditPaste1->isEnabled(); }
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
  ui().EditPaste1->trigger();
  EXPECT_EQ(Edit1().Text(), before);
}

TEST_F(EditActionsTest, ActionsWorkOnThePaneAndThePassRecoloursAfterCutAndPaste) {
  Edit1().SetSelStart(0);
  Edit1().SetSelLength(6);
  ui().lblsaved->setText(QString());
  Idle();
  ui().EditCut1->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "<html>");
  EXPECT_EQ(Edit1().Text().substr(0, 4), "\r\n\r\n");
  EXPECT_EQ(ui().lblsaved->text(), "1");

  Edit1().SetSelStart(2);
  Idle();
  ui().EditPaste1->trigger();
  EXPECT_EQ(Edit1().Text().substr(0, 10), "\r\n<html>\r\n");

  Edit1().SetSelStart(2);
  Edit1().SetSelLength(6);
  QGuiApplication::clipboard()->clear();
  Idle();
  ui().EditCopy1->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "<html>");
}

TEST_F(EditActionsTest, WithTheFocusInTheLineBoxTheActionsWorkOnIt) {
  ui().Edit2->setFocus();
  ui().Edit2->setText("12");
  ui().Edit2->selectAll();
  Idle();
  EXPECT_TRUE(CopyEnabled());
  ui().EditCut1->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "12");
  EXPECT_EQ(ui().Edit2->text(), "");
  Idle();
  ui().EditPaste1->trigger();
  ui().EditPaste1->trigger();
  EXPECT_EQ(ui().Edit2->text(), "1212");
  Idle();
  EXPECT_FALSE(CutEnabled());
}

}  // namespace
