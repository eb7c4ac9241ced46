// The document's file on disk as another program leaves it: a change found before Save
// overwrites it, and when the program becomes active again.
#include <QApplication>
#include <QLabel>

#include "app/Unit1.h"
#include "pane/RichEditPane.h"
#include "services/ErrorBox.h"
#include "services/RegularFile.h"
#include "services/VornError.h"
#include "ui_Unit1.h"

void TForm1::KeepDiskStamp() {
  FDiskStamp = TRegularFile::Stamp(FCurrentFileName);
  FDeclinedStamp.reset();
}

// A file touched or rewritten with the same text has lost nothing to the editor's.
bool TForm1::DiskHoldsText() const {
  const std::optional<QByteArray> bytes = TRegularFile::Read(FCurrentFileName);
  return bytes && std::string_view(bytes->constData(), std::size_t(bytes->size())) == ui->Edit1->Text();
}

// Save would replace what another program wrote since the document was opened or saved; the
// user decides, and a refusal ends the save with nothing written.
void TForm1::ConfirmOverwrite() const {
  const std::optional<TFileStamp> now = TRegularFile::Stamp(FCurrentFileName);
  if (!FDiskStamp || !now || now == FDiskStamp || DiskHoldsText()) return;
  if (!AskUser(QMessageBox::Warning,
               FCurrentFileName +
                   QStringLiteral("\n\nThis file has been changed by another program since it was opened or "
                                  "saved. Do you want to overwrite it with the text in the editor?"),
               QStringLiteral("&Overwrite"), QStringLiteral("Cancel")))
    throw EVornAbort();
}

// An unchanged document is offered the new text of its file; a changed one is left to Save,
// which asks. A file that is gone is told once, and the document is marked as changed so that
// the close offers to save the text it still holds.
void TForm1::ApplicationEvents1Activate() {
  if (!FDiskStamp || QApplication::activeModalWidget() != nullptr) return;
  const std::optional<TFileStamp> now = TRegularFile::Stamp(FCurrentFileName);
  if (now == FDiskStamp || (now && now == FDeclinedStamp)) return;
  if (!now) {
    FDiskStamp.reset();
    ui->lblsaved->setText(QStringLiteral("1"));
    TellUser(FCurrentFileName +
             QStringLiteral("\n\nThis file has been deleted or moved by another program. The text stays in "
                            "the editor; save it to write the file again."));
    return;
  }
  if (ui->lblsaved->text() == QLatin1String("1")) return;
  if (DiskHoldsText()) {
    FDiskStamp = now;
    return;
  }
  FDeclinedStamp = now;
  if (AskUser(QMessageBox::Question,
              FCurrentFileName +
                  QStringLiteral("\n\nThis file has been changed by another program. Do you want to reload "
                                 "it?"),
              QStringLiteral("&Reload"), QStringLiteral("Keep")))
    LoadDocument(FCurrentFileName);
}
