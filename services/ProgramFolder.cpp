#include "services/ProgramFolder.h"

#include <QCoreApplication>

namespace {
QString& FolderOverride() {
  static QString folder;
  return folder;
}
}  // namespace

QString ProgramFolder() {
  if (!FolderOverride().isEmpty()) return FolderOverride();
  return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

void SetProgramFolder(const QString& folder) { FolderOverride() = folder; }
