#include "bench/support/CorpusPage.h"

#include <QFile>
#include <QString>
#include <initializer_list>

namespace {

std::string PagesEndToEnd(const char* corpusDir, std::size_t size, std::initializer_list<const char*> pages) {
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

}  // namespace

std::string CorpusPage(const char* corpusDir, std::size_t size) {
  return PagesEndToEnd(corpusDir, size,
                       {"rust-book-print.html", "py311-library-stdtypes.html", "git-config.html",
                        "sqlite-vdbe.html", "libxslt-xslt.html", "fontconfig-user.html"});
}

// The pages written in UTF-8 that hold text beyond ASCII; a character the size cuts is left out.
std::string Utf8CorpusPage(const char* corpusDir, std::size_t size) {
  std::string page = PagesEndToEnd(corpusDir, size, {"rust-book-print.html", "py311-library-stdtypes.html"});
  std::size_t lead = page.size();
  while (lead > 0 && (static_cast<unsigned char>(page[lead - 1]) & 0xC0) == 0x80) --lead;
  if (lead == 0) return page;
  const auto first = static_cast<unsigned char>(page[lead - 1]);
  const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
  if (lead - 1 + length > page.size()) page.resize(lead - 1);
  return page;
}
