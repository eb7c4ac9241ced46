#pragma once

#include <cstddef>
#include <memory>
#include <utility>

#include "highlight/hltIncremental.h"

class TRichEditPane;

// The pane's colours kept in step with its text. The highlighted document is kept from pass to
// pass and follows each edit the pane reports; a pass hands the pane only the part of it the
// edit reached, and the whole document when the pane cannot take that part.
//
// It lives with the code window rather than beside the pane: it is the one place that knows
// both the HTML highlighter and the pane, which takes RTF from anyone and knows no HTML.
class THighlightingPass {
public:
  explicit THighlightingPass(TRichEditPane& pane);
  ~THighlightingPass();
  THighlightingPass(const THighlightingPass&) = delete;
  THighlightingPass& operator=(const THighlightingPass&) = delete;

  // Recolours the pane after a change of its text. However it ends, later loads and saves of
  // the pane read and write plain text.
  void Run();

private:
  void Recolour();
  ThltIncrementalRTF::TChange Update();
  std::pair<std::size_t, std::size_t> PiecesToRecolour(const ThltIncrementalRTF::TChange& change) const;

  TRichEditPane& FPane;
  std::unique_ptr<ThltIncrementalRTF> FDocument;
};
