#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "highlight/hltHTML.h"
#include "highlight/hltStream.h"
#include "highlight/hltTextSource.h"

// The highlighted document of a text that changes a little at a time, kept as the points the
// scanner passed at the start of each piece of about a piece size of source bytes. After an
// edit the scan resumes at the last piece start that the edit cannot have influenced and stops
// at the first old piece start, past the edit, where it arrives in the same state: from there
// on the old pieces are the new ones. So an edit costs the lines it can change, and any run of
// pieces can be written from its own start, byte for byte what ThltHTMLRTF writes for the
// whole text there. A "<!--" typed at the top changes the state at every piece start after it,
// and so is scanned to the end. The text is read only around what is scanned, so an edit reads
// about as much of it as it changes.
class ThltIncrementalRTF {
public:
  static constexpr std::size_t DefaultPieceSize = 1024;

  // What an edit replaced: pieces First to First + Removed - 1 of the old document became
  // pieces First to First + Added - 1; the text those new pieces cover starts at TextStart and
  // ends before TextEnd.
  struct TChange {
    std::size_t First = 0;
    std::size_t Removed = 0;
    std::size_t Added = 0;
    std::size_t TextStart = 0;
    std::size_t TextEnd = 0;
  };

  // A piece ends at the first token end at least pieceSize bytes after its start.
  explicit ThltIncrementalRTF(std::size_t pieceSize = DefaultPieceSize);

  // The document of a whole new text.
  TChange Reset(const ThltTextSource& text);
  // The document after an edit that replaced removed bytes at start by added bytes: text is the
  // whole text after it, read only during the call.
  TChange Edit(const ThltTextSource& text, std::size_t start, std::size_t removed, std::size_t added);

  std::size_t PieceCount() const { return FPieces.size(); }
  // Where in the text a piece begins, and where it ends.
  std::size_t PieceTextStart(std::size_t index) const { return std::size_t(FPieces[index].Pos); }
  std::size_t PieceTextEnd(std::size_t index) const {
    return index + 1 < FPieces.size() ? PieceTextStart(index + 1) : FTextSize;
  }
  // The fewest pieces whose text covers [start, end): the first, and one past the last.
  std::pair<std::size_t, std::size_t> PiecesCovering(std::size_t start, std::size_t end) const;
  std::string_view Opening() const { return FOpening; }
  static std::string_view Closing() { return ThltRTFSyntax::Closing(); }

  // The documents below are written from text, the text of the last Reset or Edit, each piece
  // scanned from its own start.
  // The document of the text of pieces first to last - 1 alone: the opening, their runs and the
  // closing.
  void WriteRTF(const ThltTextSource& text, std::string& document, std::size_t first, std::size_t last);
  // The whole document.
  std::string GetRTF(const ThltTextSource& text);

private:
  using TPieces = std::vector<ThltScanPoint>;

  std::size_t RestartPiece(std::size_t editStart) const;
  // Scans text from the start of FPieces[first] into fresh pieces, until the end of the text
  // or until, at or after convergeFrom, the scan meets an old piece start (its position moved
  // by shift) in the same state; returns the index of that old piece, or the piece count.
  std::size_t Rescan(const ThltTextSource& text, std::size_t first, std::size_t convergeFrom,
                     std::ptrdiff_t shift, TPieces& fresh);
  // Rescan over the text read up to readTo; npos, with fresh to be dropped, when the scan came
  // so near the end of what was read that what lies beyond might have changed it.
  std::size_t RescanRead(const ThltTextSource& text, std::size_t first, std::size_t convergeFrom,
                         std::ptrdiff_t shift, std::size_t readTo, TPieces& fresh);
  void WritePiece(std::size_t index, ThltRunBuffer& runs);

  // The text from a little before from up to to, or to its end, becomes the window the scanner
  // reads; returns where the window ends in the text.
  std::size_t ReadWindow(const ThltTextSource& text, std::size_t from, std::size_t to);
  void ResumeInWindow(const ThltScanPoint& point);
  ThltScanPoint PointInText() const;
  void ReleaseLargeWindow();

  std::size_t FPieceSize;
  ThltHTMLRTF FScanner;
  std::string FOpening;
  TPieces FPieces;
  std::size_t FTextSize = 0;
  std::string FScratch;
  std::string FWindow;
  std::size_t FWindowStart = 0;
};
