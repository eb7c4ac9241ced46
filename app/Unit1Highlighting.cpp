// The highlighting pass that runs on every change of the pane, and the caret tracking.
#include "app/HighlightingPass.h"
#include "app/Unit1.h"
#include "pane/RichEditPane.h"
#include "services/IntegerText.h"
#include "services/Timer.h"
#include "ui_Unit1.h"

void TForm1::Edit1Change() {
  TRichEditPane& pane = *ui->Edit1;
  ui->Edit2->setText(QString::number(pane.CaretLine()));
  ui->lblsaved->setText(QStringLiteral("1"));
  FTimer1->SetEnabled(false);
  const int selStart = pane.SelStart();
  FHighlighting->Run();
  pane.SetSelStart(selStart);
  pane.ScrollCaret();
  pane.SetFocusPane();
  // The caret may stand where it stood while the lines around it changed (a Delete joining two
  // lines), so no selection change tells the status bar.
  ShowCaretLine();
  FTimer1->SetEnabled(true);
}

void TForm1::ShowCaretLine() {
  TRichEditPane& pane = *ui->Edit1;
  ui->Edit2->setText(QString::number(pane.CaretLine()));
  SetStatusPanelText(1, QStringLiteral("Line: %1 of %2").arg(ui->Edit2->text()).arg(pane.LineCount()));
}

void TForm1::Edit1SelectionChange() {
  TRichEditPane& pane = *ui->Edit1;
  ShowCaretLine();
  pane.ScrollCaret();
  pane.SetFocusPane();
}

void TForm1::Button1Click() {
  TRichEditPane& pane = *ui->Edit1;
  const int line = StrToInt(ui->Edit2->text());
  pane.SetSelStart(pane.LineIndex(line));
  pane.ScrollCaret();
  pane.SetFocusPane();
}

void TForm1::CheckBox2Click() {
  ui->Edit1->SetWordWrap(ui->CheckBox2->isChecked());
  FTimer1->SetEnabled(false);
}
