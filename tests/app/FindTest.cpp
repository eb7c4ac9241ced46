// Find in the editor with real keys: Ctrl+F, the find text, Enter; Ctrl+F and Enter for the next.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "commands/FindAction.h"
#include "commands/FindDialog.h"
#include "pane/RichEditPane.h"
#include "tests/app/EditorFixture.h"

namespace {

class FindTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    Start();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  }
  TFindDialog& Dialog() const { return Form1->SearchFind1().Dialog(); }
  QLineEdit* FindText() const { return Control<QLineEdit>(&Dialog(), "FindText"); }
  void SetDocument(const char* text) {
    Edit1().selectAll();
    Edit1().insertPlainText(QString::fromLatin1(text));
    Edit1().SetSelStart(0);
    Edit1().setFocus();
  }
  static void Idle() {
    QSignalSpy idle(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock);
    ASSERT_TRUE(idle.wait(5000));
  }
  // Ctrl+F in the main window, as the user presses it there.
  void PressCtrlF(QWidget* field) {
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    field->setFocus();
    Idle();
    QTest::keyClick(field, Qt::Key_F, Qt::ControlModifier);
  }
  void PressEnterInDialog() { QTest::keyClick(FindText(), Qt::Key_Return); }
  // Answers the next message box, noting what it said.
  void AnswerMessage() {
    FMessage.clear();
    WhenModalOpens(
        [this](QWidget* modal) {
          auto* box = static_cast<QMessageBox*>(modal);
          FMessage = box->text();
          FCaption = box->windowTitle();
          FIcon = box->icon();
          box->accept();
        },
        "QMessageBox", 3000);
  }
  int SelStart() const { return Edit1().SelStart(); }
  int SelLength() const { return Edit1().SelLength(); }

  QString FMessage, FCaption;
  QMessageBox::Icon FIcon = QMessageBox::Critical;
};

// In a UTF-8 document the search folds each character, and the selection it sets counts the
// document's bytes: "CAF\u00C9" finds both spellings after the CJK text, whole.
TEST_F(FindTest, InAUtf8DocumentFindFoldsEachCharacterAndSelectsItsBytes) {
  ASSERT_EQ(Edit1().Encoding(), TTextEncoding::Utf8);
  Edit1().selectAll();
  Edit1().insertPlainText(QString::fromUtf8("\u65E5\u672C caf\u00E9 CAF\u00C9"));
  Edit1().SetSelStart(0);
  PressCtrlF(&Edit1());
  FindText()->setText(QString::fromUtf8("CAF\u00C9"));
  PressEnterInDialog();
  EXPECT_EQ(SelStart(), 7);
  EXPECT_EQ(SelLength(), 5);
  EXPECT_EQ(Edit1().textCursor().selectedText(), QString::fromUtf8("caf\u00E9"));
  PressCtrlF(&Edit1());
  PressEnterInDialog();
  EXPECT_EQ(SelStart(), 13);
  EXPECT_EQ(Edit1().textCursor().selectedText(), QString::fromUtf8("CAF\u00C9"));
}

// Alt+S opens the Search menu from the keyboard and F runs Find...: the menu takes the keyboard
// focus while it is open, but the window's own focused field is still the pane.
TEST_F(FindTest, AltSThenFOpensTheFindDialogFromTheKeyboard) {
  SetDocument("foo");
  Idle();
  QTest::keyClick(Form1, Qt::Key_S, Qt::AltModifier);
  QWidget* menu = nullptr;
  ASSERT_TRUE(QTest::qWaitFor([&menu] { return (menu = QApplication::activePopupWidget()) != nullptr; }));
  Idle();
  EXPECT_TRUE(Control<QAction>(Form1, "SearchFind1")->isEnabled());
  QTest::keyClick(menu, Qt::Key_F);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Dialog().isVisible(); }));
  EXPECT_EQ(Form1->SearchFind1().Target(), &Edit1());
  if (QWidget* open = QApplication::activePopupWidget()) open->close();  // F did nothing
}

TEST_F(FindTest, CtrlFAndEnterFindEachMatchInTurnThenSayThereIsNoMore) {
  SetDocument("foo foo");
  PressCtrlF(&Edit1());
  ASSERT_TRUE(Dialog().isVisible());
  QTest::keyClicks(FindText(), "foo");
  PressEnterInDialog();
  EXPECT_EQ(SelStart(), 0);
  EXPECT_EQ(SelLength(), 3);
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 0 of 1");

  PressCtrlF(&Edit1());
  PressEnterInDialog();
  EXPECT_EQ(SelStart(), 4);
  EXPECT_EQ(SelLength(), 3);

  AnswerMessage();
  PressCtrlF(&Edit1());
  PressEnterInDialog();
  EXPECT_EQ(FMessage, "Text not found: \"foo\"");
  EXPECT_EQ(FCaption, "Vorn Web Editor Basic");
  EXPECT_EQ(FIcon, QMessageBox::NoIcon);
  EXPECT_EQ(SelStart(), 4);  // the selection stays
}

TEST_F(FindTest, ASecondFindNextWithoutTheCommandBetweenDoesNothing) {
  SetDocument("foo foo foo");
  PressCtrlF(&Edit1());
  QTest::keyClicks(FindText(), "foo");
  PressEnterInDialog();
  ASSERT_EQ(SelStart(), 0);
  EXPECT_EQ(Form1->SearchFind1().Target(), nullptr);
  Dialog().activateWindow();
  PressEnterInDialog();
  EXPECT_EQ(SelStart(), 0);
}

TEST_F(FindTest, PositionsOnALaterLineCountCrLfAsTwoAndUpFindsTheLastBefore) {
  SetDocument("ab\r\ncd\r\ncd");
  PressCtrlF(&Edit1());
  QTest::keyClicks(FindText(), "CD");
  PressEnterInDialog();
  EXPECT_EQ(SelStart(), 4);
  EXPECT_EQ(SelLength(), 2);
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 1 of 3");

  Edit1().SetSelStart(10);  // the end
  PressCtrlF(&Edit1());
  Dialog().findChildren<QRadioButton*>().first()->setChecked(true);  // up
  PressEnterInDialog();
  EXPECT_EQ(SelStart(), 8);
}

TEST_F(FindTest, WithTheFocusInTheLineBoxItsTextIsSearchedAndTheFocusStaysInTheDialog) {
  QLineEdit* edit2 = Control<QLineEdit>(Form1, "Edit2");
  edit2->setText("12 2");
  edit2->setCursorPosition(0);
  PressCtrlF(edit2);
  EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &Dialog(); }));
  QTest::keyClicks(FindText(), "2");
  PressEnterInDialog();
  EXPECT_EQ(edit2->selectionStart(), 1);
  EXPECT_EQ(edit2->selectedText(), "2");
  EXPECT_EQ(QApplication::focusWidget(), FindText());
}

TEST_F(FindTest, TheCommandIsDisabledInAnEmptyPaneOrOnACheckBox) {
  SetDocument("text");
  Idle();
  EXPECT_TRUE(Control<QAction>(Form1, "SearchFind1")->isEnabled());
  Control<QCheckBox>(Form1, "Check1")->setFocus();
  Idle();
  EXPECT_FALSE(Control<QAction>(Form1, "SearchFind1")->isEnabled());
  Edit1().Clear();
  Edit1().setFocus();
  Idle();
  EXPECT_FALSE(Control<QAction>(Form1, "SearchFind1")->isEnabled());
  QTest::keyClick(&Edit1(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(FindTest, TheDialogOpensAtAThirdOfTheScreenThenWhereItWasLeftWithItsTextAndOptions) {
  SetDocument("word");
  PressCtrlF(&Edit1());
  const QRect monitor = Form1->screen()->geometry();
  const QRect first = Dialog().frameGeometry();
  EXPECT_EQ(first.left(), monitor.left() + (monitor.width() - first.width()) / 2);
  EXPECT_EQ(first.top(), monitor.top() + (monitor.height() - first.height()) / 3);
  QTest::keyClicks(FindText(), "w");
  Dialog().findChildren<QCheckBox*>().first()->setChecked(true);  // whole word
  Dialog().move(first.topLeft() + QPoint(30, 20));
  QTest::keyClick(FindText(), Qt::Key_Escape);
  EXPECT_FALSE(Dialog().isVisible());
  PressCtrlF(&Edit1());
  EXPECT_EQ(Dialog().frameGeometry().topLeft(), first.topLeft() + QPoint(30, 20));
  EXPECT_EQ(FindText()->text(), "w");
  EXPECT_TRUE(Dialog().Options().WholeWord);
  EXPECT_EQ(FindText()->maxLength(), 255);
}

}  // namespace
