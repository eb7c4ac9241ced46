#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;
class TFindDialog;

// The Find command: it is enabled while the main window's focused text field holds text, and
// running it makes that field the target and opens the find dialog (or brings it forward). Each
// Find Next searches the target once and forgets it, so the next search needs the command again.
class TFindAction : public QObject {
  Q_OBJECT

public:
  TFindAction(QAction* action, QWidget* window);

  TFindDialog& Dialog() const { return *FDialog; }
  QWidget* Target() const { return FTarget; }
  void Update();
  void Execute();
  void SearchStep();

private:
  QWidget* FocusedTextField() const;

  QAction* FAction;
  TFindDialog* FDialog;
  QPointer<QWidget> FTarget;
  QPointer<QWidget> FOwnFocus;  // the last control to have the focus that is not a menu
};
