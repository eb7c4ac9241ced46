#include "app/FontMetrics.h"

#include <QFont>
#include <QFontInfo>

namespace {
constexpr std::uint8_t kAnsiCharSet = 0;
constexpr std::uint8_t kFixedPitch = 0x01;
constexpr std::uint8_t kVariablePitch = 0x02;
constexpr std::uint8_t kRoman = 0x10;
constexpr std::uint8_t kSwiss = 0x20;
constexpr std::uint8_t kModern = 0x30;
}  // namespace

ThltFontMetrics TQtFontMetrics::Metrics(const std::string& fontName) const {
  QFont font(QString::fromStdString(fontName));
  if (fontName == "Courier New") font.setStyleHint(QFont::Monospace);
  const QFontInfo resolved(font);
  if (resolved.fixedPitch()) return {kAnsiCharSet, static_cast<std::uint8_t>(kModern | kFixedPitch)};
  const std::uint8_t family = resolved.styleHint() == QFont::Serif ? kRoman : kSwiss;
  return {kAnsiCharSet, static_cast<std::uint8_t>(family | kVariablePitch)};
}
