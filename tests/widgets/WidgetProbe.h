#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "widgets/dxCore.h"

// A styled control that draws nothing but counts its paints, with the caption routine open to
// the tests.
class TProbeControl : public TdxCustomControl {
public:
  using TdxCustomControl::DrawCaptionText;
  using TdxCustomControl::TdxCustomControl;
  int Paints = 0;

protected:
  void Paint(QPainter&) override { ++Paints; }
};

// A dialog in a fixed palette and a crisp font, shown and active, so that pixels are exact.
class TTestForm : public QDialog {
public:
  TTestForm();
  void ShowActive();
};

// Entry i of a gradient's colour table: the product rounded with halves to even.
QRgb GradientEntry(QColor first, QColor last, int i, int steps);
// The colour at offset of an undithered gradient of steps bands over length pixels.
QRgb BandColour(QColor first, QColor last, int steps, int length, int offset);

QFont CrispFont();
QImage Grab(QWidget* widget);
// The smallest rectangle of area holding every pixel that ink accepts; empty when none does.
QRect InkBounds(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& ink);
bool IsDark(QRgb pixel);  // caption pixels, never face, ring or border pixels
