#include "services/Timer.h"

TTimer::TTimer(int intervalMs, bool enabled, QObject* parent) : QObject(parent) {
  FTimer.setInterval(intervalMs);
  connect(&FTimer, &QTimer::timeout, this, &TTimer::Timer);
  SetEnabled(enabled);
}

void TTimer::SetEnabled(bool enabled) {
  if (!enabled)
    FTimer.stop();
  else if (!FTimer.isActive())
    FTimer.start();
}
