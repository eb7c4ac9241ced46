#pragma once

#include <algorithm>

// One change of the document's content, as the document reports it: at Position, Removed
// characters became Added ones.
struct TPaneEdit {
  int Position = 0;
  int Removed = 0;
  int Added = 0;
};

// The part of the document that the edits since the last Clear touched, in its current positions:
// everything before From and from To on is text that stood before them.
class TEditSpan {
public:
  bool Empty() const { return FEmpty; }
  int From() const { return FFrom; }
  int To() const { return FTo; }
  void Clear() { FEmpty = true; }

  // An edit that leaves the span's end moves it by what it added less what it removed; one that
  // removes it, or lies beyond it, takes the span to the end of what it added.
  void Add(const TPaneEdit& edit) {
    const int end = edit.Position + edit.Added;
    if (FEmpty) {
      FFrom = edit.Position;
      FTo = end;
    } else {
      FTo = FTo >= edit.Position + edit.Removed ? FTo - edit.Removed + edit.Added : end;
      FFrom = std::min(FFrom, edit.Position);
    }
    FEmpty = false;
  }

private:
  bool FEmpty = true;
  int FFrom = 0;
  int FTo = 0;
};
