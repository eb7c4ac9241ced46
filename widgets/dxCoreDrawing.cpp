#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "widgets/dxCore.h"

namespace {

constexpr int TileSize = 16;  // dithering is drawn once and repeated at this spacing

// The image seen along a gradient: "along" crosses the bands, "across" runs within them.
class TBandPlane {
public:
  TBandPlane(QImage& image, bool horizontal) : FImage(image), FHorizontal(horizontal) {}

  int Along() const { return FHorizontal ? FImage.width() : FImage.height(); }
  int Across() const { return FHorizontal ? FImage.height() : FImage.width(); }

  void FillBand(int from, int to, QRgb colour) {
    const int top = FHorizontal ? 0 : from;
    const int bottom = FHorizontal ? FImage.height() : to;
    const int left = FHorizontal ? from : 0;
    const int right = FHorizontal ? to : FImage.width();
    for (int y = top; y < bottom; ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(FImage.scanLine(y));
      std::fill(line + left, line + right, colour);
    }
  }

  void SetPixel(int along, int across, QRgb colour) {
    if (along < 0 || along >= Along() || across < 0 || across >= Across()) return;
    const int x = FHorizontal ? along : across;
    const int y = FHorizontal ? across : along;
    reinterpret_cast<QRgb*>(FImage.scanLine(y))[x] = colour;
  }

  // Copies the first 16 lines across the bands over the rest of the image.
  void RepeatTile() {
    const int tile = std::min(TileSize, Across());
    if (FHorizontal) {
      const qsizetype bytes = FImage.bytesPerLine();
      for (int y = tile; y < FImage.height(); ++y)
        std::memcpy(FImage.scanLine(y), FImage.constScanLine(y % TileSize), bytes);
      return;
    }
    for (int y = 0; y < FImage.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(FImage.scanLine(y));
      for (int x = tile; x < FImage.width(); ++x) line[x] = line[x % TileSize];
    }
  }

private:
  QImage& FImage;
  const bool FHorizontal;
};

int Channel(int first, int last, int i, int steps) {
  const double step = double(last - first) / (steps - 1);
  // nearbyint rounds halves to the even neighbour in the default rounding mode.
  return std::clamp(first + int(std::nearbyint(i * step)), 0, 255);
}

std::vector<QRgb> ColourTable(QColor first, QColor last, int steps) {
  std::vector<QRgb> table(steps);
  for (int i = 0; i < steps; ++i)
    table[i] =
        qRgb(Channel(first.red(), last.red(), i, steps), Channel(first.green(), last.green(), i, steps),
             Channel(first.blue(), last.blue(), i, steps));
  return table;
}

void DrawBands(TBandPlane& plane, const std::vector<QRgb>& table, bool dithered) {
  const int steps = int(table.size());
  const int length = plane.Along();
  const int reach = length / (steps - 1);
  std::mt19937 random(20061209);  // the same pattern for the same image every time
  for (int i = 0; i < steps; ++i) {
    const int from = MulDiv(i, length, steps);
    plane.FillBand(from, MulDiv(i + 1, length, steps), table[i]);
    if (!dithered || i == 0) continue;
    for (int across = 0; across < TileSize; ++across)
      for (int j = 0; j <= reach; ++j) {
        const int r = j == 0 ? 0 : std::uniform_int_distribution<int>(0, j - 1)(random);
        plane.SetPixel(from + r, across, table[i - 1]);
      }
  }
  plane.RepeatTile();
}

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t(a) * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  if (2 * std::llabs(remainder) >= std::llabs(c)) quotient += (product < 0) == (c < 0) ? 1 : -1;
  return int(quotient);
}

void DrawSegment(QPainter& canvas, int x1, int y1, int x2, int y2) {
  const int dx = x2 - x1;
  const int dy = y2 - y1;
  const int length = std::max(std::abs(dx), std::abs(dy));
  const QColor colour = canvas.pen().color();
  for (int i = 0; i < length; ++i)
    canvas.fillRect(x1 + MulDiv(i, dx, length), y1 + MulDiv(i, dy, length), 1, 1, colour);
}

void BuildGradientImage(int width, int height, QColor startColor, QColor endColor, std::uint8_t steps,
                        TdxGradientDirection direction, bool dithered, QImage& image) {
  image = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  if (image.isNull()) return;
  image.fill(startColor.rgb());
  if (steps < 2) return;
  const bool reversed = direction == gdRightToLeft || direction == gdBottomToTop;
  const std::vector<QRgb> table =
      reversed ? ColourTable(endColor, startColor, steps) : ColourTable(startColor, endColor, steps);
  TBandPlane plane(image, direction == gdLeftToRight || direction == gdRightToLeft);
  DrawBands(plane, table, dithered);
}

void DrawFocusRect(QPainter& canvas, int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  canvas.save();
  canvas.setCompositionMode(QPainter::RasterOp_NotDestination);
  auto invert = [&canvas](int x, int y) {
    if ((x + y) % 2 == 0) canvas.fillRect(x, y, 1, 1, Qt::black);
  };
  for (int x = left; x < right; ++x) {
    invert(x, top);
    if (bottom - 1 > top) invert(x, bottom - 1);
  }
  for (int y = top + 1; y < bottom - 1; ++y) {
    invert(left, y);
    if (right - 1 > left) invert(right - 1, y);
  }
  canvas.restore();
}
