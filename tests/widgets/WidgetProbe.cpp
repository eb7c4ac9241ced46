#include "tests/widgets/WidgetProbe.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <cmath>

TTestForm::TTestForm() {
  setPalette(QApplication::style()->standardPalette());
  setFont(CrispFont());
  resize(420, 200);
}

void TTestForm::ShowActive() {
  // Parked outside every window, the mouse enters no control as the window appears.
  QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
  QApplication::processEvents();
  show();
  activateWindow();
  if (!QTest::qWaitForWindowActive(this)) qFatal("the test window did not become active");
}

QRgb GradientEntry(QColor first, QColor last, int i, int steps) {
  auto channel = [&](int a, int b) { return a + int(std::nearbyint(i * (double(b - a) / (steps - 1)))); };
  return qRgb(channel(first.red(), last.red()), channel(first.green(), last.green()),
              channel(first.blue(), last.blue()));
}

QRgb BandColour(QColor first, QColor last, int steps, int length, int offset) {
  int band = 0;
  while (MulDiv(band + 1, length, steps) <= offset) ++band;
  return GradientEntry(first, last, band, steps);
}

QFont CrispFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(11);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

QImage Grab(QWidget* widget) { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRect InkBounds(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& ink) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (ink(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

bool IsDark(QRgb pixel) { return qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }
