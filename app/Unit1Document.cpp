// The document commands of the code window: New, Open, Save, Save As and the close.
#include "ErrorBox.h"
#include "FileDialogAction.h"
#include "FilePath.h"
#include "RichEditPane.h"
#include "Timer.h"
#include "Unit1.h"
#include "Unit4.h"
#include "Unit5.h"
#include "WebBrowser.h"
#include "ui_Unit1.h"

namespace {
const QString kUntitled = QStringLiteral("new.htm");
}

void TForm1::SetCurrentFileName(const QString& name) {
  FCurrentFileName = name;
  SetStatusPanelText(0, FCurrentFileName);
}

void TForm1::MarkSaved() { ui->lblsaved->setText(QString()); }

void TForm1::Action1Execute() {
  const QString startPage = StartPagePath();
  FCurrentFileName = kUntitled;
  ui->Edit1->Clear();
  AppendTemplate();
  ui->Edit1->SetFocusPane();
  FTimer1->SetEnabled(false);
  Form4->WebBrowser1().Navigate(startPage);
  MarkSaved();
  SetStatusPanelText(0, FCurrentFileName);
}

void TForm1::FileOpen1Accept() {
  ui->Edit1->LoadFromFile(FFileOpen1->FileName());
  SetCurrentFileName(FFileOpen1->FileName());
  MarkSaved();
}

void TForm1::Action2Execute() {
  if (FCurrentFileName == kUntitled) {
    FFileSaveAs1->Execute();
    return;
  }
  ui->Edit1->SaveToFile(FCurrentFileName);
  MarkSaved();
}

void TForm1::FileSaveAs1BeforeExecute() { FFileSaveAs1->SetInitialDir(ExtractFilePath(FCurrentFileName)); }

void TForm1::FileSaveAs1Accept() {
  ui->Edit1->SaveToFile(FFileSaveAs1->FileName());
  SetCurrentFileName(FFileSaveAs1->FileName());
  MarkSaved();
}

// A settings file that cannot be written is reported, and the close goes on: a program folder
// that cannot be written must not keep the user from leaving with the text saved.
void TForm1::FormClose() {
  RunGuarded([this] { WriteSettings(); });
  if (ui->lblsaved->text() == QLatin1String("1")) Form5->exec();
}
