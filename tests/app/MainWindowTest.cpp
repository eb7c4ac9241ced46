#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/Unit1.h"
#include "pane/RichEditPane.h"
#include "services/Timer.h"
#include "tests/support/TestSupport.h"
#include "widgets/dxButton.h"
#include "windows/Unit4.h"

namespace {

struct TActionRow {
  const char* Name;
  const char* Category;
  const char* Caption;
  const char* Shortcut;
  int Glyph;
  const char* Hint;
};

// The command set as the action list holds it, in list order.
const TActionRow Actions[] = {
    {"EditCopy1", "Edit", "&Copy", "Ctrl+C", 1, "Copy|Copies the selection and puts it on the Clipboard"},
    {"EditCut1", "Edit", "Cu&t", "Ctrl+X", 0, "Cut|Cuts the selection and puts it on the Clipboard"},
    {"EditPaste1", "Edit", "&Paste", "Ctrl+V", 2, "Paste|Inserts Clipboard contents"},
    {"Action1", "File", "&New", "", 6, "Create a new file!"},
    {"Action2", "File", "&Save", "F2", 8, "Save your file"},
    {"FileOpen1", "File", "&Open...", "Ctrl+O", 7, "Open|Opens an existing file"},
    {"FileSaveAs1", "File", "Save &As...", "", 30, "Save As|Saves the active file with a new name"},
    {"FileExit1", "File", "E&xit", "", 43, "Exit|Quits the application"},
    {"Action3", "Help", "&Help", "", -1, ""},
    {"Action4", "Help", "&About", "", -1, ""},
    {"SearchFind1", "Search", "&Find...", "Ctrl+F", 45, "Find|Finds the specified text"},
    {"Action5", "", "Show Preview Window - F1", "F1", -1, ""},
};

QStringList Captions(const QList<QAction*>& actions) {
  QStringList captions;
  for (const QAction* action : actions) captions << action->text();
  return captions;
}

// The main window alone, with the preview window its commands drive.
class MainWindowTest : public testing::Test {
protected:
  void SetUp() override {
    Form4 = &FPreview;
    FForm.layout()->activate();
  }
  void TearDown() override { Form4 = nullptr; }

  TForm4 FPreview;
  TForm1 FForm;
};

TEST_F(MainWindowTest, ActionListHoldsTheTwelveCommandsWithTheirCaptionsShortcutsGlyphsAndHints) {
  for (const TActionRow& row : Actions) {
    SCOPED_TRACE(row.Name);
    auto* action = FForm.findChild<QAction*>(row.Name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), row.Caption);
    EXPECT_EQ(action->property("category").toString(), row.Category);
    EXPECT_EQ(action->shortcut(), QKeySequence(row.Shortcut));
    EXPECT_EQ(action->property("imageIndex").toInt(), row.Glyph);
    EXPECT_EQ(action->icon().isNull(), row.Glyph < 0);
    EXPECT_EQ(action->property("hint").toString(), row.Hint);
    EXPECT_TRUE(QKeySequence(row.Shortcut).isEmpty() || FForm.actions().contains(action)) << row.Name;
  }
}

TEST_F(MainWindowTest, MenuBarHasFiveItemsWithTheirSubItemsInOrder) {
  const QList<QAction*> items = Control<QMenuBar>(&FForm, "ActionMainMenuBar1")->actions();
  EXPECT_EQ(Captions(items),
            QStringList({"&File", "&Edit", "&Search", "&Help", "Sh&ow Preview Window - F1"}));
  EXPECT_EQ(Captions(items[0]->menu()->actions()),
            QStringList({"&New", "&Save", "&Open...", "Save &As...", "E&xit"}));
  EXPECT_EQ(Captions(items[1]->menu()->actions()), QStringList({"&Copy", "Cu&t", "&Paste"}));
  EXPECT_EQ(Captions(items[2]->menu()->actions()), QStringList({"&Find..."}));
  EXPECT_EQ(Captions(items[3]->menu()->actions()), QStringList({"&Help", "&About"}));
  EXPECT_EQ(items[4]->menu(), nullptr);

  // Every caption shows whole, left of the option strip that shares the menu row.
  const QList<QWidget*> strip = {
      Control<QCheckBox>(&FForm, "check3"),    Control<TdxButton>(&FForm, "dxButton1"),
      Control<QCheckBox>(&FForm, "Check1"),    Control<QCheckBox>(&FForm, "CheckBox2"),
      Control<QCheckBox>(&FForm, "CheckBox1"), Control<QLineEdit>(&FForm, "Edit2"),
      Control<QPushButton>(&FForm, "Button1")};
  for (QAction* item : items)
    for (const QWidget* control : strip)
      EXPECT_FALSE(Control<QMenuBar>(&FForm, "ActionMainMenuBar1")
                       ->actionGeometry(item)
                       .intersects(control->geometry()))
          << item->text().toStdString() << " under " << control->objectName().toStdString();

  int previewCommands = 0;
  QObject::connect(Control<QAction>(&FForm, "Action5"), &QAction::triggered, [&] { ++previewCommands; });
  items[4]->trigger();
  EXPECT_EQ(previewCommands, 1);
}

TEST_F(MainWindowTest, ContextMenuOffersCopyCutPasteWithGlyphsAndShortcuts) {
  const QList<QAction*> items = FForm.PopupMenu1().actions();
  EXPECT_EQ(items,
            QList<QAction*>({Control<QAction>(&FForm, "EditCopy1"), Control<QAction>(&FForm, "EditCut1"),
                             Control<QAction>(&FForm, "EditPaste1")}));
  for (const QAction* item : items) {
    EXPECT_FALSE(item->icon().isNull());
    EXPECT_FALSE(item->shortcut().isEmpty());
  }
  EXPECT_EQ(Control<TRichEditPane>(&FForm, "Edit1")->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThemWithTheirCaptionsAndStates) {
  EXPECT_EQ(FForm.windowTitle(), "Vorn Web Editor 3.0");
  EXPECT_EQ(FForm.pos(), QPoint(88, 12));
  EXPECT_EQ(FForm.size(), QSize(857, 300));
  EXPECT_EQ(Control<QMenuBar>(&FForm, "ActionMainMenuBar1")->geometry(), QRect(0, 0, 857, 25));
  EXPECT_EQ(Control<QStatusBar>(&FForm, "StatusBar1")->geometry(), QRect(0, 281, 857, 19));
  EXPECT_EQ(Control<TRichEditPane>(&FForm, "Edit1")->geometry(), QRect(0, 25, 857, 256));

  EXPECT_EQ(Control<QCheckBox>(&FForm, "check3")->geometry(), QRect(267, 5, 81, 17));
  EXPECT_EQ(Control<QCheckBox>(&FForm, "check3")->text(), "Side by side ");
  EXPECT_EQ(Control<QCheckBox>(&FForm, "check3")->toolTip(), "Click her to enable side by side docking");
  EXPECT_FALSE(Control<QCheckBox>(&FForm, "check3")->isChecked());
  EXPECT_EQ(Control<TdxButton>(&FForm, "dxButton1")->geometry(), QRect(352, 0, 97, 25));
  EXPECT_EQ(Control<TdxButton>(&FForm, "dxButton1")->Caption(), "Update Preview");
  EXPECT_EQ(Control<QCheckBox>(&FForm, "Check1")->geometry(), QRect(456, 5, 121, 17));
  EXPECT_EQ(Control<QCheckBox>(&FForm, "Check1")->text(), "Automatic Preview");
  EXPECT_TRUE(Control<QCheckBox>(&FForm, "Check1")->isChecked());
  EXPECT_EQ(Control<QCheckBox>(&FForm, "CheckBox2")->geometry(), QRect(568, 5, 81, 17));
  EXPECT_EQ(Control<QCheckBox>(&FForm, "CheckBox2")->text(), "Word Wrap");
  EXPECT_FALSE(Control<QCheckBox>(&FForm, "CheckBox2")->isChecked());
  EXPECT_EQ(Control<QCheckBox>(&FForm, "CheckBox1")->geometry(), QRect(648, 5, 97, 17));
  EXPECT_EQ(Control<QCheckBox>(&FForm, "CheckBox1")->text(), "Working offline");
  EXPECT_TRUE(Control<QCheckBox>(&FForm, "CheckBox1")->isChecked());
  EXPECT_EQ(Control<QLineEdit>(&FForm, "Edit2")->geometry(), QRect(768, 1, 41, 21));
  EXPECT_EQ(Control<QLineEdit>(&FForm, "Edit2")->text(), "0");
  EXPECT_EQ(
      Control<QLineEdit>(&FForm, "Edit2")->toolTip(),
      "Insert a number on a code line and press goto line. The Editor will jump to that line in the code!");
  EXPECT_EQ(Control<QPushButton>(&FForm, "Button1")->geometry(), QRect(808, 0, 49, 25));
  EXPECT_EQ(Control<QPushButton>(&FForm, "Button1")->text(), "Goto line");

  EXPECT_EQ(Control<TRichEditPane>(&FForm, "Edit1")->toolTip(), "Editor");
  EXPECT_EQ(Control<TRichEditPane>(&FForm, "Edit1")->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(Control<TRichEditPane>(&FForm, "Edit1")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(Control<TRichEditPane>(&FForm, "Edit1")->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_TRUE(Control<TRichEditPane>(&FForm, "Edit1")->PlainTextMode());

  EXPECT_EQ(FForm.StatusPanelText(0), "new.htm");
  EXPECT_EQ(FForm.StatusPanelText(1), "Line: 0 of 0");
  EXPECT_EQ(Control<QLabel>(&FForm, "StatusBar1Panel0")->sizeHint().width(), 500);
  EXPECT_EQ(Control<QLabel>(&FForm, "lblsaved")->text(), "lblsaved");
  EXPECT_FALSE(FForm.Timer1().Enabled());
  EXPECT_EQ(FForm.Timer1().Interval(), 1000);
}

TEST_F(MainWindowTest, TabOrderRunsThroughTheOptionStripAndThePane) {
  const QList<QWidget*> order = {
      Control<QCheckBox>(&FForm, "Check1"),    Control<TdxButton>(&FForm, "dxButton1"),
      Control<TRichEditPane>(&FForm, "Edit1"), Control<QCheckBox>(&FForm, "CheckBox1"),
      Control<QLineEdit>(&FForm, "Edit2"),     Control<QPushButton>(&FForm, "Button1"),
      Control<QCheckBox>(&FForm, "CheckBox2"), Control<QCheckBox>(&FForm, "check3")};
  QList<QWidget*> chain;
  QWidget* widget = order.front();
  do {
    if (order.contains(widget)) chain << widget;
    widget = widget->nextInFocusChain();
  } while (widget != order.front());
  EXPECT_EQ(chain, order);
}

}  // namespace
