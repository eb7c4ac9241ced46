// The preview coordination of the code window: the refresh after a pause in typing, Update
// Preview, Working offline, showing the preview and Side by side.
#include <QDir>

#include "FilePath.h"
#include "RichEditPane.h"
#include "Timer.h"
#include "Unit1.h"
#include "Unit4.h"
#include "WebBrowser.h"
#include "WindowBounds.h"
#include "ui_Unit1.h"

namespace {

// Left, top, width and height of the frames.
const QRect kSideBySideCode(1, 8, 499, 720);
const QRect kSideBySidePreview(495, 8, 527, 720);
const QRect kStackedCode(91, 5, 865, 338);
const QRect kStackedPreview(91, 339, 865, 389);

}  // namespace

// An untitled document previews from a fixed scratch file; a named one from "temp.vnx" beside
// it, so the page's relative references resolve against the document's folder.
QString TForm1::ScratchPath() const {
  const QString name = StatusPanelText(0);
  if (name == QLatin1String("new.htm")) {
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\ferrundshared\\temp.vnx");
#else
    return QDir::homePath() + QStringLiteral("/ferrundshared/temp.vnx");
#endif
  }
  return ExtractFilePath(name) + QStringLiteral("temp.vnx");
}

void TForm1::RefreshPreview() {
  FTimer1->SetEnabled(false);
  if (!ui->Check1->isChecked()) return;
  const QString path = ScratchPath();
  ui->Edit1->SetPlainTextMode(true);
  ui->Edit1->SaveToFile(path);
  Form4->WebBrowser1().Navigate(path);
}

void TForm1::Timer1Timer() { RefreshPreview(); }

void TForm1::dxButton1Click() { RefreshPreview(); }

void TForm1::CheckBox1Click() { Form4->WebBrowser1().SetOffline(ui->CheckBox1->isChecked()); }

void TForm1::Action5Execute() { BringToFront(*Form4); }

void TForm1::check3Click() {
  const bool sideBySide = ui->check3->isChecked();
  SetOuterBounds(*this, sideBySide ? kSideBySideCode : kStackedCode);
  SetOuterBounds(*Form4, sideBySide ? kSideBySidePreview : kStackedPreview);
}
