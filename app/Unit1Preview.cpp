// The preview coordination of the code window: the refresh after a pause in typing, Update
// Preview, Working offline, showing the preview and Side by side.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "app/NewDocument.h"
#include "app/Unit1.h"
#include "browser/WebBrowser.h"
#include "pane/RichEditPane.h"
#include "services/FilePath.h"
#include "services/RegularFile.h"
#include "services/Timer.h"
#include "services/VornError.h"
#include "services/WindowBounds.h"
#include "ui_Unit1.h"
#include "windows/Unit4.h"

namespace {

// Left, top, width and height of the frames.
const QRect SideBySideCode(1, 8, 499, 720);
const QRect SideBySidePreview(495, 8, 527, 720);
const QRect StackedCode(91, 5, 865, 338);
const QRect StackedPreview(91, 339, 865, 389);

// The scratch file goes only into a real folder of the user's documents. The fixed folder of an
// untitled document must be that folder itself, the user's own, not a link to somewhere else. A
// named document's folder must hold the document on its own file system: a name such as
// /dev/stdin leads to a file elsewhere, and its folder is no place for the program's file.
bool IsScratchFolder(const QString& scratch, const QString& document) {
  const QByteArray folder = QFile::encodeName(QFileInfo(scratch).absolutePath());
  struct stat status {};
  if (document == QLatin1String(UntitledFileName))
    return ::lstat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid();
  struct stat file {};
  return ::stat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
         (::stat(QFile::encodeName(document).constData(), &file) != 0 || file.st_dev == status.st_dev);
}

// The untitled document's scratch folder is made, the user's own and private, the first time
// it is needed; whatever stands there already is left for IsScratchFolder to judge.
void MakeUntitledScratchFolder(const QString& scratch) {
  const QByteArray folder = QFile::encodeName(QFileInfo(scratch).absolutePath());
  struct stat status {};
  if (::lstat(folder.constData(), &status) != 0 && errno == ENOENT) ::mkdir(folder.constData(), 0700);
}

}  // namespace

// An untitled document previews from a fixed scratch file; a named one from "temp.vnx" beside
// it, so the page's relative references resolve against the document's folder.
QString TForm1::ScratchPath() const {
  const QString name = StatusPanelText(0);
  if (name == QLatin1String(UntitledFileName))
    return QDir::homePath() + QStringLiteral("/ferrundshared/temp.vnx");
  return ExtractFilePath(name) + QStringLiteral("temp.vnx");
}

void TForm1::RefreshPreview() {
  FTimer1->SetEnabled(false);
  if (!ui->Check1->isChecked()) return;
  const QString path = ScratchPath();
  ui->Edit1->SetPlainTextMode(true);
  if (StatusPanelText(0) == QLatin1String(UntitledFileName)) MakeUntitledScratchFolder(path);
  if (!IsScratchFolder(path, StatusPanelText(0))) throw EVornError("Cannot create file " + path);
  TRegularFile::WriteOwn(path, ui->Edit1->Text());
  if (path == FCurrentFileName) KeepDiskStamp();  // a page named temp.vnx previews from itself
  Form4->WebBrowser1().Navigate(path, ui->Edit1->Encoding());
}

void TForm1::Timer1Timer() { RefreshPreview(); }

void TForm1::dxButton1Click() { RefreshPreview(); }

void TForm1::CheckBox1Click() { Form4->WebBrowser1().SetOffline(ui->CheckBox1->isChecked()); }

void TForm1::Action5Execute() { BringToFront(*Form4); }

void TForm1::check3Click() {
  const bool sideBySide = ui->check3->isChecked();
  SetOuterBounds(*this, sideBySide ? SideBySideCode : StackedCode);
  SetOuterBounds(*Form4, sideBySide ? SideBySidePreview : StackedPreview);
}
