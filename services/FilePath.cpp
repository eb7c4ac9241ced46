#include "services/FilePath.h"

#include <algorithm>

QString ExtractFilePath(const QString& path) {
#ifdef Q_OS_WIN
  const int cut = std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                            path.lastIndexOf(QLatin1Char(':'))});
#else
  const int cut = path.lastIndexOf(QLatin1Char('/'));
#endif
  return path.left(cut + 1);
}
