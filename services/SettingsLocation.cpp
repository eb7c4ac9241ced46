#include "services/SettingsLocation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

#include "services/ProgramFolder.h"

namespace {
const QString FileName = QStringLiteral("vorn.ini");
}  // namespace

TSettingsLocation SettingsLocation(const QString& programFolder, bool programFolderWritable,
                                   const QString& configFolder) {
  const QString beside = QDir(programFolder).filePath(FileName);
  if (programFolderWritable) return {beside, beside};
  const QString own = QDir(configFolder).filePath(QStringLiteral("vorn/") + FileName);
  return {QFileInfo::exists(own) ? own : beside, own};
}

TSettingsLocation ProgramSettingsLocation() {
  const QString folder = ProgramFolder();
  const bool writable = ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
  return SettingsLocation(folder, writable,
                          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

void MakeSettingsFolder(const TSettingsLocation& location) {
  const QString folder = QFileInfo(location.WritePath).absolutePath();
  QString made;
  for (const QString& part : folder.split(u'/', Qt::SkipEmptyParts)) {
    made += QLatin1Char('/') + part;
    if (::mkdir(QFile::encodeName(made).constData(), 0700) != 0 && errno != EEXIST) return;
  }
}
