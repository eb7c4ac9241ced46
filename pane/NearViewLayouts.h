#pragma once

#include <QList>
#include <QTextCharFormat>
#include <utility>
#include <vector>

#include "pane/BlockRanges.h"

class QPlainTextDocumentLayout;
class QTextBlock;
class QTextDocument;

// Gives the layouts of the blocks near the view the formats of their colour runs, the way a
// syntax highlighter does: the document's content and undo history are never touched. A layout
// of its own for each block of a large page would cost more than its text, so a block far from
// view keeps its runs and is given their formats when it comes near.
class TNearViewLayouts {
public:
  // A line longer than LongLine gives its layout only the formats within LongLineMargin of its
  // part in view: it is laid out and drawn whole however little of it is seen.
  static constexpr int LongLine = 16384;
  static constexpr int LongLineMargin = 8192;
  // Blocks this many before or after those in view count as near it.
  static constexpr int NearBlocks = 512;

  explicit TNearViewLayouts(QTextDocument& document);

  // The format of each style index the runs use.
  void SetFormats(QList<QTextCharFormat> formats) { FFormats = std::move(formats); }
  void AddFormat(const QTextCharFormat& format) { FFormats.append(format); }

  // The document positions in view, and the part in view of each long line there.
  void SetVisible(int from, int to, std::vector<std::pair<int, int>> longLineParts = {});
  // Gives the lines near view the formats their layouts lack, and long lines those of what is
  // visible now.
  void ShowVisible();

  // An edit moved the runs of a block. Its layout is given them when next shown; a long line's
  // at once, as the layout lays it out anew when the change is told and that is costly.
  void Moved(QTextBlock& block, const TColourRanges& ranges);
  // The block holds no runs of ours, and its layout no formats of ours.
  static void Forget(QTextBlock& block);
  // Whether the layouts are being given formats: the document reports that as a change of
  // content, but its text is as it was.
  bool Applying() const { return FApplying; }

  // Blocks given their runs, the changed ones told to the document's layout as few ranges as
  // they make when the update ends. The layout answers a change it is told of by repainting the
  // whole view; for a few blocks that keep their lines only those blocks are repainted.
  class TUpdate {
  public:
    explicit TUpdate(TNearViewLayouts& layouts);
    ~TUpdate();
    TUpdate(const TUpdate&) = delete;
    TUpdate& operator=(const TUpdate&) = delete;
    // True when the block's layout changed; number is the block's number.
    bool Give(QTextBlock& block, int number, const TColourRanges& ranges);

  private:
    static constexpr int FewBlocks = 8;
    void Add(const QTextBlock& block);
    void Flush();
    void RepaintBlocks();

    TNearViewLayouts& FLayouts;
    QPlainTextDocumentLayout* FLayout;
    int FFrom = -1;
    int FTo = -1;
    int FBlocks = 0;
  };

private:
  using TSpan = std::pair<int, int>;
  bool Store(QTextBlock& block, int number, const TColourRanges& ranges);
  TSpan VisiblePart(const QTextBlock& block) const;
  TSpan ShownPart(const QTextBlock& block, TSpan visible) const;
  bool Near(int number) const;

  QTextDocument& FDocument;
  QList<QTextCharFormat> FFormats;
  bool FApplying = false;
  int FVisibleFrom = 0;
  int FVisibleTo = 0;
  std::vector<TSpan> FLongLineParts;
  int FNearFirst = 0;
  int FNearLast = NearBlocks;
};
