#pragma once

#include <cstddef>
#include <string>

class QTextDocument;

// A document's text as the pane gives it out: Windows-1252 bytes, CR LF for each block
// separator. It is kept up to date from each content change, re-encoding only the changed
// range, so reading the text of a large document costs a copy rather than a walk over its
// blocks. While the document holds a character that is not one byte of the code page (user
// input not yet replaced by its reference), positions no longer map one to one, and the text
// is encoded afresh from the document when next asked for.
//
// It also keeps what changed since the last TakeEdit, as the bytes between an unchanged start
// and an unchanged end, so a reader of the text after each edit need not compare it whole.
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

  explicit TPaneText(QTextDocument& document) : FDocument(document) {}

  const std::string& Bytes();
  // A change the document reports: the characters from position on, added long, are new.
  void Changed(int position, int added);
  // The document was changed without reporting every change.
  void Invalidate() { FExact = false; }
  // What changed since the last call; the first call reports the whole text.
  TEdit TakeEdit();

private:
  std::size_t ByteLength() const;

  QTextDocument& FDocument;
  std::string FBytes;
  bool FExact = false;
  bool FWhole = true;
  std::size_t FTakenSize = 0;  // the text's length at the last TakeEdit
  std::size_t FHead = 0;       // bytes at the start unchanged since then
  std::size_t FTail = 0;       // bytes at the end unchanged since then
};
