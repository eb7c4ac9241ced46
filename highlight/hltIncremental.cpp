#include "highlight/hltIncremental.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace {

// How far beyond its end the scan of a token may look (the three bytes after "<", an entity's
// eight after "&", the byte after a CR), and how far before its start (the "--" or "%" before
// the ">" that ends a comment or server block). A piece start closer than this before an edit
// may depend on the edited bytes, and so may one closer than this after it.
constexpr std::size_t Reach = 16;

// A window this large is let go once read, so a whole text read once is not kept.
constexpr std::size_t KeptWindow = 256 * 1024;

}  // namespace

ThltIncrementalRTF::ThltIncrementalRTF(std::size_t pieceSize)
    : FPieceSize(std::max<std::size_t>(pieceSize, 1)), FOpening(FScanner.Opening()) {}

ThltIncrementalRTF::TChange ThltIncrementalRTF::Reset(const ThltTextSource& text) {
  const std::size_t removed = FPieces.size();
  FPieces.assign(1, ThltScanPoint{});
  TPieces fresh;
  Rescan(text, 0, std::string::npos, 0, fresh);
  FPieces = std::move(fresh);
  FTextSize = text.Size();
  return {0, removed, FPieces.size(), 0, FTextSize};
}

ThltIncrementalRTF::TChange ThltIncrementalRTF::Edit(const ThltTextSource& text, std::size_t start,
                                                     std::size_t removed, std::size_t added) {
  if (FPieces.empty()) return Reset(text);
  const std::size_t size = text.Size();
  if (start > FTextSize || removed > FTextSize - start || added > size || size != FTextSize - removed + added)
    throw std::invalid_argument("edit outside the highlighted text");
  const std::size_t first = RestartPiece(start);
  const std::ptrdiff_t shift = std::ptrdiff_t(added) - std::ptrdiff_t(removed);
  TPieces fresh;
  const std::size_t resume = Rescan(text, first, start + added + Reach, shift, fresh);
  for (std::size_t i = resume; i < FPieces.size(); ++i)
    FPieces[i].Pos = static_cast<std::int32_t>(FPieces[i].Pos + shift);
  const TChange change{first, resume - first, fresh.size(), std::size_t(fresh.front().Pos),
                       resume < FPieces.size() ? std::size_t(FPieces[resume].Pos) : size};
  // Overwritten in place where the counts allow, so a keystroke moves no later piece.
  const std::size_t common = std::min(fresh.size(), resume - first);
  const auto from = std::copy_n(fresh.begin(), common, FPieces.begin() + std::ptrdiff_t(first));
  if (fresh.size() > common)
    FPieces.insert(from, fresh.begin() + std::ptrdiff_t(common), fresh.end());
  else
    FPieces.erase(from, FPieces.begin() + std::ptrdiff_t(resume));
  FTextSize = size;
  return change;
}

// The last piece that starts far enough before the edit; the first piece, at the start of the
// text, depends on nothing before it.
std::size_t ThltIncrementalRTF::RestartPiece(std::size_t editStart) const {
  const auto after = std::upper_bound(
      FPieces.begin(), FPieces.end(), editStart,
      [](std::size_t at, const ThltScanPoint& piece) { return std::size_t(piece.Pos) + Reach > at; });
  return after == FPieces.begin() ? 0 : std::size_t(after - FPieces.begin()) - 1;
}

// The text is read a few pieces past where the scan is expected to converge, and four times as
// far each time that was not enough.
std::size_t ThltIncrementalRTF::Rescan(const ThltTextSource& text, std::size_t first,
                                       std::size_t convergeFrom, std::ptrdiff_t shift, TPieces& fresh) {
  const std::size_t from = PieceTextStart(first);
  std::size_t reach = convergeFrom == std::string::npos ? text.Size() : convergeFrom - from + 4 * FPieceSize;
  for (;;) {
    const std::size_t resume = RescanRead(text, first, convergeFrom, shift, from + reach, fresh);
    if (resume != std::string::npos) {
      ReleaseLargeWindow();
      return resume;
    }
    fresh.clear();
    reach *= 4;
  }
}

// Only the scanner's state matters here: no token is written. A token that ends closer to the
// end of the window than it may look ahead might have ended otherwise in the whole text.
std::size_t ThltIncrementalRTF::RescanRead(const ThltTextSource& text, std::size_t first,
                                           std::size_t convergeFrom, std::ptrdiff_t shift, std::size_t readTo,
                                           TPieces& fresh) {
  const std::size_t windowEnd = ReadWindow(text, PieceTextStart(first), readTo);
  const bool whole = windowEnd == text.Size();
  ThltScanPoint start = FPieces[first];
  ResumeInWindow(start);
  fresh.push_back(start);
  std::size_t old = first + 1;
  while (!FScanner.AtEnd()) {
    const ThltScanPoint point = PointInText();
    if (!whole && std::size_t(point.Pos) + Reach >= windowEnd) return std::string::npos;
    if (std::size_t(point.Pos) >= convergeFrom) {
      while (old < FPieces.size() && FPieces[old].Pos + shift < point.Pos) ++old;
      if (old < FPieces.size() && FPieces[old].Pos + shift == point.Pos && FPieces[old].SameStateAs(point))
        return old;
    }
    if (std::size_t(point.Pos - start.Pos) >= FPieceSize) {
      start = point;
      FScanner.NextToken();
      if (!FScanner.AtEnd()) fresh.push_back(start);
      continue;
    }
    FScanner.NextToken();
  }
  return whole ? FPieces.size() : std::string::npos;
}

// A piece ends where the next one starts, in place and in state: tokens of no text may follow
// one another at one place, and the next piece may start after any of them.
void ThltIncrementalRTF::WritePiece(std::size_t index, ThltRunBuffer& runs) {
  const std::size_t end = PieceTextEnd(index);
  const bool last = index + 1 == FPieces.size();
  ResumeInWindow(FPieces[index]);
  while (!FScanner.AtEnd()) {
    FScanner.WriteToken(runs, FScratch);
    const ThltScanPoint point = PointInText();
    if (std::size_t(point.Pos) > end ||
        (!last && std::size_t(point.Pos) == end && point.SameStateAs(FPieces[index + 1])))
      break;
    FScanner.NextToken();
  }
}

// Every piece ends where a token ends, and its tokens look no further than that past it.
void ThltIncrementalRTF::WriteRTF(const ThltTextSource& text, std::string& document, std::size_t first,
                                  std::size_t last) {
  if (first < last) ReadWindow(text, PieceTextStart(first), PieceTextEnd(last - 1) + Reach);
  ThltRunBuffer runs;
  for (std::size_t i = first; i < last; ++i) WritePiece(i, runs);
  ReleaseLargeWindow();
  document.clear();
  document.reserve(FOpening.size() + runs.View().size() + Closing().size());
  document += FOpening;
  document += runs.View();
  document += Closing();
}

std::string ThltIncrementalRTF::GetRTF(const ThltTextSource& text) {
  std::string document;
  WriteRTF(text, document, 0, FPieces.size());
  return document;
}

// The window also holds the bytes a token at from may look back at.
std::size_t ThltIncrementalRTF::ReadWindow(const ThltTextSource& text, std::size_t from, std::size_t to) {
  FWindowStart = from > Reach ? from - Reach : 0;
  const std::size_t end = std::min(to, text.Size());
  FWindow.clear();
  text.Read(FWindowStart, end - FWindowStart, FWindow);
  return end;
}

void ThltIncrementalRTF::ResumeInWindow(const ThltScanPoint& point) {
  ThltScanPoint local = point;
  local.Pos = static_cast<std::int32_t>(std::size_t(point.Pos) - FWindowStart);
  FScanner.ResumeScan(FWindow, local);
}

ThltScanPoint ThltIncrementalRTF::PointInText() const {
  ThltScanPoint point = FScanner.ScanPoint();
  point.Pos = static_cast<std::int32_t>(std::size_t(point.Pos) + FWindowStart);
  return point;
}

void ThltIncrementalRTF::ReleaseLargeWindow() {
  if (FWindow.capacity() > KeptWindow) std::string().swap(FWindow);
}

std::pair<std::size_t, std::size_t> ThltIncrementalRTF::PiecesCovering(std::size_t start,
                                                                       std::size_t end) const {
  const auto startsAfter = [](std::size_t at, const ThltScanPoint& piece) {
    return std::size_t(piece.Pos) > at;
  };
  const auto first = std::upper_bound(FPieces.begin(), FPieces.end(), start, startsAfter);
  const auto last = std::lower_bound(
      first, FPieces.end(), end,
      [](const ThltScanPoint& piece, std::size_t at) { return std::size_t(piece.Pos) < at; });
  const std::size_t from = first == FPieces.begin() ? 0 : std::size_t(first - FPieces.begin()) - 1;
  return {from, std::max(std::size_t(last - FPieces.begin()), from + 1)};
}
