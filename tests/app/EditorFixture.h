#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "pane/RichEditPane.h"
#include "services/ProgramFolder.h"
#include "tests/support/BrowserSupport.h"
#include "tests/support/TestSupport.h"

// The whole program as its main block builds it, with the program folder in a scratch folder
// that holds a start page, and the home folder beside it; Start() shows the main window and
// closes the splash when it opens.
class EditorFixture : public testing::Test {
protected:
  void SetUp() override {
    FHome = qgetenv("HOME");
    QDir(FFolder.path()).mkdir("home");
    qputenv("HOME", QFile::encodeName(Path("home")));
    StartHighlighter();
    SetProgramFolder(FFolder.path() + '/');
    WriteFileBytes(FFolder.filePath("vorn.vnx"), "<html><head><title>Start page</title></head></html>");
    CreateForms();
  }
  void TearDown() override {
    CancelModalAnswers();
    DestroyForms();
    SetProgramFolder({});
    qputenv("HOME", FHome);
  }
  void Start() {
    WhenModalOpens([](QWidget* splash) { static_cast<TForm3*>(splash)->Timer1Timer(); }, "TForm3");
    Form1->show();
  }
  // Takes the text of the next error box and closes it.
  static void AnswerErrorBox(QString* text) {
    WhenModalOpens(
        [text](QWidget* box) {
          *text = static_cast<QMessageBox*>(box)->text();
          box->close();
        },
        "QMessageBox");
  }
  QString Path(const QString& name) const { return FFolder.filePath(name); }
  TRichEditPane& Edit1() const { return *Control<TRichEditPane>(Form1, "Edit1"); }

  QTemporaryDir FFolder;
  QByteArray FHome;
};
