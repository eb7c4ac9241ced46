#pragma once

// Holds the caret's blink off. Each blink repaints the caret's line, and Qt shapes and draws a
// line whole however little of it is in view: on a line of megabytes the blink alone keeps a
// core busy while nothing happens. The blink is the application's setting, so it is held off
// only while the pane has the focus, when no other field of the program shows a caret.
class TSteadyCaret {
public:
  TSteadyCaret() = default;
  ~TSteadyCaret() { Set(false); }
  TSteadyCaret(const TSteadyCaret&) = delete;
  TSteadyCaret& operator=(const TSteadyCaret&) = delete;

  // Holds the blink off, or gives the application back the blink it had.
  void Set(bool steady);

private:
  int FFlashTime = -1;  // the application's blink while it is held off
};
