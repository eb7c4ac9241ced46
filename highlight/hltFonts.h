#pragma once

#include <cstdint>
#include <string>

// A font as the font table names it; every other property is the default,
// including the request for the default character set.
struct ThltFont {
  std::string Name;
};

// The two bytes of a font's text metrics that the font table uses.
struct ThltFontMetrics {
  std::uint8_t CharSet;
  std::uint8_t PitchAndFamily;  // family in the high four bits, pitch in the low
};

// Answers the metrics query for a font. The default provider reports the
// modern family with fixed pitch (0x31) and character set 0 for every font; a
// GUI installs one that asks its font system.
class ThltFontMetricsProvider {
public:
  virtual ~ThltFontMetricsProvider() = default;
  virtual ThltFontMetrics Metrics(const std::string& fontName) const = 0;
};

// Installs the process-wide provider, once at program start; nullptr restores
// the default. The provider must outlive every highlighter built after.
void SetFontMetricsProvider(const ThltFontMetricsProvider* provider);

const ThltFontMetricsProvider& FontMetricsProvider();
