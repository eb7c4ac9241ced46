#pragma once

#include <QObject>
#include <QTimer>

// A repeating timer with an Enabled switch: enabling a running timer leaves its countdown alone,
// so only disabling and enabling again starts a fresh interval.
class TTimer : public QObject {
  Q_OBJECT

public:
  explicit TTimer(int intervalMs, bool enabled, QObject* parent = nullptr);

  bool Enabled() const { return FTimer.isActive(); }
  void SetEnabled(bool enabled);
  int Interval() const { return FTimer.interval(); }
  int RemainingTime() const { return FTimer.remainingTime(); }

signals:
  void Timer();

private:
  QTimer FTimer;
};
