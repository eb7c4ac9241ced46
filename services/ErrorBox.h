#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <functional>

// The one place where a failure raised in a handler meets the user: the error box.
QString ErrorBoxText(const QString& message);  // the message with the full-stop rule applied
void ShowErrorBox(const QString& message);
// A question in a box of the same kind: true when the user takes the button that goes on, false
// for the other one, which is the default and Escape's, so that a hasty key changes nothing.
bool AskUser(QMessageBox::Icon icon, const QString& text, const QString& goOn, const QString& stop);
// A notice in a box of the same kind, with OK.
void TellUser(const QString& text);
// Widens a message box so that its title bar shows the whole caption.
void FitCaption(QMessageBox& box);

// Runs a handler body; a failure ends it there and is shown in the error box, so no exception
// ever crosses Qt's own frames. A body the user cancelled (EVornAbort) ends there with no box.
// Returns whether the body ran to its end.
bool RunGuarded(const std::function<void()>& body);

// Connects a signal to a handler of the form void Handler() through RunGuarded.
template <typename Sender, typename Signal, typename Receiver>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver,
                                       void (Receiver::*handler)()) {
  return QObject::connect(sender, signal, receiver,
                          [receiver, handler] { RunGuarded([&] { (receiver->*handler)(); }); });
}
