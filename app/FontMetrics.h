#pragma once

#include "highlight/hltFonts.h"

// Answers the highlighter's font-metrics query from Qt's font matching: a face that resolves to
// fixed pitch is of the modern family, others are roman or swiss by their style; the character
// set is always the ANSI one, as the documents are Windows-1252.
class TQtFontMetrics : public ThltFontMetricsProvider {
public:
  ThltFontMetrics Metrics(const std::string& fontName) const override;
};
