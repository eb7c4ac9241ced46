#pragma once

#include <QTextCharFormat>
#include <utility>
#include <vector>

#include "text/RtfDocument.h"

class QTextBlock;
class QTextDocument;

// The colours and other character formats of a pane, laid over its blocks as layout formats the
// way a syntax highlighter does: the document's content and undo history are never touched.
// Each block remembers the ranges it was given, so a recolouring compares cheaply and changes
// only the blocks whose formats differ.
class TPaneFormats {
public:
  // The pane's own font; a run in exactly this style needs no format of its own.
  struct TStyle {
    TRtfFormat Format;  // Format.Font is unused; the font is named below
    TRtfFont Font;
    bool operator==(const TStyle& other) const { return Format == other.Format && Font == other.Font; }
  };

  explicit TPaneFormats(QTextDocument& document);

  static TStyle StyleOf(const TRtfDocument& rtf, int format);
  const TStyle& Base() const { return FBase; }
  // Forgets every format and the ranges every block was given.
  void Reset(const TStyle& base);

  // Lays the runs over the blocks. The RTF's text must be the document's text, CR LF for each
  // block separator. Returns the number of blocks changed.
  int Apply(const TRtfDocument& rtf);

  // Lays the runs of a part of the document's text over the blocks it covers, keeping the
  // formats of the rest. The RTF's text must be the document's CR LF text from textStart on; a
  // block it covers only in part must hold known formats (KnowsFormats). False when one does
  // not; nothing is changed then.
  bool ApplyRange(const TRtfDocument& rtf, std::size_t textStart);
  // Whether the block at a position holds the formats of its current text: an edit within one
  // block moves its formats with the text, one that adds or joins blocks forgets theirs.
  bool KnowsFormats(int position) const;
  bool Applying() const { return FApplying; }
  // The document positions in view, and the part in view of each long line there. A line
  // longer than LongLine gives its layout only the formats within LongLineMargin of its part;
  // ShowVisible gives the lines near view the formats their layouts lack, and long lines those
  // of what is visible now.
  static constexpr int LongLine = 16384;
  static constexpr int LongLineMargin = 8192;
  // Blocks this many before or after those in view count as near it: their layouts hold their
  // formats; the layouts of blocks farther away are given theirs when they come near.
  static constexpr int NearBlocks = 512;
  void SetVisible(int from, int to, std::vector<std::pair<int, int>> longLineParts = {});
  void ShowVisible();

  // Every change of the document's content, so the formats move with the text.
  void TextChanged(int position, int removed, int added);

  // The runs of the document's current formats over text, the document's text as CR LF text.
  TRtfDocument Document(std::string text) const;

private:
  struct TRange {
    int Start;
    int Length;
    int Style;
    bool operator==(const TRange& other) const {
      return Start == other.Start && Length == other.Length && Style == other.Style;
    }
  };
  class TBlockRanges;
  using TSpan = std::pair<int, int>;

  int StyleIndex(const TStyle& style);
  std::vector<int> StyleIndices(const TRtfDocument& rtf);
  void MoveWithEdit(int position, int removed, int added);
  void ForgetBlocks(int from, int to);
  QTextCharFormat CharFormat(const TStyle& style) const;
  void CollectRanges(const TRtfDocument& rtf, const std::vector<int>& styles, std::size_t& run,
                     std::size_t blockStart, std::size_t blockEnd);
  void AppendRuns(const TRtfDocument& rtf, const std::vector<int>& styles, std::size_t& run,
                  std::ptrdiff_t blockStart, std::size_t from, std::size_t to);
  void AppendKept(const std::vector<TRange>& kept, int from, int to);
  void AppendRange(const TRange& range);
  bool Store(QTextBlock& block);
  TSpan VisiblePart(const QTextBlock& block) const;
  bool Near(const QTextBlock& block) const;
  void Forget(QTextBlock& block);
  static const std::vector<TRange>* RangesOf(const QTextBlock& block);

  QTextDocument& FDocument;
  TStyle FBase;
  std::vector<TStyle> FStyles;
  std::vector<QTextCharFormat> FFormats;
  std::vector<TRange> FScratch;
  bool FApplying = false;
  int FBlockCount;  // the document's blocks after the last change seen
  int FVisibleFrom = 0;
  int FVisibleTo = 0;
  std::vector<TSpan> FLongLineParts;
  int FNearFirst = 0;
  int FNearLast = NearBlocks;
};
