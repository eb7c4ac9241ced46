#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: start the editor, with a page to open or none, or end at
// once with a status, after printing to standard output or standard error.
struct TCommandLine {
  bool Start = true;
  int ExitStatus = 0;
  QString File;
  QString Output;
  QString Errors;
};

// The arguments after the program's name: at most one path, --help or --version. A second path
// or an unknown option gives the usage on standard error and status 2.
TCommandLine ParseCommandLine(const QStringList& arguments);

// Why no window can be shown, or nothing when one can: no platform is named and there is no
// X or Wayland display to connect to.
QString DisplayProblem();
