#pragma once

#include <string>

class QTextDocument;

// A document's text as the pane gives it out: Windows-1252 bytes, CR LF for each block
// separator. It is kept up to date from each content change, re-encoding only the changed
// range, so reading the text of a large document costs a copy rather than a walk over its
// blocks. While the document holds a character that is not one byte of the code page (user
// input not yet replaced by its reference), positions no longer map one to one, and the text
// is encoded afresh from the document when next asked for.
class TPaneText {
public:
  explicit TPaneText(QTextDocument& document) : FDocument(document) {}

  const std::string& Bytes();
  // A change the document reports: the characters from position on, added long, are new.
  void Changed(int position, int added);
  // The document was changed without reporting every change.
  void Invalidate() { FExact = false; }

private:
  std::size_t ByteLength() const;

  QTextDocument& FDocument;
  std::string FBytes;
  bool FExact = false;
};
