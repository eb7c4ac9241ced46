#include "ProgramFolder.h"

#include <QCoreApplication>

#include <algorithm>

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

QString ExtractFilePath(const QString& path) {
#ifdef Q_OS_WIN
  const int cut = std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                            path.lastIndexOf(QLatin1Char(':'))});
#else
  const int cut = path.lastIndexOf(QLatin1Char('/'));
#endif
  return path.left(cut + 1);
}
