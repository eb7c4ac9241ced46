#include "PaneFormats.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

// The ranges a block was given, the formats its layout holds.
class TPaneFormats::TBlockRanges : public QTextBlockUserData {
public:
  explicit TBlockRanges(std::vector<TRange> ranges) : Ranges(std::move(ranges)) {}
  std::vector<TRange> Ranges;
};

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
  for (QTextBlock block = FDocument.firstBlock(); block.isValid(); block = block.next()) {
    if (block.userData() == nullptr) continue;
    block.layout()->clearFormats();
    block.setUserData(nullptr);
  }
  FBase = base;
  FAppliedBlocks = -1;
  FEditedFrom = FEditedTo = -1;
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

// The changed blocks, told to the layout as few ranges as they make: neighbours join.
class TChangedRange {
public:
  explicit TChangedRange(QTextDocument& document) : FDocument(document) {}
  ~TChangedRange() { Flush(); }
  void Add(const QTextBlock& block) {
    if (FFrom >= 0 && FTo != block.position()) Flush();
    if (FFrom < 0) FFrom = block.position();
    FTo = block.position() + block.length();
  }

private:
  void Flush() {
    if (FFrom >= 0) FDocument.markContentsDirty(FFrom, FTo - FFrom);
    FFrom = -1;
  }
  QTextDocument& FDocument;
  int FFrom = -1;
  int FTo = -1;
};

}  // namespace

std::vector<int> TPaneFormats::StyleIndices(const TRtfDocument& rtf) {
  std::vector<int> styles(rtf.Formats.size());
  for (std::size_t i = 0; i < styles.size(); ++i) styles[i] = StyleIndex(StyleOf(rtf, int(i)));
  return styles;
}

// The first and the last block the edits since the last Apply touched; -1 and -1 for none.
std::pair<int, int> TPaneFormats::EditedBlocks() const {
  if (FEditedFrom < 0) return {-1, -1};
  const int lastCharacter = FDocument.characterCount() - 1;
  return {FDocument.findBlock(FEditedFrom).blockNumber(),
          FDocument.findBlock(std::min(FEditedTo, lastCharacter)).blockNumber()};
}

int TPaneFormats::Apply(const TRtfDocument& rtf) {
  const std::vector<int> styles = StyleIndices(rtf);
  const auto [firstEdited, lastEdited] = EditedBlocks();
  const std::vector<std::int32_t>& sources = rtf.LineSources;
  const int lines = FDocument.blockCount();
  FApplying = true;
  int changed = 0;
  {
    TChangedRange dirty(FDocument);
    std::size_t run = 0;
    QTextBlock block;
    for (int line = 0; line < lines; ++line) {
      const std::int32_t source = std::size_t(line) < sources.size() ? sources[std::size_t(line)] : -1;
      if (KeepsFormats(line, source, firstEdited, lastEdited)) continue;
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
  FAppliedBlocks = lines;
  FEditedFrom = FEditedTo = -1;
  return changed;
}

// After an Apply every block holds the formats of its line. A block before the edited ones
// still has its number, one after them has moved by the lines added or removed; either shows
// the line it showed then, and when the RTF's line was taken from that one, its formats stand.
bool TPaneFormats::KeepsFormats(int line, std::int32_t source, int firstEdited, int lastEdited) const {
  if (FAppliedBlocks < 0 || source < 0) return false;
  if (firstEdited < 0 || line < firstEdited) return source == line;
  if (line > lastEdited) return source == line - (FDocument.blockCount() - FAppliedBlocks);
  return false;
}

// A conservative union of the edited ranges in the document's current positions.
void TPaneFormats::TextChanged(int position, int removed, int added) {
  if (FApplying) return;
  if (FEditedFrom < 0) {
    FEditedFrom = position;
    FEditedTo = position + added;
    return;
  }
  FEditedFrom = std::min(FEditedFrom, position);
  FEditedTo = std::max(FEditedTo + std::max(added - removed, 0), position + added);
}

// The ranges of one block, from the runs that overlap [blockStart, blockEnd) of the RTF text.
void TPaneFormats::CollectRanges(const TRtfDocument& rtf, const std::vector<int>& styles, std::size_t& run,
                                 std::size_t blockStart, std::size_t blockEnd) {
  FScratch.clear();
  const std::vector<TRtfRun>& runs = rtf.Runs;
  run = std::size_t(
      std::partition_point(runs.begin() + std::ptrdiff_t(run), runs.end(),
                           [blockStart](const TRtfRun& r) { return r.Start + r.Length <= blockStart; }) -
      runs.begin());
  for (std::size_t r = run; r < runs.size() && runs[r].Start < blockEnd; ++r) {
    const int style = styles[std::size_t(runs[r].Format)];
    if (style < 0) continue;
    const int start = int(std::max(runs[r].Start, blockStart) - blockStart);
    const int end = int(std::min(runs[r].Start + runs[r].Length, blockEnd) - blockStart);
    if (end <= start) continue;
    if (!FScratch.empty() && FScratch.back().Style == style &&
        FScratch.back().Start + FScratch.back().Length == start)
      FScratch.back().Length += end - start;
    else
      FScratch.push_back({start, end - start, style});
  }
}

// Gives the block the collected ranges unless it already has them; true when it changed.
bool TPaneFormats::Store(QTextBlock& block) {
  auto* given = static_cast<TBlockRanges*>(block.userData());
  if (given != nullptr && given->Ranges == FScratch) return false;
  if (given == nullptr && FScratch.empty()) {
    block.setUserData(new TBlockRanges({}));
    return false;
  }
  QList<QTextLayout::FormatRange> formats;
  formats.reserve(qsizetype(FScratch.size()));
  for (const TRange& range : FScratch)
    formats.append({range.Start, range.Length, FFormats[std::size_t(range.Style)]});
  block.layout()->setFormats(formats);
  block.setUserData(new TBlockRanges(FScratch));
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
