#include "pane/PaneFormats.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "pane/PanePositions.h"

// The ranges a block was given, in its current text. InLayout while its layout holds formats
// of ours; Shown while those are the ranges in [ShownFrom, ShownTo) of the block, not after an
// edit moved the ranges or while the block is far from view and its layout was given none.
class TPaneFormats::TBlockRanges : public QTextBlockUserData {
public:
  TBlockRanges(std::vector<TRange> ranges, TSpan shown, bool inLayout)
      : Ranges(std::move(ranges)),
        ShownFrom(shown.first),
        ShownTo(shown.second),
        InLayout(inLayout),
        Shown(inLayout || Ranges.empty()) {}
  std::vector<TRange> Ranges;
  int ShownFrom;
  int ShownTo;
  bool InLayout;
  bool Shown;
};

TPaneFormats::TPaneFormats(QTextDocument& document)
    : FDocument(document), FBlockCount(document.blockCount()) {}

TPaneFormats::TStyle TPaneFormats::StyleOf(const TRtfDocument& rtf, int format) {
  TStyle style;
  if (format < 0 || std::size_t(format) >= rtf.Formats.size()) return style;
  style.Format = rtf.Formats[std::size_t(format)];
  const int font = style.Format.Font;
  if (font >= 0 && std::size_t(font) < rtf.Fonts.size()) style.Font = rtf.Fonts[std::size_t(font)];
  style.Format.Font = -1;
  return style;
}

void TPaneFormats::Reset(const TStyle& base) {
  for (QTextBlock block = FDocument.firstBlock(); block.isValid(); block = block.next()) Forget(block);
  FBase = base;
  FStyles.clear();
  FFormats.clear();
}

int TPaneFormats::StyleIndex(const TStyle& style) {
  if (style == FBase) return -1;
  for (std::size_t i = 0; i < FStyles.size(); ++i)
    if (FStyles[i] == style) return int(i);
  FStyles.push_back(style);
  FFormats.push_back(CharFormat(style));
  return int(FStyles.size() - 1);
}

// Only what differs from the pane's font is set, so most runs cost the layout a colour alone.
QTextCharFormat TPaneFormats::CharFormat(const TStyle& style) const {
  QTextCharFormat format;
  const TRtfFormat& f = style.Format;
  if (f.Colour != TRtfFormat::DefaultColour) format.setForeground(QColor(QRgb(f.Colour)));
  if (f.Bold) format.setFontWeight(QFont::Bold);
  if (f.Italic) format.setFontItalic(true);
  if (f.Underline) format.setFontUnderline(true);
  if (f.HalfPoints != FBase.Format.HalfPoints) format.setFontPointSize(f.HalfPoints / 2.0);
  if (!(style.Font == FBase.Font) && !style.Font.Name.empty())
    format.setFontFamilies({QString::fromLatin1(style.Font.Name.c_str())});
  return format;
}

namespace {

// A block close ahead is reached by stepping from the last one, a block far ahead is looked up
// by number. A look-up descends the document's block tree, some twenty levels deep in a large
// document and each level dearer than a step, so up to this many blocks ahead stepping is cheaper.
constexpr int StepLimit = 64;

QTextBlock BlockOfLine(const QTextDocument& document, const QTextBlock& last, int line) {
  if (!last.isValid() || line <= last.blockNumber() || line - last.blockNumber() > StepLimit)
    return document.findBlockByNumber(line);
  QTextBlock block = last;
  while (block.blockNumber() < line) block = block.next();
  return block;
}

// The changed blocks, told to the layout as few ranges as they make: neighbours join. The
// layout answers a change it is told of by repainting the whole view; for a few blocks that
// keep their lines only those blocks are repainted, laid out again at once.
class TChangedRange {
public:
  explicit TChangedRange(QTextDocument& document)
      : FDocument(document), FLayout(qobject_cast<QPlainTextDocumentLayout*>(document.documentLayout())) {}
  ~TChangedRange() { Flush(); }
  void Add(const QTextBlock& block) {
    if (FFrom >= 0 && FTo != block.position()) Flush();
    if (FFrom < 0) FFrom = block.position();
    FTo = block.position() + block.length();
    ++FBlocks;
  }

private:
  static constexpr int FewBlocks = 8;

  void Flush() {
    if (FFrom < 0) return;
    if (FLayout == nullptr || FBlocks > FewBlocks) {
      FDocument.markContentsDirty(FFrom, FTo - FFrom);
    } else {
      {
        const QSignalBlocker quiet(FLayout);
        FDocument.markContentsDirty(FFrom, FTo - FFrom);
      }
      RepaintBlocks();
    }
    FFrom = -1;
    FBlocks = 0;
  }

  // A long line is left to be laid out when it is painted, and so are the lines after it.
  void RepaintBlocks() {
    const QTextBlock first = FDocument.findBlock(FFrom);
    bool linesChanged = false;
    for (QTextBlock block = first; block.isValid() && block.position() < FTo; block = block.next()) {
      if (block.length() - 1 > TPaneFormats::LongLine) {
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

  QTextDocument& FDocument;
  QPlainTextDocumentLayout* FLayout;
  int FFrom = -1;
  int FTo = -1;
  int FBlocks = 0;
};

}  // namespace

std::vector<int> TPaneFormats::StyleIndices(const TRtfDocument& rtf) {
  std::vector<int> styles(rtf.Formats.size());
  for (std::size_t i = 0; i < styles.size(); ++i) styles[i] = StyleIndex(StyleOf(rtf, int(i)));
  return styles;
}

int TPaneFormats::Apply(const TRtfDocument& rtf) {
  const std::vector<int> styles = StyleIndices(rtf);
  const int lines = FDocument.blockCount();
  FApplying = true;
  int changed = 0;
  {
    TChangedRange dirty(FDocument);
    std::size_t run = 0;
    QTextBlock block;
    for (int line = 0; line < lines; ++line) {
      block = BlockOfLine(FDocument, block, line);
      // Each block separator is CR LF in the RTF text, one character more than in the document.
      const std::size_t blockStart = std::size_t(block.position() + line);
      CollectRanges(rtf, styles, run, blockStart, blockStart + std::size_t(block.length() - 1));
      if (!Store(block)) continue;
      ++changed;
      dirty.Add(block);
    }
  }
  FApplying = false;
  return changed;
}

void TPaneFormats::TextChanged(int position, int removed, int added) {
  if (!FApplying) MoveWithEdit(position, removed, added);
}

// An edit inside one block (no block added or joined) moves the ranges after it by the
// length it added and cuts what it removed out of them; the text it added has none until the
// next Apply. Blocks an edit added, split or joined forget their ranges.
void TPaneFormats::MoveWithEdit(int position, int removed, int added) {
  const int blocks = FDocument.blockCount();
  const bool sameBlocks = blocks == FBlockCount;
  FBlockCount = blocks;
  const QTextBlock block = FDocument.findBlock(position);
  if (!sameBlocks || position + added > block.position() + block.length() - 1) {
    ForgetBlocks(position, position + added);
    return;
  }
  auto* given = static_cast<TBlockRanges*>(block.userData());
  if (given == nullptr) return;
  const int at = position - block.position();
  FScratch.clear();
  for (const TRange& range : given->Ranges) {
    const int end = range.Start + range.Length;
    // The text typed takes the style of the text it follows, as it mostly keeps it.
    if (range.Start < at)
      AppendRange({range.Start, std::min(end, at) - range.Start + (end >= at ? added : 0), range.Style});
    const int after = std::max(range.Start, at + removed);
    if (end > after) AppendRange({after + added - removed, end - after, range.Style});
  }
  // The layout lays out the edited block once this change is told; a long line is costly to
  // lay out, so it is given its moved formats now rather than again after the next Apply.
  if (block.length() - 1 > LongLine) {
    QTextBlock edited = block;
    Store(edited);
    return;
  }
  given->Ranges = FScratch;
  given->Shown = false;
}

void TPaneFormats::ForgetBlocks(int from, int to) {
  const int last = FDocument.characterCount() - 1;
  const QTextBlock end = FDocument.findBlock(std::clamp(to, 0, std::max(last, 0))).next();
  for (QTextBlock block = FDocument.findBlock(std::max(from, 0)); block.isValid() && block != end;
       block = block.next())
    Forget(block);
}

// A block without ranges of ours holds no formats of ours in its layout either.
void TPaneFormats::Forget(QTextBlock& block) {
  const auto* given = static_cast<const TBlockRanges*>(block.userData());
  if (given == nullptr) return;
  if (given->InLayout) block.layout()->clearFormats();
  block.setUserData(nullptr);
}

bool TPaneFormats::KnowsFormats(int position) const {
  return FDocument.findBlock(position).userData() != nullptr;
}

// The blocks whose text the RTF's text covers, from the block holding textStart on. A block
// covered in part keeps its own ranges outside the RTF's text.
bool TPaneFormats::ApplyRange(const TRtfDocument& rtf, std::size_t textStart) {
  const std::size_t textEnd = textStart + rtf.Text.size();
  const int first = TPanePositions::ToDocument(FDocument, int(textStart));
  const int last = TPanePositions::ToDocument(FDocument, int(textEnd));
  const QTextBlock firstBlock = FDocument.findBlock(first);
  const QTextBlock lastBlock = FDocument.findBlock(last);
  if ((first > firstBlock.position() && !KnowsFormats(first)) ||
      (last < lastBlock.position() + lastBlock.length() - 1 && !KnowsFormats(last)))
    return false;
  const std::vector<int> styles = StyleIndices(rtf);
  FApplying = true;
  {
    TChangedRange dirty(FDocument);
    std::size_t run = 0;
    const QTextBlock end = lastBlock.next();
    std::size_t blockStart = std::size_t(TPanePositions::ToPane(FDocument, firstBlock.position()));
    for (QTextBlock block = firstBlock; block.isValid() && block != end;
         blockStart += std::size_t(block.length()) + 1, block = block.next()) {
      const std::size_t blockEnd = blockStart + std::size_t(block.length() - 1);
      const std::size_t freshStart = std::clamp(textStart, blockStart, blockEnd);
      const std::size_t freshEnd = std::clamp(textEnd, freshStart, blockEnd);
      FScratch.clear();
      if (const std::vector<TRange>* kept = RangesOf(block))
        AppendKept(*kept, 0, int(freshStart - blockStart));
      if (freshEnd > freshStart)
        AppendRuns(rtf, styles, run, std::ptrdiff_t(blockStart) - std::ptrdiff_t(textStart),
                   freshStart - textStart, freshEnd - textStart);
      if (const std::vector<TRange>* kept = RangesOf(block))
        AppendKept(*kept, int(freshEnd - blockStart), int(blockEnd - blockStart));
      if (Store(block)) dirty.Add(block);
    }
  }
  FApplying = false;
  return true;
}

// The ranges of one block, from the runs that overlap [blockStart, blockEnd) of the RTF text.
void TPaneFormats::CollectRanges(const TRtfDocument& rtf, const std::vector<int>& styles, std::size_t& run,
                                 std::size_t blockStart, std::size_t blockEnd) {
  FScratch.clear();
  AppendRuns(rtf, styles, run, std::ptrdiff_t(blockStart), blockStart, blockEnd);
}

// The ranges of the runs over [from, to) of the RTF text, for a block that starts at
// blockStart in it (before it, when the RTF begins inside the block).
void TPaneFormats::AppendRuns(const TRtfDocument& rtf, const std::vector<int>& styles, std::size_t& run,
                              std::ptrdiff_t blockStart, std::size_t from, std::size_t to) {
  const std::vector<TRtfRun>& runs = rtf.Runs;
  run = std::size_t(std::partition_point(runs.begin() + std::ptrdiff_t(run), runs.end(),
                                         [from](const TRtfRun& r) { return r.Start + r.Length <= from; }) -
                    runs.begin());
  for (std::size_t r = run; r < runs.size() && runs[r].Start < to; ++r) {
    const int style = styles[std::size_t(runs[r].Format)];
    if (style < 0) continue;
    const std::size_t start = std::max(runs[r].Start, from);
    const std::size_t end = std::min(runs[r].Start + runs[r].Length, to);
    if (end > start) AppendRange({int(std::ptrdiff_t(start) - blockStart), int(end - start), style});
  }
}

// The parts of a block's own ranges within [from, to) of its text.
void TPaneFormats::AppendKept(const std::vector<TRange>& kept, int from, int to) {
  for (const TRange& range : kept) {
    const int start = std::max(range.Start, from);
    const int end = std::min(range.Start + range.Length, to);
    if (end > start) AppendRange({start, end - start, range.Style});
  }
}

// A range that continues the last one in the same style lengthens it.
void TPaneFormats::AppendRange(const TRange& range) {
  if (!FScratch.empty() && FScratch.back().Style == range.Style &&
      FScratch.back().Start + FScratch.back().Length == range.Start)
    FScratch.back().Length += range.Length;
  else
    FScratch.push_back(range);
}

void TPaneFormats::SetVisible(int from, int to, std::vector<std::pair<int, int>> longLineParts) {
  FVisibleFrom = from;
  FVisibleTo = to;
  FLongLineParts = std::move(longLineParts);
  FNearFirst = std::max(FDocument.findBlock(from).blockNumber() - NearBlocks, 0);
  FNearLast = FDocument.findBlock(to).blockNumber() + NearBlocks;
}

bool TPaneFormats::Near(const QTextBlock& block) const {
  const int number = block.blockNumber();
  return number >= FNearFirst && number <= FNearLast;
}

// A long line is laid out and drawn whole however little of it is seen, at a cost that grows
// with its formats; so its layout holds only those within a margin of what is visible.
TPaneFormats::TSpan TPaneFormats::VisiblePart(const QTextBlock& block) const {
  const int length = block.length() - 1;
  if (length <= LongLine) return {0, length};
  const int start = block.position();
  const auto inBlock = std::find_if(FLongLineParts.begin(), FLongLineParts.end(), [&](const TSpan& part) {
    return part.first >= start && part.first <= start + length;
  });
  const TSpan part = inBlock != FLongLineParts.end() ? *inBlock : TSpan{FVisibleFrom, FVisibleTo};
  return {std::clamp(part.first - start, 0, length), std::clamp(part.second - start, 0, length)};
}

void TPaneFormats::ShowVisible() {
  FApplying = true;
  {
    TChangedRange dirty(FDocument);
    for (QTextBlock block = FDocument.findBlockByNumber(FNearFirst);
         block.isValid() && block.blockNumber() <= FNearLast; block = block.next()) {
      const auto* given = static_cast<const TBlockRanges*>(block.userData());
      if (given == nullptr || (given->Shown && block.length() - 1 <= LongLine)) continue;
      FScratch = given->Ranges;
      if (Store(block)) dirty.Add(block);
    }
  }
  FApplying = false;
}

// Gives the block the collected ranges unless its layout already shows them over its visible
// part; true when it changed. A block far from view keeps them for when it comes near, as a
// layout of its own for each block of a large page would cost more than its text; one whose
// layout holds formats of ours is given the new ones at once. A long line's layout keeps its
// formats while they cover what is visible and are not a margin's worth more than it needs: a
// line given all of them before its part in view was known has them cut down to that part, or
// every paint and caret blink would pay for them all.
bool TPaneFormats::Store(QTextBlock& block) {
  auto* given = static_cast<TBlockRanges*>(block.userData());
  const TSpan visible = VisiblePart(block);
  const TSpan shown = block.length() - 1 <= LongLine
                          ? visible
                          : TSpan{std::max(visible.first - LongLineMargin, 0),
                                  std::min(visible.second + LongLineMargin, block.length() - 1)};
  if (given != nullptr && given->Shown && given->ShownFrom <= visible.first &&
      visible.second <= given->ShownTo &&
      given->ShownTo - given->ShownFrom <= shown.second - shown.first + LongLineMargin &&
      given->Ranges == FScratch)
    return false;
  const bool inLayout = given != nullptr && given->InLayout;
  if (!inLayout && (FScratch.empty() || !Near(block))) {
    block.setUserData(new TBlockRanges(FScratch, shown, false));
    return false;
  }
  QList<QTextLayout::FormatRange> formats;
  for (const TRange& range : FScratch) {
    const int start = std::max(range.Start, shown.first);
    const int end = std::min(range.Start + range.Length, shown.second);
    if (end > start) formats.append({start, end - start, FFormats[std::size_t(range.Style)]});
  }
  block.layout()->setFormats(formats);
  block.setUserData(new TBlockRanges(FScratch, shown, true));
  return true;
}

const std::vector<TPaneFormats::TRange>* TPaneFormats::RangesOf(const QTextBlock& block) {
  const auto* data = static_cast<const TBlockRanges*>(block.userData());
  return data != nullptr ? &data->Ranges : nullptr;
}

namespace {

// Builds a document's runs in order from styles, each distinct format and font once.
class TRunWriter {
public:
  explicit TRunWriter(TRtfDocument& rtf) : FRtf(rtf) {}

  int FormatOf(TPaneFormats::TStyle style) {
    const auto font = std::find(FRtf.Fonts.begin(), FRtf.Fonts.end(), style.Font);
    style.Format.Font = int(font - FRtf.Fonts.begin());
    if (font == FRtf.Fonts.end()) FRtf.Fonts.push_back(style.Font);
    const auto found = std::find(FRtf.Formats.begin(), FRtf.Formats.end(), style.Format);
    if (found != FRtf.Formats.end()) return int(found - FRtf.Formats.begin());
    FRtf.Formats.push_back(style.Format);
    return int(FRtf.Formats.size() - 1);
  }

  // Covers the text up to end with format; a run of the last run's format lengthens it.
  void Add(std::size_t end, int format) {
    if (end <= FEnd) return;
    if (!FRtf.Runs.empty() && FRtf.Runs.back().Format == format)
      FRtf.Runs.back().Length += end - FEnd;
    else
      FRtf.Runs.push_back({FEnd, end - FEnd, format});
    FEnd = end;
  }
  std::size_t End() const { return FEnd; }

private:
  TRtfDocument& FRtf;
  std::size_t FEnd = 0;
};

}  // namespace

// The pane's font is the first font; text between the ranges a block was given, and each line
// break, is in the pane's own style.
TRtfDocument TPaneFormats::Document(std::string text) const {
  TRtfDocument rtf;
  rtf.Text = std::move(text);
  rtf.Fonts.push_back(FBase.Font);
  TRunWriter runs(rtf);
  const int base = runs.FormatOf(FBase);
  std::size_t blockStart = 0;
  for (QTextBlock block = FDocument.firstBlock(); block.isValid(); block = block.next()) {
    const std::size_t blockEnd = blockStart + std::size_t(block.length() - 1);
    if (const std::vector<TRange>* ranges = RangesOf(block)) {
      for (const TRange& range : *ranges) {
        const std::size_t start = std::min(blockStart + std::size_t(range.Start), blockEnd);
        runs.Add(start, base);
        runs.Add(std::min(start + std::size_t(range.Length), blockEnd),
                 runs.FormatOf(FStyles[std::size_t(range.Style)]));
      }
    }
    const bool last = !block.next().isValid();
    blockStart = blockEnd + (last ? 0 : 2);  // the CR LF of the line break
    runs.Add(blockStart, base);
  }
  return rtf;
}
