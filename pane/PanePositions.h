#pragma once

class QTextDocument;

// Converts between positions in a text document, where a block separator is one character, and
// positions in the pane's text, where a line break is CR LF and counts two. Both directions are
// logarithmic in the number of blocks.
class TPanePositions {
public:
  static int ToPane(const QTextDocument& document, int documentPosition);
  // A position inside a CR LF maps to the end of its line; positions beyond the text to its end.
  static int ToDocument(const QTextDocument& document, int panePosition);
  static int PaneLength(const QTextDocument& document);
};
