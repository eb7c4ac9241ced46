#include "app/FontMetrics.h"

#include <QFont>
#include <QFontInfo>

namespace {
constexpr std::uint8_t AnsiCharSet = 0;
constexpr std::uint8_t FixedPitch = 0x01;
constexpr std::uint8_t VariablePitch = 0x02;
constexpr std::uint8_t Roman = 0x10;
constexpr std::uint8_t Swiss = 0x20;
constexpr std::uint8_t Modern = 0x30;
}  // namespace

ThltFontMetrics TQtFontMetrics::Metrics(const std::string& fontName) const {
  QFont font(QString::fromStdString(fontName));
  if (fontName == "Courier New") font.setStyleHint(QFont::Monospace);
  const QFontInfo resolved(font);
  if (resolved.fixedPitch()) return {AnsiCharSet, static_cast<std::uint8_t>(Modern | FixedPitch)};
  const std::uint8_t family = resolved.styleHint() == QFont::Serif ? Roman : Swiss;
  return {AnsiCharSet, static_cast<std::uint8_t>(family | VariablePitch)};
}
