// The styled push button: its looks pixel by pixel, its mouse and keyboard rules, glyphs,
// captions and the linked action.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include "tests/widgets/WidgetProbe.h"
#include "widgets/ImageList.h"
#include "widgets/dxButton.h"

namespace {

const QColor White(255, 255, 255), Beige(239, 235, 231);
const QColor PressedTop(214, 207, 198), PressedBottom(247, 243, 235);
const QColor HotTop(255, 243, 206), HotBottom(231, 150, 0);
const QColor FocusTop(206, 231, 255), FocusBottom(109, 132, 239);
const QRgb BorderColour = qRgb(0, 60, 115), CornerColour = qRgb(123, 150, 173);

// A glyph of one colour whose bottom-left pixel is the magenta left out when it is drawn.
QImage SolidGlyph(QColor colour, int size = 8) {
  QImage glyph(size, size, QImage::Format_RGB32);
  glyph.fill(colour);
  glyph.setPixel(0, size - 1, qRgb(255, 0, 255));
  return glyph;
}

class ButtonTest : public testing::Test {
protected:
  void SetUp() override {
    FButton.move(10, 10);
    FSecond.move(100, 10);
    FEdit.setGeometry(10, 100, 120, 22);
    FForm.ShowActive();
    FEdit.setFocus();
  }
  void AwayFromButtons() {
    QCursor::setPos(FForm.mapToGlobal(QPoint(400, 190)));
    QTest::mouseMove(&FForm, QPoint(400, 190));
  }
  QImage Look() { return Grab(&FButton); }
  // The caption's ink inside the focus rectangle.
  QRect CaptionInk(const QImage& look) {
    return InkBounds(look, QRect(4, 4, look.width() - 8, look.height() - 8), IsDark);
  }
  QRect Ink(const QImage& look, QRgb colour) {
    return InkBounds(look, look.rect(), [colour](QRgb p) { return p == colour; });
  }

  TTestForm FForm;
  TdxButton FButton{&FForm};
  TdxButton FSecond{&FForm};
  QLineEdit FEdit{&FForm};
};

TEST_F(ButtonTest, ConstructionGivesTheDefaults) {
  TdxButton button;
  EXPECT_EQ(button.size(), QSize(73, 25));
  EXPECT_EQ(button.focusPolicy(), Qt::TabFocus);
  EXPECT_TRUE(button.AutoGray());
  EXPECT_FALSE(button.Cancel());
  EXPECT_FALSE(button.Default());
  EXPECT_TRUE(button.Glyph().isNull());
  EXPECT_EQ(button.Layout(), blGlyphLeft);
  EXPECT_EQ(button.Quality(), bqMiddle);
  EXPECT_TRUE(button.ShowAccelChar());
  EXPECT_TRUE(button.ShowFocusRect());
  EXPECT_EQ(button.Spacing(), 3);
  EXPECT_EQ(button.ModalResult(), 0);
  EXPECT_EQ(button.Action(), nullptr);
  EXPECT_EQ(button.Version(), "1.0.2c");
  EXPECT_EQ(TProbeControl().Version(), "");
  // About and Version are read-only.
  const QString about = button.About();
  EXPECT_FALSE(about.isEmpty());
  EXPECT_FALSE(button.setProperty("About", "x"));
  EXPECT_FALSE(button.setProperty("Version", "x"));
  EXPECT_EQ(button.property("About").toString(), about);
  EXPECT_EQ(button.property("Version").toString(), "1.0.2c");
}

TEST_F(ButtonTest, AnIdleButtonHasItsBorderCornersAndSixteenBandsOverTwentyThreeRows) {
  const QImage look = Look();
  ASSERT_EQ(look.size(), QSize(73, 25));
  const QRgb outside = FForm.palette().color(QPalette::Window).rgb();
  struct TPixel {
    int X, Y;
    QRgb Colour;
  } pixels[] = {
      {0, 0, outside},       {72, 0, outside},       {0, 24, outside},       {72, 24, outside},
      {0, 1, CornerColour},  {1, 0, CornerColour},   {71, 0, CornerColour},  {72, 1, CornerColour},
      {0, 23, CornerColour}, {1, 24, CornerColour},  {71, 24, CornerColour}, {72, 23, CornerColour},
      {1, 1, BorderColour},  {71, 1, BorderColour},  {1, 23, BorderColour},  {71, 23, BorderColour},
      {2, 0, BorderColour},  {70, 0, BorderColour},  {36, 24, BorderColour}, {0, 2, BorderColour},
      {0, 22, BorderColour}, {72, 12, BorderColour}, {2, 1, White.rgb()},    {70, 23, Beige.rgb()},
  };
  for (const TPixel& p : pixels) EXPECT_EQ(look.pixel(p.X, p.Y), p.Colour) << p.X << "," << p.Y;
  // The face: rows 1 to 23, band i starting at row 1 + MulDiv(i, 23, 16).
  for (int i = 0; i < 16; ++i)
    for (int y = 1 + MulDiv(i, 23, 16); y < 1 + MulDiv(i + 1, 23, 16); ++y)
      for (int x = 2; x <= 70; x += 17)
        EXPECT_EQ(look.pixel(x, y), GradientEntry(White, Beige, i, 16)) << x << "," << y;
}

TEST_F(ButtonTest, EachInteractionHasItsRingFaceAndCaptionPlace) {
  FButton.SetCaption("OK");
  FButton.SetShowFocusRect(false);
  QSignalSpy clicks(&FButton, &TdxButton::Clicked);
  const QImage idle = Look();
  const QRect caption = CaptionInk(idle);
  ASSERT_FALSE(caption.isEmpty());

  struct TLook {
    const char* Situation;
    std::function<void()> Bring;
    QColor RingTop, RingBottom;  // invalid: no ring
    bool Pressed;
  } looks[] = {
      {"mouse over", [&] { QTest::mouseMove(&FButton, QPoint(30, 12)); }, HotTop, HotBottom, false},
      {"pressed under the mouse",
       [&] { QTest::mousePress(&FButton, Qt::LeftButton, {}, QPoint(30, 12)); },
       {},
       {},
       true},
      {"pressed, dragged out", [&] { QTest::mouseMove(&FButton, QPoint(200, 60)); }, FocusTop, FocusBottom,
       false},
      {"released outside, focused",
       [&] { QTest::mouseRelease(&FButton, Qt::LeftButton, {}, QPoint(200, 60)); }, FocusTop, FocusBottom,
       false},
  };
  for (const TLook& l : looks) {
    l.Bring();
    const QImage look = Look();
    const int shift = l.Pressed ? 1 : 0;
    EXPECT_EQ(CaptionInk(look), caption.translated(shift, shift)) << l.Situation;
    EXPECT_EQ(look.pixel(36, 0), BorderColour) << l.Situation;
    if (l.Pressed) {
      for (const int y : {1, 2, 12, 23})
        EXPECT_EQ(look.pixel(3, y), BandColour(PressedTop, PressedBottom, 16, 23, y - 1))
            << l.Situation << " " << y;
      continue;
    }
    // A ring two pixels wide, then the face from (3, 3).
    for (const int y : {3, 12, 21}) {
      EXPECT_EQ(look.pixel(1, y), BandColour(l.RingTop, l.RingBottom, 16, 23, y - 1))
          << l.Situation << " " << y;
      EXPECT_EQ(look.pixel(2, y), BandColour(l.RingTop, l.RingBottom, 16, 23, y - 1))
          << l.Situation << " " << y;
      EXPECT_EQ(look.pixel(3, y), BandColour(White, Beige, 16, 23, y - 3)) << l.Situation << " " << y;
    }
    EXPECT_EQ(look.pixel(36, 1), BandColour(l.RingTop, l.RingBottom, 16, 23, 0)) << l.Situation;
  }
  EXPECT_EQ(clicks.count(), 0);  // released outside
  QTest::mouseClick(&FButton, Qt::LeftButton, {}, QPoint(30, 12));
  EXPECT_EQ(clicks.count(), 1);
  // A double click as the window system gives it: one click, then a press that is a double
  // click, and its release, which is no click.
  const QPoint inForm = FButton.mapTo(&FForm, QPoint(30, 12));
  QTest::mouseDClick(FForm.windowHandle(), Qt::LeftButton, {}, inForm);
  QTest::mouseRelease(FForm.windowHandle(), Qt::LeftButton, {}, inForm);
  EXPECT_EQ(clicks.count(), 2);
  // Moving away from a focused button leaves the blue ring.
  AwayFromButtons();
  EXPECT_EQ(Look().pixel(1, 12), BandColour(FocusTop, FocusBottom, 16, 23, 11));
}

TEST_F(ButtonTest, SpacePressesWhereverTheMouseIsAndItsReleaseClicksOnce) {
  QSignalSpy clicks(&FButton, &TdxButton::Clicked);
  FButton.setFocus();
  for (const bool mouseInside : {false, true}) {
    if (mouseInside) QCursor::setPos(FButton.mapToGlobal(QPoint(20, 10)));
    QTest::keyPress(&FButton, Qt::Key_Space);
    EXPECT_TRUE(FButton.Interaction().testFlag(isPressed));
    EXPECT_EQ(Look().pixel(3, 2), BandColour(PressedTop, PressedBottom, 16, 23, 1));
    QTest::keyRelease(&FButton, Qt::Key_Space);
    EXPECT_FALSE(FButton.Interaction().testFlag(isPressed));
    EXPECT_EQ(FButton.Interaction().testFlag(isMouseInside), mouseInside);
  }
  EXPECT_EQ(clicks.count(), 2);
  // Space with a modifier does nothing; a repeating key's releases end nothing.
  QTest::keyClick(&FButton, Qt::Key_Space, Qt::ShiftModifier);
  EXPECT_EQ(clicks.count(), 2);
  QTest::keyPress(&FButton, Qt::Key_Space);
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
  QApplication::sendEvent(&FButton, &repeat);
  EXPECT_TRUE(FButton.Interaction().testFlag(isPressed));
  QTest::keyRelease(&FButton, Qt::Key_Space);
  EXPECT_EQ(clicks.count(), 3);
}

TEST_F(ButtonTest, EnterClicksTheDefaultButtonOnlyWhileNoStyledControlIsActive) {
  QSignalSpy defaultClicks(&FButton, &TdxButton::Clicked), secondClicks(&FSecond, &TdxButton::Clicked);
  FButton.SetDefault(true);
  EXPECT_EQ(Look().pixel(1, 12), BandColour(FocusTop, FocusBottom, 16, 23, 11));
  QWindow* window = FForm.windowHandle();
  QTest::keyClick(window, Qt::Key_Return);
  EXPECT_EQ(defaultClicks.count(), 1);
  QTest::keyClick(window, Qt::Key_Enter, Qt::ControlModifier);  // modifiers are not looked at
  EXPECT_EQ(defaultClicks.count(), 2);

  FSecond.setFocus();
  EXPECT_EQ(Look().pixel(1, 12), BandColour(White, Beige, 16, 23, 11));  // no ring
  QTest::keyClick(window, Qt::Key_Return);
  EXPECT_EQ(defaultClicks.count(), 2);
  EXPECT_EQ(secondClicks.count(), 1);

  // A control that uses Enter keeps it, and a disabled default button takes none.
  QPlainTextEdit text(&FForm);
  text.setGeometry(10, 130, 120, 50);
  text.show();
  text.setFocus();
  QTest::keyClick(window, Qt::Key_Return);
  EXPECT_EQ(text.toPlainText(), "\n");
  EXPECT_EQ(defaultClicks.count(), 2);
  FEdit.setFocus();
  FButton.setEnabled(false);
  QTest::keyClick(window, Qt::Key_Return);
  EXPECT_EQ(defaultClicks.count(), 2);
}

TEST_F(ButtonTest, EscapeClicksTheCancelButtonWithoutShiftCtrlOrAlt) {
  QSignalSpy clicks(&FSecond, &TdxButton::Clicked);
  QSignalSpy rejected(&FForm, &QDialog::rejected);
  FSecond.SetCancel(true);
  QWindow* window = FForm.windowHandle();
  for (const Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
    QTest::keyClick(window, Qt::Key_Escape, modifier);
  EXPECT_EQ(clicks.count(), 0);
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(rejected.count(), 0);  // the button took the key from the dialog
  EXPECT_TRUE(FForm.isVisible());
}

TEST_F(ButtonTest, HighQualityHasThirtyTwoDitheredBandsRepeatingEvery16Pixels) {
  FButton.resize(400, 70);
  FButton.SetQuality(bqHigh);
  const QImage look = Look();
  QImage face;
  BuildGradientImage(398, 68, White, Beige, 32, gdTopToBottom, true, face);
  for (int y = 2; y < 68; y += 3)
    for (int x = 2; x < 398; ++x) ASSERT_EQ(look.pixel(x, y), face.pixel(x - 1, y - 1)) << x << "," << y;
  bool scattered = false;
  for (int y = 2; y < 68; ++y)
    for (int x = 2; x < 398; ++x) {
      const int repeat = 1 + (x - 1) % 16;
      ASSERT_EQ(look.pixel(x, y), look.pixel(repeat, y)) << x << "," << y;
      scattered = scattered || look.pixel(x, y) != look.pixel(x + 1, y);
    }
  EXPECT_TRUE(scattered);
  // Back to the middle quality: sixteen plain bands again, rebuilt at once.
  FButton.SetQuality(bqMiddle);
  EXPECT_EQ(Look().pixel(200, 40), BandColour(White, Beige, 16, 68, 39));
}

TEST_F(ButtonTest, ADisabledButtonGreysItsGlyphWithAutoGrayAndEmbossesItsCaption) {
  QPalette palette = FForm.palette();
  palette.setColor(QPalette::Active, QPalette::Light, QColor(0, 128, 0));
  palette.setColor(QPalette::Active, QPalette::Dark, QColor(128, 0, 0));
  FForm.setPalette(palette);
  QImage glyph(6, 6, QImage::Format_RGB32);
  const QRgb rows[] = {qRgb(255, 0, 0),  qRgb(0, 200, 0),   qRgb(0, 0, 255),
                       qRgb(10, 20, 30), qRgb(255, 0, 255), qRgb(255, 0, 255)};
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) glyph.setPixel(x, y, rows[y]);
  FButton.SetGlyph(glyph);
  FButton.SetCaption("OK");
  FButton.setEnabled(false);
  struct TCase {
    bool AutoGray;
    QRgb Rows[4];
  } cases[] = {{true, {qRgb(138, 138, 138), qRgb(129, 129, 129), qRgb(138, 138, 138), qRgb(106, 106, 106)}},
               {false, {rows[0], rows[1], rows[2], rows[3]}}};
  for (const TCase& c : cases) {
    FButton.SetAutoGray(c.AutoGray);
    const QImage look = Look();
    const QRect first = Ink(look, c.Rows[0]);
    ASSERT_EQ(first.size(), c.AutoGray ? QSize(6, 3) : QSize(6, 1)) << c.AutoGray;  // grey rows 0 and 2 match
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x)
        EXPECT_EQ(look.pixel(first.x() + x, first.y() + y), c.Rows[y]) << c.AutoGray;
    // The magenta rows are left out: the face shows through.
    const int below = first.y() + 4;
    EXPECT_EQ(look.pixel(first.x(), below), BandColour(White, Beige, 16, 23, below - 1)) << c.AutoGray;
    // The caption: the shadow colour with the highlight one pixel right of and below it, no black.
    const QRect shadow = Ink(look, qRgb(128, 0, 0));
    const QRect light = Ink(look, qRgb(0, 128, 0));
    EXPECT_GT(shadow.left(), first.right()) << c.AutoGray;
    EXPECT_EQ(light.bottomRight(), shadow.bottomRight() + QPoint(1, 1)) << c.AutoGray;
    EXPECT_TRUE(Ink(look, qRgb(0, 0, 0)).isEmpty()) << c.AutoGray;
  }
}

TEST_F(ButtonTest, GlyphAndCaptionAreOneCentredBlockInEveryLayout) {
  FButton.resize(120, 70);
  FButton.SetCaption("OK");
  FButton.SetShowFocusRect(false);
  const QImage plain = Look();
  for (const TdxLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
    FButton.SetLayout(layout);
    EXPECT_EQ(Look(), plain) << layout;  // without a glyph the layout changes nothing
  }
  FButton.SetGlyph(SolidGlyph(QColor(0, 0, 255)));
  struct TCase {
    TdxLayout Layout;
    std::function<bool(const QRect& glyph, const QRect& caption)> Placed;
  } cases[] = {
      {blGlyphLeft, [](const QRect& g, const QRect& c) { return g.right() + 3 < c.left() && g.top() == 31; }},
      {blGlyphRight,
       [](const QRect& g, const QRect& c) { return g.left() > c.right() + 3 && g.top() == 31; }},
      {blGlyphTop, [](const QRect& g, const QRect& c) { return g.bottom() + 3 < c.top() && g.left() == 56; }},
      {blGlyphBottom,
       [](const QRect& g, const QRect& c) { return g.top() > c.bottom() + 3 && g.left() == 56; }},
  };
  for (const TCase& c : cases) {
    FButton.SetLayout(c.Layout);
    const QImage look = Look();
    const QRect glyph = Ink(look, qRgb(0, 0, 255));
    const QRect caption = CaptionInk(look);
    EXPECT_EQ(glyph.size(), QSize(8, 8)) << c.Layout;
    EXPECT_TRUE(c.Placed(glyph, caption)) << c.Layout;
    const QRect block = glyph | caption;
    EXPECT_LE(std::abs(block.left() - (119 - block.right())), 3) << c.Layout;
    EXPECT_LE(std::abs(block.top() - (69 - block.bottom())), 4) << c.Layout;
  }
  // Pressed, glyph and caption move together by one pixel.
  FButton.SetLayout(blGlyphLeft);
  const QImage idle = Look();
  QTest::mouseMove(&FButton, QPoint(5, 5));
  QTest::mousePress(&FButton, Qt::LeftButton, {}, QPoint(5, 5));
  const QImage pressed = Look();
  EXPECT_EQ(Ink(pressed, qRgb(0, 0, 255)), Ink(idle, qRgb(0, 0, 255)).translated(1, 1));
  EXPECT_EQ(CaptionInk(pressed), CaptionInk(idle).translated(1, 1));
  QTest::mouseRelease(&FButton, Qt::LeftButton, {}, QPoint(5, 5));
}

// A word wider than the face is cut with an ellipsis inside it: the border, the ring and the
// corners are the pixels of a button without a caption, and the caption's ink stays within
// the face.
TEST_F(ButtonTest, AWordWiderThanTheFaceEndsInAnEllipsisInsideTheBorder) {
  FButton.resize(60, 25);
  FButton.SetShowFocusRect(false);
  FButton.SetCaption(QString());
  const QImage empty = Look();
  FButton.SetCaption("Supercalifragilistic");
  const QImage look = Look();
  for (int y = 0; y < look.height(); ++y)
    for (const int x : {0, 1, 2, look.width() - 3, look.width() - 2, look.width() - 1})
      ASSERT_EQ(look.pixel(x, y), empty.pixel(x, y)) << x << "," << y;
  const QRect ink = CaptionInk(look);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.left(), 3);
  EXPECT_LE(ink.right(), look.width() - 4);
  FButton.resize(400, 25);
  EXPECT_GT(CaptionInk(Look()).width(), ink.width());  // with room the word is whole
}

TEST_F(ButtonTest, ALongCaptionWrapsIntoLeftAlignedLinesCentredAsABlock) {
  FButton.resize(73, 60);
  FButton.SetShowFocusRect(false);
  FButton.SetCaption("IIII MMMMMMM");
  const QImage look = Look();
  const QRect block = CaptionInk(look);
  const int middle = block.center().y();
  const QRect first = InkBounds(look, QRect(4, block.top(), 65, middle - block.top()), IsDark);
  const QRect second = InkBounds(look, QRect(4, middle, 65, block.bottom() - middle + 1), IsDark);
  ASSERT_FALSE(first.isEmpty());
  ASSERT_FALSE(second.isEmpty());
  EXPECT_LT(first.width(), second.width() / 2);
  EXPECT_LE(std::abs(first.left() - second.left()), 2);
  EXPECT_LE(std::abs(block.left() - (72 - block.right())), 3);

  // With ShowAccelChar off an "&" is a character like any other.
  FButton.resize(73, 25);
  FButton.SetCaption("A&&B");
  const QImage escaped = Look();
  FButton.SetShowAccelChar(false);
  FButton.SetCaption("A&B");
  EXPECT_EQ(Look(), escaped);
}

TEST_F(ButtonTest, ALinkedActionGivesCaptionEnabledStateClickAndItsListsImage) {
  TImageList images(&FForm);
  images.Add(SolidGlyph(QColor(255, 0, 0)));
  images.Add(SolidGlyph(QColor(0, 200, 0)));
  QAction* action = new QAction("&Go", &FForm);
  action->setProperty("imageIndex", 1);
  FButton.SetGlyph(SolidGlyph(QColor(0, 0, 255)));
  FButton.SetAction(action);
  EXPECT_EQ(FButton.Caption(), "&Go");
  auto shows = [&](QRgb colour) { return Ink(Look(), colour).size() == QSize(8, 8); };
  EXPECT_TRUE(shows(qRgb(0, 200, 0)));

  QSignalSpy triggered(action, &QAction::triggered);
  FButton.Click();
  EXPECT_EQ(triggered.count(), 1);
  action->setText("Run");
  action->setEnabled(false);
  EXPECT_EQ(FButton.Caption(), "Run");
  EXPECT_FALSE(FButton.isEnabled());
  action->setEnabled(true);

  // An index outside the list falls back to Glyph; the list's changes are followed.
  action->setProperty("imageIndex", 5);
  EXPECT_TRUE(shows(qRgb(0, 0, 255)));
  action->setProperty("imageIndex", 0);
  EXPECT_TRUE(shows(qRgb(255, 0, 0)));
  images.Clear();
  EXPECT_TRUE(shows(qRgb(0, 0, 255)));
  images.Add(SolidGlyph(QColor(0, 200, 0)));
  EXPECT_TRUE(shows(qRgb(0, 200, 0)));

  // The action's end unlinks it; the button stays, with its own glyph.
  delete action;
  EXPECT_EQ(FButton.Action(), nullptr);
  EXPECT_TRUE(shows(qRgb(0, 0, 255)));
  QSignalSpy clicks(&FButton, &TdxButton::Clicked);
  FButton.Click();
  EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
