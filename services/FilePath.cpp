#include "services/FilePath.h"

QString ExtractFilePath(const QString& path) { return path.left(path.lastIndexOf(QLatin1Char('/')) + 1); }
