#include "pane/PanePositions.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

int TPanePositions::ToPane(const QTextDocument& document, int documentPosition) {
  const QTextBlock block = document.findBlock(documentPosition);
  return documentPosition + std::max(block.blockNumber(), 0);
}

int TPanePositions::ToDocument(const QTextDocument& document, int panePosition) {
  panePosition = std::clamp(panePosition, 0, PaneLength(document));
  // The last block whose first character lies at or before the position, each earlier separator
  // counting one more in the pane than in the document.
  int low = 0;
  int high = document.blockCount() - 1;
  while (low < high) {
    const int middle = low + (high - low + 1) / 2;
    if (document.findBlockByNumber(middle).position() + middle <= panePosition)
      low = middle;
    else
      high = middle - 1;
  }
  const QTextBlock block = document.findBlockByNumber(low);
  const int offset = std::min(panePosition - (block.position() + low), block.length() - 1);
  return block.position() + offset;
}

int TPanePositions::PaneLength(const QTextDocument& document) {
  return document.characterCount() - 1 + document.blockCount() - 1;
}
