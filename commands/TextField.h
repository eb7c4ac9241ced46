#pragma once

#include <QLineEdit>
#include <QWidget>

// The commands act on the focused text field: an editing pane (a Pane, a kind of
// QPlainTextEdit) or a one-line field. These tell the two apart in one place.

// The widget when it is a text field the command serves, else null.
template <typename Pane>
QWidget* AsTextField(QWidget* widget) {
  return qobject_cast<Pane*>(widget) != nullptr || qobject_cast<QLineEdit*>(widget) != nullptr ? widget
                                                                                               : nullptr;
}

// Calls onPane with the field as a pane, or onLine with it as a one-line field.
template <typename Pane, typename OnPane, typename OnLine>
auto OnTextField(QWidget* field, OnPane onPane, OnLine onLine) {
  if (auto* pane = qobject_cast<Pane*>(field)) return onPane(pane);
  return onLine(static_cast<QLineEdit*>(field));
}
