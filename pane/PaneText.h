#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "pane/PaneEdit.h"
#include "pane/PanePositions.h"

class QTextDocument;

// A document's text as the pane gives it out: its bytes in the document's encoding, CR LF for
// each block separator. Any part of it is read from the document itself, so the text is not held
// twice and an edit costs nothing beyond its own range. That needs positions that map to the
// bytes: while the document holds a character the encoding cannot hold (user input not yet
// replaced by its reference), the text is encoded whole and the encoding read instead, until
// the next change.
//
// It also keeps what changed since the last TakeEdit, as the span of the document the edits
// touched, so a reader of the text after each edit need not compare it whole.
class TPaneText {
public:
  // Removed bytes at Start of the text at the last TakeEdit became Added bytes; Whole when
  // nothing of that text is known to stand.
  struct TEdit {
    std::size_t Start = 0;
    std::size_t Removed = 0;
    std::size_t Added = 0;
    bool Whole = true;
  };

  TPaneText(QTextDocument& document, const TPanePositions& positions)
      : FDocument(document), FPositions(positions) {}

  std::string Bytes();
  std::size_t Size();
  // Appends the count bytes at from to out; the range lies within the text.
  void Read(std::size_t from, std::size_t count, std::string& out);
  // Whether the text at from goes on with bytes.
  bool Holds(std::size_t from, std::string_view bytes);
  void Changed(const TPaneEdit& edit);
  // The document was changed without reporting every change.
  void Invalidate();
  // What changed since the last call; the first call reports the whole text.
  TEdit TakeEdit();

private:
  void Settle();
  void ReadDocument(std::size_t from, std::size_t count, std::string& out) const;
  std::string EncodedRange(int from, int to) const;  // document positions
  void DropEncoding();
  std::size_t ByteLength() const;

  QTextDocument& FDocument;
  const TPanePositions& FPositions;
  std::string FEncoding;  // the whole text, while FEncoded
  bool FEncoded = false;
  bool FExact = false;  // positions map one to one, and FSize is the text's length
  bool FWhole = true;
  std::size_t FSize = 0;
  std::size_t FTakenSize = 0;  // the text's length at the last TakeEdit
  TEditSpan FChanged;          // what the edits since then touched
};
