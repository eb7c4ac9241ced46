#include <QIcon>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "browser/WebBrowser.h"
#include "services/Application.h"

namespace {

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

}  // namespace

// The command line is read before anything else, so that --help and --version need no display.
int main(int argc, char** argv) {
  const TCommandLine line = ParseCommandLine(Arguments(argc, argv));
  std::fputs(line.Output.toLocal8Bit().constData(), stdout);
  std::fputs(line.Errors.toLocal8Bit().constData(), stderr);
  if (!line.Start) return line.ExitStatus;
  if (const QString problem = DisplayProblem(); !problem.isEmpty()) {
    std::fputs(("vorn: " + problem + u'\n').toLocal8Bit().constData(), stderr);
    return 1;
  }
  KeepLargeBuffersApart();
  TWebBrowser::PrepareEngine();
  // Qt is given the program's name only: every argument is the program's own, so a page named
  // "-reverse" opens and lays nothing out right to left.
  int qtArgc = 1;
  TApplication application(qtArgc, argv);
  TApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vorn-256.png")));
  StartHighlighter();
  CreateForms();
  Form1->show();
  if (!line.File.isEmpty()) OpenGivenFile(line.File);
  const int status = TApplication::exec();
  DestroyForms();
  return status;
}
