#include "pane/ColourRuns.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <optional>

#include "pane/EncodedText.h"
#include "pane/NearViewLayouts.h"

TColourRuns::TColourRuns(QTextDocument& document, const TPanePositions& positions, TNearViewLayouts& layouts)
    : FDocument(document), FPositions(positions), FLayouts(layouts), FBlockCount(document.blockCount()) {}

namespace {

// Walks a block's text once, from byte offsets to character offsets or back, for a block whose
// bytes are more than its characters; the offsets asked for must not decrease. A byte offset
// inside a character gives the offset after it.
class TOffsetWalk {
public:
  explicit TOffsetWalk(const QTextBlock& block) : FText(block.text()) {}
  int OffsetOfByte(int byte) {
    while (FUnit < FText.size() && FByte < byte) Step();
    return int(FUnit);
  }
  int ByteOfOffset(int offset) {
    while (FUnit < FText.size() && FUnit < offset) Step();
    return FByte;
  }

private:
  void Step() { FByte += 1 + TEncodedText::ExtraUtf8Bytes(FText[FUnit++].unicode()); }
  QString FText;
  qsizetype FUnit = 0;
  int FByte = 0;
};

// Ranges in byte offsets of the block become ranges in its character offsets.
void ToOffsets(const QTextBlock& block, TColourRanges& ranges) {
  TOffsetWalk walk(block);
  for (TColourRange& range : ranges) {
    const int end = range.Start + range.Length;
    range.Start = walk.OffsetOfByte(range.Start);
    range.Length = walk.OffsetOfByte(end) - range.Start;
  }
}

}  // namespace

TColourRuns::TStyle TColourRuns::StyleOf(const TRtfDocument& rtf, int format) {
  TStyle style;
  if (format < 0 || std::size_t(format) >= rtf.Formats.size()) return style;
  style.Format = rtf.Formats[std::size_t(format)];
  const int font = style.Format.Font;
  if (font >= 0 && std::size_t(font) < rtf.Fonts.size()) style.Font = rtf.Fonts[std::size_t(font)];
  style.Format.Font = -1;
  return style;
}

void TColourRuns::Reset(const TStyle& base) {
  for (QTextBlock block = FDocument.firstBlock(); block.isValid(); block = block.next())
    TNearViewLayouts::Forget(block);
  FBase = base;
  FStyles.clear();
  FLayouts.SetFormats({});
}

int TColourRuns::StyleIndex(const TStyle& style) {
  if (style == FBase) return -1;
  for (std::size_t i = 0; i < FStyles.size(); ++i)
    if (FStyles[i] == style) return int(i);
  FStyles.push_back(style);
  FLayouts.AddFormat(CharFormat(style));
  return int(FStyles.size() - 1);
}

// Only what differs from the pane's font is set, so most runs cost the layout a colour alone.
QTextCharFormat TColourRuns::CharFormat(const TStyle& style) const {
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

std::vector<int> TColourRuns::StyleIndices(const TRtfDocument& rtf) {
  std::vector<int> styles(rtf.Formats.size());
  for (std::size_t i = 0; i < styles.size(); ++i) styles[i] = StyleIndex(StyleOf(rtf, int(i)));
  return styles;
}

int TColourRuns::Apply(const TRtfDocument& rtf) {
  const std::vector<int> styles = StyleIndices(rtf);
  TNearViewLayouts::TUpdate update(FLayouts);
  int changed = 0;
  std::size_t run = 0;
  std::size_t blockStart = 0;
  int number = 0;
  for (QTextBlock block = FDocument.firstBlock(); block.isValid(); block = block.next(), ++number) {
    const int bytes = FPositions.BlockBytes(block, number);
    FScratch.clear();
    AppendRuns(FScratch, rtf, styles, run, std::ptrdiff_t(blockStart), blockStart,
               blockStart + std::size_t(bytes));
    if (bytes != block.length() - 1) ToOffsets(block, FScratch);
    if (update.Give(block, number, FScratch)) ++changed;
    blockStart += std::size_t(bytes) + 2;  // the CR LF of the line break
  }
  return changed;
}

// An edit inside one block (no block added or joined) moves the runs after it by the length it
// added and cuts what it removed out of them; the text it added has none until the next Apply.
// Blocks an edit added, split or joined forget their runs.
void TColourRuns::Moved(const TPaneEdit& edit) {
  const int blocks = FDocument.blockCount();
  const bool sameBlocks = blocks == FBlockCount;
  FBlockCount = blocks;
  QTextBlock block = FDocument.findBlock(edit.Position);
  if (!sameBlocks || edit.Position + edit.Added > block.position() + block.length() - 1) {
    ForgetBlocks(edit.Position, edit.Position + edit.Added);
    return;
  }
  const TColourRanges* given = RangesOf(block);
  if (given == nullptr) return;
  const int at = edit.Position - block.position();
  FScratch.clear();
  for (const TColourRange& range : *given) {
    const int end = range.Start + range.Length;
    // The text typed takes the style of the text it follows, as it mostly keeps it.
    if (range.Start < at)
      AppendRange(FScratch,
                  {range.Start, std::min(end, at) - range.Start + (end >= at ? edit.Added : 0), range.Style});
    const int after = std::max(range.Start, at + edit.Removed);
    if (end > after) AppendRange(FScratch, {after + edit.Added - edit.Removed, end - after, range.Style});
  }
  FLayouts.Moved(block, FScratch);
}

void TColourRuns::ForgetBlocks(int from, int to) {
  const int last = FDocument.characterCount() - 1;
  const QTextBlock end = FDocument.findBlock(std::clamp(to, 0, std::max(last, 0))).next();
  for (QTextBlock block = FDocument.findBlock(std::max(from, 0)); block.isValid() && block != end;
       block = block.next())
    TNearViewLayouts::Forget(block);
}

bool TColourRuns::KnowsFormats(int position) const {
  return RangesOf(FDocument.findBlock(position)) != nullptr;
}

// The blocks whose text the RTF's text covers, from the block holding textStart on. A block
// covered in part keeps its own ranges outside the RTF's text.
bool TColourRuns::ApplyRange(const TRtfDocument& rtf, std::size_t textStart) {
  const std::size_t textEnd = textStart + rtf.Text.size();
  const int first = FPositions.ToDocument(int(textStart));
  const int last = FPositions.ToDocument(int(textEnd));
  const QTextBlock firstBlock = FDocument.findBlock(first);
  const QTextBlock lastBlock = FDocument.findBlock(last);
  if ((first > firstBlock.position() && !KnowsFormats(first)) ||
      (last < lastBlock.position() + lastBlock.length() - 1 && !KnowsFormats(last)))
    return false;
  const std::vector<int> styles = StyleIndices(rtf);
  TNearViewLayouts::TUpdate update(FLayouts);
  std::size_t run = 0;
  const QTextBlock end = lastBlock.next();
  std::size_t blockStart = std::size_t(FPositions.ToPane(firstBlock.position()));
  int number = firstBlock.blockNumber();
  for (QTextBlock block = firstBlock; block.isValid() && block != end; block = block.next(), ++number) {
    const int bytes = FPositions.BlockBytes(block, number);
    const std::size_t blockEnd = blockStart + std::size_t(bytes);
    const std::size_t freshStart = std::clamp(textStart, blockStart, blockEnd);
    const std::size_t freshEnd = std::clamp(textEnd, freshStart, blockEnd);
    TColourRanges fresh;
    if (freshEnd > freshStart)
      AppendRuns(fresh, rtf, styles, run, std::ptrdiff_t(blockStart) - std::ptrdiff_t(textStart),
                 freshStart - textStart, freshEnd - textStart);
    int freshFrom = int(freshStart - blockStart);
    int freshTo = int(freshEnd - blockStart);
    if (bytes != block.length() - 1) {
      TOffsetWalk walk(block);
      freshFrom = walk.OffsetOfByte(freshFrom);
      freshTo = walk.OffsetOfByte(freshTo);
      ToOffsets(block, fresh);
    }
    FScratch.clear();
    const TColourRanges* kept = RangesOf(block);
    if (kept != nullptr) AppendKept(*kept, 0, freshFrom);
    for (const TColourRange& range : fresh) AppendRange(FScratch, range);
    if (kept != nullptr) AppendKept(*kept, freshTo, block.length() - 1);
    update.Give(block, number, FScratch);
    blockStart = blockEnd + 2;
  }
  return true;
}

// The ranges of the runs over [from, to) of the RTF text, for a block that starts at
// blockStart in it (before it, when the RTF begins inside the block).
void TColourRuns::AppendRuns(TColourRanges& ranges, const TRtfDocument& rtf, const std::vector<int>& styles,
                             std::size_t& run, std::ptrdiff_t blockStart, std::size_t from, std::size_t to) {
  const std::vector<TRtfRun>& runs = rtf.Runs;
  // The blocks are given their runs in order, so the first run a block needs lies close ahead.
  while (run < runs.size() && runs[run].Start + runs[run].Length <= from) ++run;
  for (std::size_t r = run; r < runs.size() && runs[r].Start < to; ++r) {
    const int style = styles[std::size_t(runs[r].Format)];
    if (style < 0) continue;
    const std::size_t start = std::max(runs[r].Start, from);
    const std::size_t end = std::min(runs[r].Start + runs[r].Length, to);
    if (end > start) AppendRange(ranges, {int(std::ptrdiff_t(start) - blockStart), int(end - start), style});
  }
}

// The parts of a block's own ranges within [from, to) of its text.
void TColourRuns::AppendKept(const TColourRanges& kept, int from, int to) {
  for (const TColourRange& range : kept) {
    const int start = std::max(range.Start, from);
    const int end = std::min(range.Start + range.Length, to);
    if (end > start) AppendRange(FScratch, {start, end - start, range.Style});
  }
}

// A range that continues the last one in the same style lengthens it.
void TColourRuns::AppendRange(TColourRanges& ranges, const TColourRange& range) {
  if (!ranges.empty() && ranges.back().Style == range.Style &&
      ranges.back().Start + ranges.back().Length == range.Start)
    ranges.back().Length += range.Length;
  else
    ranges.push_back(range);
}

const TColourRanges* TColourRuns::RangesOf(const QTextBlock& block) {
  const auto* data = static_cast<const TBlockRanges*>(block.userData());
  return data != nullptr ? &data->Ranges : nullptr;
}

namespace {

// Builds a document's runs in order from styles, each distinct format and font once.
class TRunWriter {
public:
  explicit TRunWriter(TRtfDocument& rtf) : FRtf(rtf) {}

  int FormatOf(TColourRuns::TStyle style) {
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
TRtfDocument TColourRuns::Document(std::string text) const {
  TRtfDocument rtf;
  rtf.Text = std::move(text);
  rtf.Fonts.push_back(FBase.Font);
  TRunWriter runs(rtf);
  const int base = runs.FormatOf(FBase);
  std::size_t blockStart = 0;
  int number = 0;
  for (QTextBlock block = FDocument.firstBlock(); block.isValid(); block = block.next(), ++number) {
    const int bytes = FPositions.BlockBytes(block, number);
    const std::size_t blockEnd = blockStart + std::size_t(bytes);
    if (const TColourRanges* ranges = RangesOf(block)) {
      std::optional<TOffsetWalk> walk;
      if (bytes != block.length() - 1) walk.emplace(block);
      const auto byteOf = [&walk](int offset) {
        return std::size_t(walk ? walk->ByteOfOffset(offset) : offset);
      };
      for (const TColourRange& range : *ranges) {
        const std::size_t start = std::min(blockStart + byteOf(range.Start), blockEnd);
        runs.Add(start, base);
        runs.Add(std::min(blockStart + byteOf(range.Start + range.Length), blockEnd),
                 runs.FormatOf(FStyles[std::size_t(range.Style)]));
      }
    }
    const bool last = !block.next().isValid();
    blockStart = blockEnd + (last ? 0 : 2);  // the CR LF of the line break
    runs.Add(blockStart, base);
  }
  return rtf;
}
