// The styled control base: interaction state from the mouse and the focus, one focus look for
// all styled controls of a window, the dialog result of a click, accelerators and captions.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "tests/widgets/WidgetProbe.h"
#include "widgets/dxButton.h"

namespace {

class CustomControlTest : public testing::Test {
protected:
  void SetUp() override {
    FControl.setGeometry(10, 10, 80, 25);
    FOther.setGeometry(100, 10, 80, 25);
    FEdit.setGeometry(10, 100, 120, 22);
    FForm.ShowActive();
    FEdit.setFocus();
  }
  void AwayFromControls() { QTest::mouseMove(&FForm, QPoint(300, 180)); }

  TTestForm FForm;
  TProbeControl FControl{&FForm};
  TdxButton FOther{&FForm};
  QLineEdit FEdit{&FForm};
};

TEST_F(CustomControlTest, EnteringAndLeavingRaiseOneEventEachAndRepaint) {
  AwayFromControls();
  QSignalSpy enter(&FControl, &TdxCustomControl::MouseEnter), leave(&FControl, &TdxCustomControl::MouseLeave);
  QApplication::processEvents();
  const int paints = FControl.Paints;
  QTest::mouseMove(&FControl, QPoint(5, 5));
  QTest::mouseMove(&FControl, QPoint(40, 12));
  EXPECT_EQ(enter.count(), 1);
  EXPECT_EQ(FControl.Interaction(), TdxInteraction(isMouseInside));
  EXPECT_TRUE(QTest::qWaitFor([&] { return FControl.Paints > paints; }));
  const int entered = FControl.Paints;
  AwayFromControls();
  EXPECT_EQ(leave.count(), 1);
  EXPECT_EQ(FControl.Interaction(), TdxInteraction());
  EXPECT_TRUE(QTest::qWaitFor([&] { return FControl.Paints > entered; }));
  EXPECT_EQ(enter.count(), 1);
}

TEST_F(CustomControlTest, OnlyTheLeftButtonFocusesAndPressesAndAnyReleaseEndsThePress) {
  QTest::mousePress(&FControl, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_FALSE(FControl.hasFocus());
  EXPECT_FALSE(FControl.Interaction().testFlag(isPressed));
  QTest::mouseRelease(&FControl, Qt::RightButton, {}, QPoint(5, 5));

  QTest::mousePress(&FControl, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(FControl.hasFocus());
  EXPECT_TRUE(FControl.Interaction().testFlag(isPressed));
  EXPECT_TRUE(FControl.Interaction().testFlag(isFocused));
  QTest::mouseRelease(&FControl, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_FALSE(FControl.Interaction().testFlag(isPressed));
  QTest::mouseRelease(&FControl, Qt::LeftButton, {}, QPoint(5, 5));

  // The focus leaving a pressed control takes the press with it.
  QTest::mousePress(&FControl, Qt::LeftButton, {}, QPoint(5, 5));
  FEdit.setFocus();
  EXPECT_FALSE(FControl.Interaction().testFlag(isPressed));
  EXPECT_FALSE(FControl.Interaction().testFlag(isFocused));
  QTest::mouseRelease(&FControl, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(CustomControlTest, AllStyledControlsOfTheWindowAgreeOnWhetherOneIsActive) {
  EXPECT_FALSE(FControl.StyledControlActive());
  EXPECT_FALSE(FOther.StyledControlActive());
  FOther.setFocus();
  EXPECT_TRUE(FControl.StyledControlActive());
  EXPECT_TRUE(FOther.StyledControlActive());
  EXPECT_FALSE(FControl.Interaction().testFlag(isFocused));
  EXPECT_TRUE(FOther.Interaction().testFlag(isFocused));
  FControl.setFocus();
  EXPECT_TRUE(FControl.StyledControlActive());
  EXPECT_TRUE(FOther.StyledControlActive());
  FEdit.setFocus();
  EXPECT_FALSE(FControl.StyledControlActive());
  EXPECT_FALSE(FOther.StyledControlActive());
  // A styled control of another window is not told.
  TTestForm second;
  TProbeControl elsewhere(&second);
  second.ShowActive();
  elsewhere.setFocus();
  EXPECT_TRUE(elsewhere.StyledControlActive());
  EXPECT_FALSE(FControl.StyledControlActive());
}

TEST_F(CustomControlTest, AClickHandsModalResultToTheDialogAndANonZeroResultClosesIt) {
  FForm.hide();
  struct TCase {
    int ModalResult;
    bool Closes;
  } cases[] = {{0, false}, {7, true}};
  for (const TCase& c : cases) {
    QDialog dialog;
    TProbeControl control(&dialog);
    control.setGeometry(0, 0, 40, 20);
    control.SetModalResult(c.ModalResult);
    dialog.setResult(5);
    int resultAfterClick = -1;
    bool openAfterClick = false;
    QTimer::singleShot(0, &dialog, [&] {
      control.Click();
      resultAfterClick = dialog.result();
      openAfterClick = dialog.isVisible();
      if (openAfterClick) dialog.done(3);
    });
    const int returned = dialog.exec();
    EXPECT_EQ(openAfterClick, !c.Closes) << c.ModalResult;
    EXPECT_EQ(resultAfterClick, c.ModalResult);
    EXPECT_EQ(returned, c.Closes ? c.ModalResult : 3);
  }
}

TEST_F(CustomControlTest, TheAcceleratorIsTheCharacterAfterTheLastSingleAmpersand) {
  struct TCase {
    const char* Caption;
    QChar Accelerator;
  } cases[] = {{"&Yes", u'Y'},  {"a&b&c", u'c'}, {"a&&b", QChar()}, {"&&&x", u'x'},
               {"x&", QChar()}, {"&", QChar()},  {"", QChar()},     {"No", QChar()}};
  for (const TCase& c : cases)
    EXPECT_EQ(AcceleratorOf(QString::fromUtf8(c.Caption)), c.Accelerator) << c.Caption;
}

TEST_F(CustomControlTest, AltAndTheAcceleratorClicksFromAnywhereAndALetterOnlyTheFocusedControl) {
  FControl.SetCaption("&Yes");
  FOther.SetCaption("Yonder &y");
  QSignalSpy control(&FControl, &TdxCustomControl::Clicked), other(&FOther, &TdxCustomControl::Clicked);
  QWindow* window = FForm.windowHandle();

  QTest::keyClick(window, Qt::Key_Y);
  EXPECT_EQ(FEdit.text(), "y");  // the edit field uses a bare letter
  EXPECT_EQ(control.count(), 0);

  // With Alt the character goes on to every styled control: both click.
  QTest::keyClick(window, Qt::Key_Y, Qt::AltModifier);
  EXPECT_EQ(control.count(), 1);
  EXPECT_EQ(other.count(), 1);

  FControl.setFocus();
  QTest::keyClick(window, Qt::Key_Y);
  EXPECT_EQ(control.count(), 2);
  EXPECT_EQ(other.count(), 1);
  QTest::keyClick(window, Qt::Key_N);
  EXPECT_EQ(control.count(), 2);

  // A hidden or disabled control cannot take the focus and is not clicked.
  FOther.setEnabled(false);
  QTest::keyClick(window, Qt::Key_Y, Qt::AltModifier);
  EXPECT_EQ(control.count(), 3);
  EXPECT_EQ(other.count(), 1);
}

class CaptionTextTest : public CustomControlTest {
protected:
  // The caption drawn by the control into a white image of the given size.
  QImage Draw(const QString& text, bool enabled, bool showAccelChar, QSize size = {120, 20},
              TdxTextFlags flags = {}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    QRect rect(QPoint(0, 0), size);
    FControl.DrawCaptionText(canvas, text, CrispFont(), enabled, showAccelChar, rect, flags);
    return image;
  }
  QRect Measure(const QString& text, bool showAccelChar = true) {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter canvas(&image);
    QRect rect(5, 7, 200, 0);
    FControl.DrawCaptionText(canvas, text, CrispFont(), true, showAccelChar, rect, dtWordBreak | dtCalcRect);
    return rect;
  }
};

TEST_F(CaptionTextTest, MeasuringKeepsTheTopLeftAndAnEmptyCaptionIsOneLineHigh) {
  const QRect line = Measure("X");
  EXPECT_EQ(line.topLeft(), QPoint(5, 7));
  EXPECT_GE(line.height(), QFontMetrics(CrispFont()).height());
  EXPECT_EQ(Measure("").height(), line.height());
  EXPECT_GT(Measure("").width(), 0);
  EXPECT_EQ(Measure("&").height(), line.height());
  // A caption wider than the rectangle wraps at word boundaries.
  const QRect wrapped = Measure(QString("word ").repeated(30).trimmed());
  EXPECT_EQ(wrapped.height(), line.height() * (wrapped.height() / line.height()));
  EXPECT_GT(wrapped.height(), line.height());
  EXPECT_LE(wrapped.width(), 200);
}

TEST_F(CaptionTextTest, WithoutAccelCharTheAmpersandIsShownAndNothingIsUnderlined) {
  EXPECT_EQ(Draw("A&B", true, false), Draw("A&&B", true, true));
  EXPECT_NE(Draw("A&B", true, false), Draw("A&B", true, true));
  // With it "&&" is one "&", and a marked letter is underlined: more ink than the plain letters.
  EXPECT_EQ(Draw("A&&B", true, true), Draw("A&B", true, false));
  const QImage marked = Draw("&AB", true, true), plain = Draw("AB", true, true);
  int markedInk = 0, plainInk = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 120; ++x) {
      markedInk += IsDark(marked.pixel(x, y));
      plainInk += IsDark(plain.pixel(x, y));
    }
  EXPECT_GT(markedInk, plainInk);
}

TEST_F(CaptionTextTest, ADisabledCaptionIsEmbossedInTheHighlightAndShadowColours) {
  QPalette palette = FControl.palette();
  palette.setColor(QPalette::Active, QPalette::Light, QColor(0, 255, 0));
  palette.setColor(QPalette::Active, QPalette::Dark, QColor(255, 0, 0));
  FControl.setPalette(palette);
  const QImage image = Draw("Hello", false, true);
  const QRgb light = qRgb(0, 255, 0), dark = qRgb(255, 0, 0);
  int lightPixels = 0, darkPixels = 0;
  for (int y = 0; y + 1 < 20; ++y)
    for (int x = 0; x + 1 < 120; ++x) {
      lightPixels += image.pixel(x, y) == light;
      if (image.pixel(x, y) != dark) continue;
      ++darkPixels;
      const QRgb below = image.pixel(x + 1, y + 1);
      EXPECT_TRUE(below == dark || below == light) << x << "," << y;
    }
  EXPECT_GT(darkPixels, 10);
  EXPECT_GT(lightPixels, 0);
  EXPECT_EQ(InkBounds(image, image.rect(), [](QRgb p) { return p == qRgb(0, 0, 0); }), QRect());
}

TEST_F(CaptionTextTest, RightToLeftMirrorsTheAlignment) {
  const QRect wide(0, 0, 120, 20);
  const QRect ltr = InkBounds(Draw("Hi", true, true), wide, IsDark);
  FControl.setLayoutDirection(Qt::RightToLeft);
  const QRect rtl = InkBounds(Draw("Hi", true, true), wide, IsDark);
  const QRect rtlRight = InkBounds(Draw("Hi", true, true, {120, 20}, dtRight), wide, IsDark);
  EXPECT_LT(ltr.left(), 5);
  EXPECT_GT(rtl.right(), 114);
  EXPECT_LT(rtlRight.left(), 5);
}

}  // namespace
