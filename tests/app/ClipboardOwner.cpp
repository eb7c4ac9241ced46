// Another program of the desktop: it takes the clipboard with the text it is given, says
// "ready" and holds the clipboard until it is stopped.
#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 2) return 2;
  QGuiApplication::clipboard()->setText(QString::fromLocal8Bit(argv[1]));
  std::puts("ready");
  std::fflush(stdout);
  return QGuiApplication::exec();
}
