#include <gtest/gtest.h>

#include <QMessageBox>

#include "services/ErrorBox.h"
#include "services/VornError.h"
#include "tests/support/TestSupport.h"

namespace {

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

// An HTML editor's user sees exactly what was typed, tags and all.
TEST(ErrorBox, AMessageIsPlainText) {
  Qt::TextFormat format = Qt::AutoText;
  QString shown;
  WhenModalOpens([&](QWidget* modal) {
    auto* box = static_cast<QMessageBox*>(modal);
    format = box->textFormat();
    shown = box->text();
    box->accept();
  });
  ShowErrorBox("'<b>abc' is not a valid integer value");
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(shown, "'<b>abc' is not a valid integer value.");
}

}  // namespace
