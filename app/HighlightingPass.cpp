#include "app/HighlightingPass.h"

#include "pane/RichEditPane.h"

namespace {

// The pane reads and writes RTF for the length of a pass only.
class TRtfModeDuringPass {
public:
  explicit TRtfModeDuringPass(TRichEditPane& pane) : FPane(pane) { FPane.SetPlainTextMode(false); }
  ~TRtfModeDuringPass() { FPane.SetPlainTextMode(true); }
  TRtfModeDuringPass(const TRtfModeDuringPass&) = delete;
  TRtfModeDuringPass& operator=(const TRtfModeDuringPass&) = delete;

private:
  TRichEditPane& FPane;
};

// The pane's text, read where the kept document needs it.
class TPaneSource final : public ThltTextSource {
public:
  explicit TPaneSource(const TRichEditPane& pane) : FPane(pane) {}
  std::size_t Size() const override { return FPane.TextSize(); }
  void Read(std::size_t from, std::size_t count, std::string& out) const override {
    FPane.ReadText(from, count, out);
  }

private:
  const TRichEditPane& FPane;
};

}  // namespace

THighlightingPass::THighlightingPass(TRichEditPane& pane) : FPane(pane) {}

THighlightingPass::~THighlightingPass() = default;

void THighlightingPass::Run() {
  const TRtfModeDuringPass rtfMode(FPane);
  Recolour();
}

// Should the pane not take the part the change reached, it takes the whole document.
void THighlightingPass::Recolour() {
  const auto [first, last] = PiecesToRecolour(Update());
  const TPaneSource text(FPane);
  std::string rtf;
  FDocument->WriteRTF(text, rtf, first, last);
  if (!FPane.RecolourFromStream(rtf, FDocument->PieceTextStart(first)))
    FPane.LoadFromStream(FDocument->GetRTF(text));
}

// The kept document after the pane's edit; a fresh one when there is none yet or the whole
// text changed.
ThltIncrementalRTF::TChange THighlightingPass::Update() {
  const TPaneText::TEdit edit = FPane.TakeEdit();
  const TPaneSource text(FPane);
  if (FDocument && !edit.Whole) return FDocument->Edit(text, edit.Start, edit.Removed, edit.Added);
  FDocument = std::make_unique<ThltIncrementalRTF>();
  return FDocument->Reset(text);
}

// The pieces covering what the change re-scanned, grown until every line the pane cannot
// recolour in part is whole in them.
std::pair<std::size_t, std::size_t> THighlightingPass::PiecesToRecolour(
    const ThltIncrementalRTF::TChange& change) const {
  std::size_t start = change.TextStart;
  std::size_t end = change.TextEnd;
  for (;;) {
    const auto [wantedStart, wantedEnd] = FPane.RecolourRange(start, end);
    const auto pieces = FDocument->PiecesCovering(wantedStart, wantedEnd);
    const std::size_t coveredStart = FDocument->PieceTextStart(pieces.first);
    const std::size_t coveredEnd = FDocument->PieceTextEnd(pieces.second - 1);
    if (coveredStart == start && coveredEnd == end) return pieces;
    start = coveredStart;
    end = coveredEnd;
  }
}
