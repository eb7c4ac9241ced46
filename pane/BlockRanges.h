#pragma once

#include <QTextBlockUserData>
#include <utility>
#include <vector>

// A run of one style within a block's text; Style indexes the styles of the pane's colours.
struct TColourRange {
  int Start;
  int Length;
  int Style;
  bool operator==(const TColourRange& other) const {
    return Start == other.Start && Length == other.Length && Style == other.Style;
  }
};
using TColourRanges = std::vector<TColourRange>;

// What a block holds of the pane's colours, kept as its user data. Ranges are the colour runs
// of its current text. InLayout while its layout holds formats of ours; Shown while those are
// the ranges in [ShownFrom, ShownTo) of the block, not after an edit moved the ranges or while
// the block is far from view and its layout was given none.
class TBlockRanges : public QTextBlockUserData {
public:
  TBlockRanges(TColourRanges ranges, std::pair<int, int> shown, bool inLayout)
      : Ranges(std::move(ranges)),
        ShownFrom(shown.first),
        ShownTo(shown.second),
        InLayout(inLayout),
        Shown(inLayout || Ranges.empty()) {}
  TColourRanges Ranges;
  int ShownFrom;
  int ShownTo;
  bool InLayout;
  bool Shown;
};
