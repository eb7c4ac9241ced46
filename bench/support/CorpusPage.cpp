#include "bench/support/CorpusPage.h"

#include <QFile>
#include <QString>

std::string CorpusPage(const char* corpusDir, std::size_t size) {
  static const char* pages[] = {"rust-book-print.html", "py311-library-stdtypes.html",
                                "git-config.html",      "sqlite-vdbe.html",
                                "libxslt-xslt.html",    "fontconfig-user.html"};
  std::string page;
  while (page.size() < size) {
    for (const char* name : pages) {
      QFile file(QStringLiteral("%1/%2").arg(QString::fromLocal8Bit(corpusDir), QLatin1String(name)));
      if (!file.open(QIODevice::ReadOnly)) continue;
      page += file.readAll().replace('\0', ' ').replace("\r\n", "\n").replace("\n", "\r\n").toStdString();
      if (page.size() >= size) break;
    }
    if (page.empty()) return std::string(size, 'x');
  }
  page.resize(size);
  return page;
}
