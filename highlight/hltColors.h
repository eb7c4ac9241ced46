#pragma once

#include <cstdint>

// A colour value: red in the low byte, green in the second, blue in the third.
// A value with the high byte set names a system colour instead; its low byte
// is the system colour's number.
using ThltColor = std::uint32_t;

inline constexpr ThltColor hltRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return ThltColor(red) | ThltColor(green) << 8 | ThltColor(blue) << 16;
}

inline constexpr ThltColor hltSystemColorFlag = 0xFF000000u;

inline constexpr bool hltIsSystemColor(ThltColor color) { return (color >> 24) != 0; }

// The numbers of the standard system colours.
enum ThltSystemColorIndex : std::uint8_t {
  scScrollBar,
  scBackground,
  scActiveCaption,
  scInactiveCaption,
  scMenu,
  scWindow,
  scWindowFrame,
  scMenuText,
  scWindowText,
  scCaptionText,
  scActiveBorder,
  scInactiveBorder,
  scAppWorkSpace,
  scHighlight,
  scHighlightText,
  scBtnFace,
  scBtnShadow,
  scGrayText,
  scBtnText,
  scInactiveCaptionText,
  scBtnHighlight,
  sc3DDkShadow,
  sc3DLight,
  scInfoText,
  scInfoBk,
  scSystemColorCount
};

inline constexpr ThltColor clNavy = hltRGB(0, 0, 128);
inline constexpr ThltColor clBtnFace = hltSystemColorFlag | scBtnFace;
inline constexpr ThltColor clWindow = hltSystemColorFlag | scWindow;
inline constexpr ThltColor clWindowText = hltSystemColorFlag | scWindowText;
inline constexpr ThltColor clMenuText = hltSystemColorFlag | scMenuText;

// Turns system colours into concrete ones. The default resolver uses a fixed
// table of the usual light-theme values; a GUI may install one that asks the
// windowing system.
class ThltColorResolver {
public:
  virtual ~ThltColorResolver() = default;
  // Returns the red, green and blue of a system colour (high byte clear).
  virtual ThltColor Resolve(ThltColor systemColor) const = 0;
};

// Installs the process-wide resolver; nullptr restores the default. The
// resolver must outlive every later call of hltResolveColor.
void SetColorResolver(const ThltColorResolver* resolver);

// A plain colour unchanged, a system colour through the installed resolver.
ThltColor hltResolveColor(ThltColor color);
