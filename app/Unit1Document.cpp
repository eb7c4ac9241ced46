// The document commands of the code window: New, Open, Save, Save As and the close.
#include "app/NewDocument.h"
#include "app/Unit1.h"
#include "app/Unit5.h"
#include "browser/WebBrowser.h"
#include "commands/FileDialogAction.h"
#include "pane/RichEditPane.h"
#include "services/ErrorBox.h"
#include "services/FilePath.h"
#include "services/Timer.h"
#include "ui_Unit1.h"
#include "windows/Unit4.h"

void TForm1::SetCurrentFileName(const QString& name) {
  FCurrentFileName = name;
  SetStatusPanelText(0, FCurrentFileName);
}

void TForm1::MarkSaved() { ui->lblsaved->setText(QString()); }

void TForm1::LoadDocument(const QString& path) {
  ui->Edit1->LoadFromFile(path);
  ShowEncoding();
  SetCurrentFileName(path);
  MarkSaved();
  KeepDiskStamp();
}

void TForm1::SaveDocument(const QString& path) {
  ui->Edit1->SaveToFile(path);
  SetCurrentFileName(path);
  MarkSaved();
  KeepDiskStamp();
}

void TForm1::Action1Execute() {
  const QString startPage = StartPagePath();
  FCurrentFileName = QLatin1String(UntitledFileName);
  FDiskStamp.reset();
  ui->Edit1->Clear();
  AppendTemplate();
  ui->Edit1->SetFocusPane();
  FTimer1->SetEnabled(false);
  Form4->WebBrowser1().Navigate(startPage);
  MarkSaved();
  SetStatusPanelText(0, FCurrentFileName);
}

void TForm1::FileOpen1Accept() { LoadDocument(FFileOpen1->FileName()); }

void TForm1::Action2Execute() {
  if (FCurrentFileName == QLatin1String(UntitledFileName)) {
    FFileSaveAs1->Execute();
    return;
  }
  ConfirmOverwrite();
  SaveDocument(FCurrentFileName);
}

void TForm1::FileSaveAs1BeforeExecute() { FFileSaveAs1->SetInitialDir(ExtractFilePath(FCurrentFileName)); }

void TForm1::FileSaveAs1Accept() { SaveDocument(FFileSaveAs1->FileName()); }

// A settings file that cannot be written is reported, and the close goes on: a program folder
// that cannot be written must not keep the user from leaving with the text saved.
void TForm1::FormClose() {
  RunGuarded([this] { WriteSettings(); });
  if (ui->lblsaved->text() == QLatin1String("1")) Form5->exec();
}
