#include "services/Fonts.h"

QFont SansSerifFont(int pixelHeight) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  return font;
}

QFont SerifFont(int pixelHeight) {
  QFont font(QStringLiteral("Liberation Serif"));
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(pixelHeight);
  return font;
}
