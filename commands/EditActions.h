#pragma once

#include <QObject>

class QAction;
class QWidget;

// Gives the Copy, Cut and Paste actions their behaviour: each works on whichever text field has
// the focus, and each is enabled only while it can do something there. The states are brought
// up to date whenever the application goes idle and again just before an action runs. Whether
// the clipboard holds text is asked only when the clipboard changes: on a desktop each question
// is a round trip to the display server, too slow for every pause in typing.
class TEditActions : public QObject {
  Q_OBJECT

public:
  TEditActions(QAction* copy, QAction* cut, QAction* paste, QObject* parent = nullptr);

  void Update();

private:
  static QWidget* FocusedTextField();
  void Run(QAction* action, void (*operation)(QWidget*));

  QAction* FCopy;
  QAction* FCut;
  QAction* FPaste;
  bool FClipboardHasText;
};
