#pragma once

#include <QTextCharFormat>
#include <string>
#include <vector>

#include "pane/BlockRanges.h"
#include "pane/PaneEdit.h"
#include "pane/PanePositions.h"
#include "text/RtfDocument.h"

class QTextBlock;
class QTextDocument;
class TNearViewLayouts;

// The colours and other character formats of a pane, kept as the runs of each block and moved
// with its text as edits change it. The RTF counts bytes of the document's encoding; a block
// keeps its runs in its own characters. A recolouring compares each block's runs with its new ones,
// and hands only the blocks whose runs differ to the layouts.
class TColourRuns {
public:
  // The pane's own font; a run in exactly this style needs no format of its own.
  struct TStyle {
    TRtfFormat Format;  // Format.Font is unused; the font is named below
    TRtfFont Font;
    bool operator==(const TStyle& other) const { return Format == other.Format && Font == other.Font; }
  };

  TColourRuns(QTextDocument& document, const TPanePositions& positions, TNearViewLayouts& layouts);

  static TStyle StyleOf(const TRtfDocument& rtf, int format);
  const TStyle& Base() const { return FBase; }
  // Forgets every run and the runs every block was given.
  void Reset(const TStyle& base);

  // Gives the blocks the RTF's runs. The RTF's text must be the document's text, CR LF for each
  // block separator. Returns the number of blocks whose layout changed.
  int Apply(const TRtfDocument& rtf);
  // Gives the blocks a part of the document's text covers its runs, keeping the runs of the
  // rest. The RTF's text must be the document's CR LF text from textStart on; a block it covers
  // only in part must hold known runs (KnowsFormats). False when one does not; nothing is
  // changed then.
  bool ApplyRange(const TRtfDocument& rtf, std::size_t textStart);
  // Whether the block at a position holds the runs of its current text: an edit within one
  // block moves its runs with the text, one that adds or joins blocks forgets theirs.
  bool KnowsFormats(int position) const;

  // Every change of the document's content, so the runs move with the text.
  void Moved(const TPaneEdit& edit);

  // The runs of the document's current formats over text, the document's text as CR LF text.
  TRtfDocument Document(std::string text) const;

private:
  int StyleIndex(const TStyle& style);
  std::vector<int> StyleIndices(const TRtfDocument& rtf);
  void ForgetBlocks(int from, int to);
  QTextCharFormat CharFormat(const TStyle& style) const;
  static void AppendRuns(TColourRanges& ranges, const TRtfDocument& rtf, const std::vector<int>& styles,
                         std::size_t& run, std::ptrdiff_t blockStart, std::size_t from, std::size_t to);
  void AppendKept(const TColourRanges& kept, int from, int to);
  static void AppendRange(TColourRanges& ranges, const TColourRange& range);
  static const TColourRanges* RangesOf(const QTextBlock& block);

  QTextDocument& FDocument;
  const TPanePositions& FPositions;
  TNearViewLayouts& FLayouts;
  TStyle FBase;
  std::vector<TStyle> FStyles;
  TColourRanges FScratch;
  int FBlockCount;  // the document's blocks after the last change seen
};
