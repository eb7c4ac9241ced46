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

// The user chose not to go on, answering a question: the handler ends there as after a failure,
// with nothing to report.
class EVornAbort : public std::exception {
public:
  const char* what() const noexcept override { return "Operation aborted"; }
};
