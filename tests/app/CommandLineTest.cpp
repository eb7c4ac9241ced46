// The command line: what it asks for, and a page named on it opened as File > Open opens one.
#include <QDir>
#include <QProcess>

#include "app/CommandLine.h"
#include "commands/FileDialogAction.h"
#include "tests/app/EditorFixture.h"

namespace {

TEST(CommandLineTest, OnePathHelpAndVersionAreUnderstoodAnythingElseIsMisuse) {
  struct TCase {
    QStringList Arguments;
    bool Start;
    int ExitStatus;
    QString File;
    bool UsageOut, UsageErr;
    QString Output;
  } cases[] = {
      {{}, true, 0, "", false, false, ""},
      {{"page.htm"}, true, 0, "page.htm", false, false, ""},
      {{"--", "-odd.htm"}, true, 0, "-odd.htm", false, false, ""},
      {{"--version"}, false, 0, "", false, false, "Vorn Web Editor Basic 3.0\n"},
      {{"-v"}, false, 0, "", false, false, "Vorn Web Editor Basic 3.0\n"},
      {{"--help"}, false, 0, "", true, false, ""},
      {{"-h", "page.htm"}, false, 0, "", true, false, ""},
      {{"a.htm", "b.htm"}, false, 2, "", false, true, ""},
      {{"--bogus"}, false, 2, "", false, true, ""},
      {{"-x", "page.htm"}, false, 2, "", false, true, ""},
  };
  for (const TCase& c : cases) {
    const TCommandLine line = ParseCommandLine(c.Arguments);
    const QString name = c.Arguments.join(' ');
    EXPECT_EQ(line.Start, c.Start) << name.toStdString();
    EXPECT_EQ(line.ExitStatus, c.ExitStatus) << name.toStdString();
    EXPECT_EQ(line.File, c.File) << name.toStdString();
    EXPECT_EQ(line.Output.startsWith("Usage: vorn [options] [FILE]\n"), c.UsageOut) << name.toStdString();
    EXPECT_EQ(line.Errors.contains("Usage: vorn [options] [FILE]\n"), c.UsageErr) << name.toStdString();
    if (c.UsageOut) continue;
    EXPECT_EQ(line.Output, c.Output) << name.toStdString();
  }
}

class GivenFileTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    FWorkingFolder = QDir::currentPath();
    QDir::setCurrent(FFolder.path());
    Start();
  }
  void TearDown() override {
    QDir::setCurrent(FWorkingFolder);
    EditorFixture::TearDown();
  }
  QString FWorkingFolder;
};

// Without a display the program says so in one line and ends with status 1, as --help runs
// without one; it never reaches Qt's abort.
TEST(CommandLineTest, WithoutADisplayTheProgramSaysSoAndEnds) {
  QProcess vorn;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) environment.remove(name);
  vorn.setProcessEnvironment(environment);
  vorn.start(VORN_PROGRAM, {QStringLiteral("page.htm")});
  ASSERT_TRUE(vorn.waitForFinished(30000));
  EXPECT_EQ(vorn.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(vorn.exitCode(), 1);
  const QByteArray errors = vorn.readAllStandardError();
  EXPECT_TRUE(errors.startsWith("vorn: no display")) << errors.toStdString();
  EXPECT_EQ(errors.count('\n'), 1);
}

TEST_F(GivenFileTest, APageNamedOnTheCommandLineOpensAsFileOpenOpensIt) {
  const QByteArray page = "<html>\r\n<b>given</b>\r\n</html>\r\n";
  WriteFileBytes(Path("page.htm"), page);
  OpenGivenFile("./page.htm");
  EXPECT_EQ(Edit1().Text(), page.toStdString());
  EXPECT_EQ(Form1->StatusPanelText(0), Path("page.htm"));
  EXPECT_EQ(Form1->CurrentFileName(), Path("page.htm"));
  EXPECT_EQ(Control<QLabel>(Form1, "lblsaved")->text(), "");   // closing asks nothing
  EXPECT_EQ(Form1->FileOpen1().FileName(), Path("page.htm"));  // the open dialog starts from it
}

TEST_F(GivenFileTest, AMissingPageIsReportedAndTheNewDocumentStays) {
  const std::string fresh = Edit1().Text();
  const QString saved = Control<QLabel>(Form1, "lblsaved")->text();
  QString message;
  AnswerErrorBox(&message);
  OpenGivenFile("missing.htm");
  EXPECT_EQ(message, "Cannot open file " + Path("missing.htm") + ".");
  EXPECT_EQ(Edit1().Text(), fresh);
  EXPECT_EQ(Form1->StatusPanelText(0), "new.htm");
  EXPECT_EQ(Control<QLabel>(Form1, "lblsaved")->text(), saved);
}

}  // namespace
