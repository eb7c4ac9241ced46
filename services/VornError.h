#pragma once

#include <QString>
#include <stdexcept>

// A failure raised by a service or handler. It carries the message the user sees in the
// error box; handlers do not catch it, the guard that connects every handler does.
class EVornError : public std::runtime_error {
public:
  explicit EVornError(const QString& message)
      : std::runtime_error(message.toStdString()), FMessage(message) {}

  const QString& Message() const noexcept { return FMessage; }

private:
  QString FMessage;
};
