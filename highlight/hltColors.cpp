#include "highlight/hltColors.h"

namespace {

constexpr ThltColor DefaultSystemColors[scSystemColorCount] = {
    hltRGB(200, 200, 200),  // scScrollBar
    hltRGB(0, 0, 0),        // scBackground
    hltRGB(153, 180, 209),  // scActiveCaption
    hltRGB(191, 205, 219),  // scInactiveCaption
    hltRGB(240, 240, 240),  // scMenu
    hltRGB(255, 255, 255),  // scWindow
    hltRGB(100, 100, 100),  // scWindowFrame
    hltRGB(0, 0, 0),        // scMenuText
    hltRGB(0, 0, 0),        // scWindowText
    hltRGB(0, 0, 0),        // scCaptionText
    hltRGB(180, 180, 180),  // scActiveBorder
    hltRGB(244, 247, 252),  // scInactiveBorder
    hltRGB(171, 171, 171),  // scAppWorkSpace
    hltRGB(0, 120, 215),    // scHighlight
    hltRGB(255, 255, 255),  // scHighlightText
    hltRGB(240, 240, 240),  // scBtnFace
    hltRGB(160, 160, 160),  // scBtnShadow
    hltRGB(109, 109, 109),  // scGrayText
    hltRGB(0, 0, 0),        // scBtnText
    hltRGB(0, 0, 0),        // scInactiveCaptionText
    hltRGB(255, 255, 255),  // scBtnHighlight
    hltRGB(105, 105, 105),  // sc3DDkShadow
    hltRGB(227, 227, 227),  // sc3DLight
    hltRGB(0, 0, 0),        // scInfoText
    hltRGB(255, 255, 225),  // scInfoBk
};

class TDefaultColorResolver final : public ThltColorResolver {
public:
  ThltColor Resolve(ThltColor systemColor) const override {
    const ThltColor index = systemColor & 0xFF;
    // An unknown system colour number resolves to black.
    return index < scSystemColorCount ? DefaultSystemColors[index] : 0;
  }
};

const TDefaultColorResolver DefaultResolver;
const ThltColorResolver* CurrentResolver = &DefaultResolver;

}  // namespace

void SetColorResolver(const ThltColorResolver* resolver) {
  CurrentResolver = resolver ? resolver : &DefaultResolver;
}

ThltColor hltResolveColor(ThltColor color) {
  if (!hltIsSystemColor(color)) return color;
  return CurrentResolver->Resolve(color) & 0xFFFFFF;
}
