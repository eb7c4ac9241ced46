#pragma once

#include <QFont>

// The windows were laid out for a narrow sans-serif face at given pixel heights; Liberation's
// faces keep those widths, so captions fit their controls, and fontconfig stands in if missing.
QFont SansSerifFont(int pixelHeight);
// "Times New Roman": Liberation Serif keeps its widths.
QFont SerifFont(int pixelHeight);
