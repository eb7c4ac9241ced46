#include "Fonts.h"

QFont SansSerifFont(int pixelHeight) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  return font;
}
