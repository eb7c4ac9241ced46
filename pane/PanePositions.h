#pragma once

#include <vector>

#include "pane/PaneEdit.h"
#include "text/TextEncoding.h"

class QStringView;
class QTextBlock;
class QTextDocument;

// Converts between positions in a text document, where a block separator is one character and
// a character one or two UTF-16 units, and positions in the pane's text: its bytes in the
// document's encoding, a line break CR LF. In Windows-1252 a character is one byte, and both
// directions are logarithmic in the number of blocks. In UTF-8 each block's bytes beyond its
// units are kept and summed from the first block as far as a conversion needs; an edit makes
// the sums stale from its block on, so a conversion near the caret costs what lies between.
class TPanePositions {
public:
  explicit TPanePositions(QTextDocument& document) : FDocument(document) {}

  TTextEncoding Encoding() const { return FEncoding; }
  // Counts the bytes of every block anew.
  void SetEncoding(TTextEncoding encoding);
  // Every change of the document's content, before anything converts a position.
  void Changed(const TPaneEdit& edit);

  int ToPane(int documentPosition) const;
  // A position inside a CR LF maps to the end of its line, one inside a character of several
  // bytes to that character's start, positions beyond the text to its end.
  int ToDocument(int panePosition) const;
  int PaneLength() const;
  // The bytes of a block's text, its line break not counted.
  int BlockBytes(const QTextBlock& block, int number) const;
  // Within a block: the byte offset of a character offset, and the character offset of the
  // character a byte offset lies in (the block's end beyond it).
  int ByteInBlock(const QTextBlock& block, int number, int offset) const;
  int OffsetInBlock(const QTextBlock& block, int number, int byte) const;

private:
  bool Utf8() const { return FEncoding == TTextEncoding::Utf8; }
  static int ExtraOf(QStringView text);
  static int ExtraOf(const QTextBlock& block);
  int ExtraOf(int from, int to) const;  // document positions
  int ByteStart(const QTextBlock& block, int number) const;
  int ExtraBefore(int number) const;
  QTextBlock BlockOfByte(int panePosition, int& number) const;

  QTextDocument& FDocument;
  TTextEncoding FEncoding = TTextEncoding::Windows1252;
  std::vector<int> FExtra;  // each block's bytes beyond its characters, in UTF-8
  long long FTotalExtra = 0;
  mutable std::vector<int> FBefore;  // FBefore[n]: the extra bytes of the blocks before block n
  mutable int FKnown = 0;            // FBefore holds the sums up to block FKnown
};
