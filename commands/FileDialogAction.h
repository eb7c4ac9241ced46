#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QFileDialog;

// A file action that owns its open or save dialog for the program's life. The dialog keeps the
// stored filter and default extension, the initial folder a handler sets, and the file name and
// filter of the last confirmed use. Running it: the before-run handler, the dialog, and on
// confirmation the accept handler; a cancelled dialog changes nothing.
class TFileDialogAction : public QObject {
  Q_OBJECT

public:
  enum TKind { fkOpen, fkSave };

  TFileDialogAction(QAction* action, TKind kind, const QString& filter, const QString& defaultExt,
                    QObject* parent = nullptr);

  // "Desc|*.a;*.b|Desc2|*.*" as the dialog shows it: each description with its patterns.
  static QStringList NameFilters(const QString& filter);
  static QString TrimFolder(const QString& folder);

  void SetBeforeExecute(std::function<void()> handler) { FBeforeExecute = std::move(handler); }
  void SetOnAccept(std::function<void()> handler) { FOnAccept = std::move(handler); }

  QString FileName() const { return FFileName; }
  int FilterIndex() const { return FFilterIndex; }
  QString InitialDir() const { return FInitialDir; }
  void SetInitialDir(const QString& folder) { FInitialDir = folder; }
  QAction* Action() const { return FAction; }

  void Execute();
  // What a confirmed dialog does with its file: the name taken, the accept handler run.
  void Accept(const QString& fileName);

private:
  void Prepare(QFileDialog& dialog) const;
  int IndexOfFilter(const QString& shown) const;

  QAction* FAction;
  TKind FKind;
  QStringList FNameFilters;
  QString FDefaultSuffix;
  QString FFileName;
  int FFilterIndex = 1;
  QString FInitialDir;
  std::function<void()> FBeforeExecute;
  std::function<void()> FOnAccept;
};
