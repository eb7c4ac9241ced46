// The drawing routines of the styled controls: exact pixels of bands, dithering, segments and
// the focus rectangle.
#include <gtest/gtest.h>

#include <QPainter>
#include <climits>

#include "tests/widgets/WidgetProbe.h"
#include "widgets/dxCore.h"

namespace {

QImage Gradient(int width, int height, QColor start, QColor end, int steps, TdxGradientDirection direction,
                bool dithered) {
  QImage image;
  BuildGradientImage(width, height, start, end, std::uint8_t(steps), direction, dithered, image);
  return image;
}

TEST(DrawingTest, MulDivRoundsHalvesAwayFromZeroWithoutOverflow) {
  struct TCase {
    int A, B, C, Result;
  } cases[] = {{1, 23, 16, 1},
               {2, 23, 16, 3},
               {3, 1, 2, 2},
               {-3, 1, 2, -2},
               {1, -1, 2, -1},
               {5, 23, 16, 7},
               {16, 23, 16, 23},
               {7, 5, 0, -1},
               {1, 1, -2, -1},
               {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
               {INT_MAX, 2, 4, INT_MAX / 2 + 1}};
  for (const TCase& c : cases) EXPECT_EQ(MulDiv(c.A, c.B, c.C), c.Result) << c.A << " " << c.B << " " << c.C;
}

TEST(DrawingTest, SixteenBandsOverTwentyThreeRowsStartWhereMulDivPutsThem) {
  const QColor white(255, 255, 255), beige(239, 235, 231);
  const QImage image = Gradient(5, 23, white, beige, 16, gdTopToBottom, false);
  ASSERT_EQ(image.size(), QSize(5, 23));
  for (int i = 0; i < 16; ++i)
    for (int y = MulDiv(i, 23, 16); y < MulDiv(i + 1, 23, 16); ++y)
      for (int x = 0; x < 5; ++x)
        ASSERT_EQ(image.pixel(x, y), GradientEntry(white, beige, i, 16)) << i << " " << x << "," << y;
  EXPECT_EQ(image.pixel(0, 0), white.rgb());
  EXPECT_EQ(image.pixel(0, 22), beige.rgb());
}

TEST(DrawingTest, ColourTableRoundsHalvesToEvenAndFollowsTheDirection) {
  // Steps of 0.5, 1.5 and 2.5: the middle entry is (0, 2, 2).
  const QColor black(0, 0, 0), end(1, 3, 5);
  const QImage across = Gradient(3, 2, black, end, 3, gdLeftToRight, false);
  EXPECT_EQ(across.pixel(0, 1), qRgb(0, 0, 0));
  EXPECT_EQ(across.pixel(1, 1), qRgb(0, 2, 2));
  EXPECT_EQ(across.pixel(2, 1), qRgb(1, 3, 5));
  // The other two directions start from the end colour.
  const QImage back = Gradient(3, 2, black, end, 3, gdRightToLeft, false);
  EXPECT_EQ(back.pixel(0, 0), qRgb(1, 3, 5));
  EXPECT_EQ(back.pixel(2, 0), qRgb(0, 0, 0));
  // Steps of -0.5, -1.5 and -2.5 from the end colour: the middle entry is (1, 1, 3).
  const QImage up = Gradient(2, 3, black, end, 3, gdBottomToTop, false);
  EXPECT_EQ(up.pixel(1, 0), qRgb(1, 3, 5));
  EXPECT_EQ(up.pixel(1, 1), qRgb(1, 1, 3));
  // Fewer than two steps make no gradient: the start colour alone.
  EXPECT_EQ(Gradient(4, 4, black, end, 1, gdTopToBottom, false).pixel(3, 3), qRgb(0, 0, 0));
  EXPECT_TRUE(Gradient(0, 4, black, end, 16, gdTopToBottom, false).isNull());
}

// Every dithered pixel holds the previous band's colour, at most Length div (Steps - 1) into
// its band, and the pattern repeats every 16 pixels across the bands.
void ExpectDithering(TdxGradientDirection direction, int width, int height, int steps) {
  const QColor start(20, 40, 60), end(220, 200, 180);
  const QImage plain = Gradient(width, height, start, end, steps, direction, false);
  const QImage dithered = Gradient(width, height, start, end, steps, direction, true);
  const bool horizontal = direction == gdLeftToRight;
  const int length = horizontal ? width : height;
  const int reach = length / (steps - 1);
  int scattered = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int along = horizontal ? x : y;
      const int across = horizontal ? y : x;
      const QPoint tile = horizontal ? QPoint(x, across % 16) : QPoint(across % 16, y);
      ASSERT_EQ(dithered.pixel(x, y), dithered.pixel(tile)) << x << "," << y;
      if (dithered.pixel(x, y) == plain.pixel(x, y)) continue;
      ++scattered;
      int band = 0;
      while (MulDiv(band + 1, length, steps) <= along) ++band;
      ASSERT_GT(band, 0);
      EXPECT_EQ(dithered.pixel(x, y), GradientEntry(start, end, band - 1, steps)) << x << "," << y;
      EXPECT_LT(along - MulDiv(band, length, steps), reach) << x << "," << y;
    }
  EXPECT_GT(scattered, 0);
}

TEST(DrawingTest, DitheredEdgesScatterThePreviousBandAndRepeatEvery16Pixels) {
  ExpectDithering(gdTopToBottom, 71, 100, 8);
  ExpectDithering(gdLeftToRight, 100, 40, 8);
  // Thirty-two bands over 60 rows reach one row into each band: its first row is the previous
  // band's colour.
  const QImage narrow = Gradient(40, 60, Qt::white, Qt::black, 32, gdTopToBottom, true);
  for (int i = 1; i < 32; ++i) {
    const int y0 = MulDiv(i, 60, 32);
    if (MulDiv(i + 1, 60, 32) == y0) continue;  // an empty band
    EXPECT_EQ(narrow.pixel(7, y0), GradientEntry(Qt::white, Qt::black, i - 1, 32)) << i;
  }
}

TEST(DrawingTest, SegmentsLeaveOutTheirEndPoint) {
  struct TCase {
    QLine Segment;
    std::vector<QPoint> Pixels;
  } cases[] = {
      {QLine(0, 1, 2, 0), {{0, 1}, {1, 0}}},
      {QLine(0, 0, 4, 4), {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {QLine(3, 5, 3, 2), {{3, 5}, {3, 4}, {3, 3}}},
      {QLine(6, 6, 6, 6), {}},
  };
  for (const TCase& c : cases) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    canvas.setPen(Qt::black);
    DrawSegment(canvas, c.Segment.x1(), c.Segment.y1(), c.Segment.x2(), c.Segment.y2());
    canvas.end();
    int black = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) black += image.pixel(x, y) == qRgb(0, 0, 0);
    EXPECT_EQ(black, int(c.Pixels.size())) << c.Segment.x1() << "," << c.Segment.y1();
    for (const QPoint& p : c.Pixels) EXPECT_EQ(image.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
  }
}

TEST(DrawingTest, FocusRectangleInvertsEveryOtherOutlinePixelOnce) {
  QImage image(10, 8, QImage::Format_RGB32);
  image.fill(qRgb(255, 255, 255));
  QPainter canvas(&image);
  DrawFocusRect(canvas, 1, 1, 9, 7);
  canvas.end();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool outline = (x == 1 || x == 8 || y == 1 || y == 6) && x >= 1 && x <= 8 && y >= 1 && y <= 6;
      const QRgb expected = outline && (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
      EXPECT_EQ(image.pixel(x, y), expected) << x << "," << y;
    }
  // Drawn twice it is gone: inverting is its own undoing.
  canvas.begin(&image);
  DrawFocusRect(canvas, 1, 1, 9, 7);
  canvas.end();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
}

}  // namespace
