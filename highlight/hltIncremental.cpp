#include "hltIncremental.h"

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

}  // namespace

ThltIncrementalRTF::ThltIncrementalRTF(std::size_t pieceSize)
    : FPieceSize(std::max<std::size_t>(pieceSize, 1)), FOpening(FScanner.Opening()) {}

ThltIncrementalRTF::TChange ThltIncrementalRTF::Reset(const std::string& text) {
  const std::size_t removed = FPieces.size();
  FPieces.assign(1, ThltScanPoint{});
  TPieces fresh;
  Rescan(text, 0, std::string::npos, 0, fresh);
  FPieces = std::move(fresh);
  FTextSize = text.size();
  return {0, removed, FPieces.size(), 0, text.size()};
}

ThltIncrementalRTF::TChange ThltIncrementalRTF::Edit(const std::string& text, std::size_t start,
                                                     std::size_t removed, std::size_t added) {
  if (FPieces.empty()) return Reset(text);
  if (start > FTextSize || removed > FTextSize - start || added > text.size() ||
      text.size() != FTextSize - removed + added)
    throw std::invalid_argument("edit outside the highlighted text");
  const std::size_t first = RestartPiece(start);
  const std::ptrdiff_t shift = std::ptrdiff_t(added) - std::ptrdiff_t(removed);
  TPieces fresh;
  const std::size_t resume = Rescan(text, first, start + added + Reach, shift, fresh);
  for (std::size_t i = resume; i < FPieces.size(); ++i)
    FPieces[i].Pos = static_cast<std::int32_t>(FPieces[i].Pos + shift);
  const TChange change{first, resume - first, fresh.size(), std::size_t(fresh.front().Pos),
                       resume < FPieces.size() ? std::size_t(FPieces[resume].Pos) : text.size()};
  const auto from = FPieces.begin() + std::ptrdiff_t(first);
  const auto kept = FPieces.erase(from, FPieces.begin() + std::ptrdiff_t(resume));
  FPieces.insert(kept, fresh.begin(), fresh.end());
  FTextSize = text.size();
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

// Only the scanner's state matters here: no token is written.
std::size_t ThltIncrementalRTF::Rescan(const std::string& text, std::size_t first, std::size_t convergeFrom,
                                       std::ptrdiff_t shift, TPieces& fresh) {
  ThltScanPoint start = FPieces[first];
  FScanner.ResumeScan(text, start);
  fresh.push_back(start);
  std::size_t old = first + 1;
  while (!FScanner.AtEnd()) {
    const ThltScanPoint point = FScanner.ScanPoint();
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
  return FPieces.size();
}

void ThltIncrementalRTF::WritePiece(const std::string& text, std::size_t index, ThltRunBuffer& runs) {
  const std::size_t end = PieceTextEnd(index);
  FScanner.ResumeScan(text, FPieces[index]);
  while (!FScanner.AtEnd()) {
    FScanner.WriteToken(runs, FScratch);
    if (std::size_t(FScanner.ScanPoint().Pos) >= end) break;
    FScanner.NextToken();
  }
}

void ThltIncrementalRTF::WriteRTF(const std::string& text, std::string& document, std::size_t first,
                                  std::size_t last) {
  ThltRunBuffer runs;
  for (std::size_t i = first; i < last; ++i) WritePiece(text, i, runs);
  document.clear();
  document.reserve(FOpening.size() + runs.View().size() + Closing().size());
  document += FOpening;
  document += runs.View();
  document += Closing();
}

std::string ThltIncrementalRTF::GetRTF(const std::string& text) {
  std::string document;
  WriteRTF(text, document, 0, FPieces.size());
  return document;
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
