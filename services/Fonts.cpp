#include "Fonts.h"

namespace {
QFont FontWithHint(const QString& family, QFont::StyleHint hint) {
  QFont font(family);
  font.setStyleHint(hint);
  return font;
}
}  // namespace

QFont SansSerifFont(int pixelHeight, bool bold) {
  QFont font = FontWithHint(QStringLiteral("Liberation Sans"), QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

QFont SerifFont(int pixelHeight) {
  QFont font = FontWithHint(QStringLiteral("Liberation Serif"), QFont::Serif);
  font.setPixelSize(pixelHeight);
  return font;
}

QFont MonospaceFont(int pointSize) {
  QFont font = FontWithHint(QStringLiteral("Monospace"), QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSize(pointSize);
  return font;
}
