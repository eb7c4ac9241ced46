#include "pane/SteadyCaret.h"

#include <QGuiApplication>
#include <QStyleHints>

// Text fields follow the setting as it changes: a flash time of 0 shows their caret steadily.
void TSteadyCaret::Set(bool steady) {
  if (steady == (FFlashTime >= 0)) return;
  QStyleHints* hints = QGuiApplication::styleHints();
  if (steady) {
    FFlashTime = hints->cursorFlashTime();
    hints->setCursorFlashTime(0);
  } else {
    hints->setCursorFlashTime(FFlashTime);
    FFlashTime = -1;
  }
}
