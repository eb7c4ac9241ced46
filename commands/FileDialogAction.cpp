#include "commands/FileDialogAction.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>

#include "services/Application.h"
#include "services/ErrorBox.h"
#include "services/FilePath.h"
#include "services/WindowBounds.h"

namespace {

// Patterns are ";"-separated; "*.*" means every file, as Qt's "*" does.
QString QtPatterns(const QString& patterns) {
  QStringList converted;
  for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts))
    converted << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
  return converted.join(QLatin1Char(' '));
}

// "*.htm;*.html" completes a bare name with the first pattern's extension.
QString SuffixOf(const QString& defaultExt) {
  const QString first = defaultExt.section(QLatin1Char(';'), 0, 0);
  const int dot = first.lastIndexOf(QLatin1Char('.'));
  const QString suffix = dot < 0 ? first : first.mid(dot + 1);
  return suffix.contains(QLatin1Char('*')) ? QString() : suffix;
}

}  // namespace

TFileDialogAction::TFileDialogAction(QAction* action, TKind kind, const QString& filter,
                                     const QString& defaultExt, QObject* parent)
    : QObject(parent),
      FAction(action),
      FKind(kind),
      FNameFilters(NameFilters(filter)),
      FDefaultSuffix(SuffixOf(defaultExt)) {
  ConnectGuarded(FAction, &QAction::triggered, this, &TFileDialogAction::Execute);
}

QStringList TFileDialogAction::NameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2)
    filters << parts[i] + QStringLiteral(" (") + QtPatterns(parts[i + 1]) + QLatin1Char(')');
  return filters;
}

QString TFileDialogAction::TrimFolder(const QString& folder) {
  const bool afterDriveColon = folder.size() >= 2 && folder[folder.size() - 2] == QLatin1Char(':');
  if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')) && !afterDriveColon) return folder.chopped(1);
  return folder;
}

// The dialog names the chosen filter by its description alone.
int TFileDialogAction::IndexOfFilter(const QString& shown) const {
  for (int i = 0; i < FNameFilters.size(); ++i)
    if (FNameFilters[i] == shown || FNameFilters[i].startsWith(shown + QStringLiteral(" ("))) return i;
  return 0;
}

void TFileDialogAction::Prepare(QFileDialog& dialog) const {
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                    QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(FKind == fkOpen ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setSizeGripEnabled(true);
  dialog.setNameFilters(FNameFilters);
  if (FFilterIndex >= 1 && FFilterIndex <= FNameFilters.size())
    dialog.selectNameFilter(FNameFilters[FFilterIndex - 1]);
  dialog.setDefaultSuffix(FDefaultSuffix);
  const QString folder = ExtractFilePath(FFileName);
  if (!folder.isEmpty())
    dialog.setDirectory(folder);
  else if (!FInitialDir.isEmpty())
    dialog.setDirectory(TrimFolder(FInitialDir));
  if (!FFileName.isEmpty()) dialog.selectFile(FFileName);
}

void TFileDialogAction::Execute() {
  if (FBeforeExecute) FBeforeExecute();
  QFileDialog dialog(QApplication::activeWindow());
  Prepare(dialog);
  dialog.resize(dialog.sizeHint());
  PlaceOnScreenOf(dialog, TApplication::ActiveForm());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  FFilterIndex = IndexOfFilter(dialog.selectedNameFilter()) + 1;
  Accept(dialog.selectedFiles().constFirst());
}

void TFileDialogAction::Accept(const QString& fileName) {
  FFileName = fileName;
  if (FOnAccept) FOnAccept();
}
