#include "pane/NearViewLayouts.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

TNearViewLayouts::TNearViewLayouts(QTextDocument& document) : FDocument(document) {}

void TNearViewLayouts::SetVisible(int from, int to, std::vector<std::pair<int, int>> longLineParts) {
  FVisibleFrom = from;
  FVisibleTo = to;
  FLongLineParts = std::move(longLineParts);
  FNearFirst = std::max(FDocument.findBlock(from).blockNumber() - NearBlocks, 0);
  FNearLast = FDocument.findBlock(to).blockNumber() + NearBlocks;
}

bool TNearViewLayouts::Near(int number) const { return number >= FNearFirst && number <= FNearLast; }

TNearViewLayouts::TSpan TNearViewLayouts::VisiblePart(const QTextBlock& block) const {
  const int length = block.length() - 1;
  if (length <= LongLine) return {0, length};
  const int start = block.position();
  const auto inBlock = std::find_if(FLongLineParts.begin(), FLongLineParts.end(), [&](const TSpan& part) {
    return part.first >= start && part.first <= start + length;
  });
  const TSpan part = inBlock != FLongLineParts.end() ? *inBlock : TSpan{FVisibleFrom, FVisibleTo};
  return {std::clamp(part.first - start, 0, length), std::clamp(part.second - start, 0, length)};
}

// The part of a block whose formats its layout is given: all of a short line, the visible part
// and a margin either side of a long one.
TNearViewLayouts::TSpan TNearViewLayouts::ShownPart(const QTextBlock& block, TSpan visible) const {
  const int length = block.length() - 1;
  if (length <= LongLine) return visible;
  return {std::max(visible.first - LongLineMargin, 0), std::min(visible.second + LongLineMargin, length)};
}

void TNearViewLayouts::ShowVisible() {
  TUpdate update(*this);
  int number = FNearFirst;
  for (QTextBlock block = FDocument.findBlockByNumber(number); block.isValid() && number <= FNearLast;
       block = block.next(), ++number) {
    const auto* given = static_cast<const TBlockRanges*>(block.userData());
    if (given == nullptr || (given->Shown && block.length() - 1 <= LongLine)) continue;
    const TColourRanges ranges = given->Ranges;  // the block's data is replaced
    update.Give(block, number, ranges);
  }
}

void TNearViewLayouts::Moved(QTextBlock& block, const TColourRanges& ranges) {
  if (block.length() - 1 > LongLine) {
    Store(block, block.blockNumber(), ranges);
    return;
  }
  auto* given = static_cast<TBlockRanges*>(block.userData());
  given->Ranges = ranges;
  given->Shown = false;
}

void TNearViewLayouts::Forget(QTextBlock& block) {
  const auto* given = static_cast<const TBlockRanges*>(block.userData());
  if (given == nullptr) return;
  if (given->InLayout) block.layout()->clearFormats();
  block.setUserData(nullptr);
}

// Gives the block the ranges unless its layout already shows them over its visible part; true
// when its layout changed. One whose layout holds formats of ours is given the new ones at once,
// near view or not. A long line's layout keeps its formats while they cover what is visible and
// are not a margin's worth more than it needs: a line given all of them before its part in view
// was known has them cut down to that part, or every paint and caret blink would pay for them all.
bool TNearViewLayouts::Store(QTextBlock& block, int number, const TColourRanges& ranges) {
  auto* given = static_cast<TBlockRanges*>(block.userData());
  const TSpan visible = VisiblePart(block);
  const TSpan shown = ShownPart(block, visible);
  const bool showsVisible = given != nullptr && given->Shown && given->ShownFrom <= visible.first &&
                            visible.second <= given->ShownTo;
  const bool notTooMuch =
      given != nullptr && given->ShownTo - given->ShownFrom <= shown.second - shown.first + LongLineMargin;
  if (showsVisible && notTooMuch && given->Ranges == ranges) return false;
  const bool inLayout = given != nullptr && given->InLayout;
  if (!inLayout && (ranges.empty() || !Near(number))) {
    block.setUserData(new TBlockRanges(ranges, shown, false));
    return false;
  }
  QList<QTextLayout::FormatRange> formats;
  for (const TColourRange& range : ranges) {
    const int start = std::max(range.Start, shown.first);
    const int end = std::min(range.Start + range.Length, shown.second);
    if (end > start) formats.append({start, end - start, FFormats[range.Style]});
  }
  block.layout()->setFormats(formats);
  block.setUserData(new TBlockRanges(ranges, shown, true));
  return true;
}

TNearViewLayouts::TUpdate::TUpdate(TNearViewLayouts& layouts)
    : FLayouts(layouts),
      FLayout(qobject_cast<QPlainTextDocumentLayout*>(layouts.FDocument.documentLayout())) {
  FLayouts.FApplying = true;
}

TNearViewLayouts::TUpdate::~TUpdate() {
  Flush();
  FLayouts.FApplying = false;
}

bool TNearViewLayouts::TUpdate::Give(QTextBlock& block, int number, const TColourRanges& ranges) {
  if (!FLayouts.Store(block, number, ranges)) return false;
  Add(block);
  return true;
}

// Neighbouring blocks join one range.
void TNearViewLayouts::TUpdate::Add(const QTextBlock& block) {
  if (FFrom >= 0 && FTo != block.position()) Flush();
  if (FFrom < 0) FFrom = block.position();
  FTo = block.position() + block.length();
  ++FBlocks;
}

void TNearViewLayouts::TUpdate::Flush() {
  if (FFrom < 0) return;
  QTextDocument& document = FLayouts.FDocument;
  if (FLayout == nullptr || FBlocks > FewBlocks) {
    document.markContentsDirty(FFrom, FTo - FFrom);
  } else {
    {
      const QSignalBlocker quiet(FLayout);
      document.markContentsDirty(FFrom, FTo - FFrom);
    }
    RepaintBlocks();
  }
  FFrom = -1;
  FBlocks = 0;
}

// A few blocks are laid out again at once and only they repaint, unless their lines changed. A
// long line is left to be laid out when it is painted, and so are the lines after it.
void TNearViewLayouts::TUpdate::RepaintBlocks() {
  const QTextBlock first = FLayouts.FDocument.findBlock(FFrom);
  bool linesChanged = false;
  for (QTextBlock block = first; block.isValid() && block.position() < FTo; block = block.next()) {
    if (block.length() - 1 > LongLine) {
      linesChanged = true;
      break;
    }
    const int lines = block.lineCount();
    FLayout->ensureBlockLayout(block);
    linesChanged = linesChanged || block.lineCount() != lines;
  }
  if (linesChanged) {
    emit FLayout->update();
    return;
  }
  for (QTextBlock block = first; block.isValid() && block.position() < FTo; block = block.next())
    emit FLayout->updateBlock(block);
}
