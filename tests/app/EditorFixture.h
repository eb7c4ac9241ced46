#pragma once

#include "FontMetrics.h"
#include "ProgramFolder.h"
#include "RichEditPane.h"
#include "Startup.h"
#include "TestSupport.h"
#include "Unit1.h"
#include "ui_Unit1.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// The whole program as its main block builds it, with the program folder in a scratch folder
// that holds a start page; Start() shows the main window and closes the splash when it opens.
class EditorFixture : public testing::Test {
protected:
  void SetUp() override {
    StartHighlighter();
    SetProgramFolder(FFolder.path() + '/');
    WriteFileBytes(FFolder.filePath("vorn.vnx"), "<html><head><title>Start page</title></head></html>");
    CreateForms();
  }
  void TearDown() override {
    DestroyForms();
    SetProgramFolder({});
  }
  void Start() {
    WhenModalOpens([](QWidget* splash) { splash->close(); }, "TForm3");
    Form1->show();
  }
  QString Path(const QString& name) const { return FFolder.filePath(name); }
  Ui::TForm1& ui() const { return Form1->Controls(); }
  TRichEditPane& Edit1() const { return *Form1->Controls().Edit1; }

  QTemporaryDir FFolder;
};
