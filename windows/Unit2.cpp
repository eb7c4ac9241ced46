#include "windows/Unit2.h"

#include <QKeyEvent>

#include "pane/RichEditPane.h"
#include "services/Application.h"
#include "services/ErrorBox.h"
#include "services/Fonts.h"
#include "services/ProgramFolder.h"
#include "services/WindowBounds.h"
#include "ui_Unit2.h"

TForm2* Form2 = nullptr;

namespace {
constexpr int ClientWidth = 601;
constexpr int ClientHeight = 359;
const QColor Blue(0, 0, 255);
}  // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm2>()) {
  ui->setupUi(this);
  setFixedSize(ClientWidth, ClientHeight);
  setFont(SansSerifFont(11));
  ui->Label1->setFont(SerifFont(32));
  ui->Label2->setFont(SansSerifFont(16));
  QFont bold = SansSerifFont(13);
  bold.setBold(true);
  ui->Label3->setFont(bold);
  ui->Label4->setFont(SansSerifFont(19));
  bold.setPixelSize(11);
  for (QLabel* label : {ui->Label5, ui->Label6, ui->Label7}) label->setFont(bold);
  for (QLabel* label : {ui->Label6, ui->Label7}) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Blue);
    label->setPalette(colours);
  }
  ui->RichEdit1->SetPlainTextMode(false);
  ui->RichEdit1->SetWordWrap(true);
  // Only the first showing is centred; afterwards the window opens where it was left.
  PlaceWhenShown(*this, [this](const QSize& outer) {
    const QWidget* main = TApplication::MainForm();
    return main != nullptr ? Centred(OuterBounds(*main), outer) : OuterBounds(*this).topLeft();
  });
}

TForm2::~TForm2() = default;

TRichEditPane& TForm2::RichEdit1() const { return *ui->RichEdit1; }

// The pane shows what the file holds now: RTF formatted, any other text as text. A file that
// cannot be read is reported, and the window opens with an empty pane.
void TForm2::FormShow() {
  const QString path = ProgramFolder() + QStringLiteral("vornhelp.txt");
  ui->RichEdit1->Clear();
  ui->RichEdit1->LoadFromFile(path);
}

void TForm2::showEvent(QShowEvent* event) {
  RunGuarded([this] { FormShow(); });
  ui->RichEdit1->setFocus();
  QDialog::showEvent(event);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
