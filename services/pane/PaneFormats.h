#pragma once

#include <QTextCharFormat>
#include <utility>
#include <vector>

#include "RtfDocument.h"

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

  explicit TPaneFormats(QTextDocument& document) : FDocument(document) {}

  static TStyle StyleOf(const TRtfDocument& rtf, int format);
  const TStyle& Base() const { return FBase; }
  // Forgets every format and the ranges every block was given.
  void Reset(const TStyle& base);

  // Lays the runs over the blocks. The RTF's text must be the document's text, CR LF for each
  // block separator. A line the reader took unchanged from the line of the RTF applied before
  // (TRtfDocument::LineSources) that the same block, untouched since, showed then, keeps its
  // formats without the block being visited. Returns the number of blocks changed.
  int Apply(const TRtfDocument& rtf);

  // Every change of the document's content, so Apply knows which blocks were edited.
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

  int StyleIndex(const TStyle& style);
  std::vector<int> StyleIndices(const TRtfDocument& rtf);
  std::pair<int, int> EditedBlocks() const;
  QTextCharFormat CharFormat(const TStyle& style) const;
  bool KeepsFormats(int line, std::int32_t source, int firstEdited, int lastEdited) const;
  void CollectRanges(const TRtfDocument& rtf, const std::vector<int>& styles, std::size_t& run,
                     std::size_t blockStart, std::size_t blockEnd);
  bool Store(QTextBlock& block);
  static const std::vector<TRange>* RangesOf(const QTextBlock& block);

  QTextDocument& FDocument;
  TStyle FBase;
  std::vector<TStyle> FStyles;
  std::vector<QTextCharFormat> FFormats;
  std::vector<TRange> FScratch;
  bool FApplying = false;
  int FAppliedBlocks = -1;  // the blocks at the last Apply, -1 when none holds formats of its line
  int FEditedFrom = -1;     // the document positions edited since the last Apply, -1 for none
  int FEditedTo = -1;
};
