#include "app/CommandLine.h"

#include <QCommandLineParser>

#include "services/Application.h"

namespace {

constexpr int MisuseStatus = 2;

QString Version() { return TApplication::Title() + QStringLiteral(" 3.0"); }

// Written out rather than taken from the parser, which names the program by the running
// executable only once the application object exists.
QString Usage() {
  return QStringLiteral("Usage: vorn [options] [FILE]\n") + Version() +
         QStringLiteral(
             ": write HTML pages by hand and see them as you type.\n"
             "\n"
             "Options:\n"
             "  -h, --help     Shows this help.\n"
             "  -v, --version  Shows the version.\n"
             "\n"
             "Arguments:\n"
             "  FILE           The page to open, as File > Open would.\n");
}

TCommandLine Finish(int status, const QString& output, const QString& errors) {
  TCommandLine line;
  line.Start = false;
  line.ExitStatus = status;
  line.Output = output;
  line.Errors = errors;
  return line;
}

TCommandLine Misuse(const QString& problem) {
  return Finish(MisuseStatus, {}, QStringLiteral("vorn: ") + problem + u'\n' + Usage());
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
  parser.addOptions({help, version});
  // The parser takes the program's name first.
  if (!parser.parse(QStringList(QStringLiteral("vorn")) + arguments)) return Misuse(parser.errorText());
  if (parser.isSet(help)) return Finish(0, Usage(), {});
  if (parser.isSet(version)) return Finish(0, Version() + u'\n', {});
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) return Misuse(QStringLiteral("only one page can be opened at a time."));
  TCommandLine line;
  if (!files.isEmpty()) line.File = files.first();
  return line;
}

QString DisplayProblem() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    return {};
  return QStringLiteral("no display to show the editor on (neither DISPLAY nor WAYLAND_DISPLAY is set).");
}
