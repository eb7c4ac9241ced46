#include "app/Unit1.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>

#include "app/HighlightingPass.h"
#include "app/NewDocument.h"
#include "app/Unit3.h"
#include "browser/WebBrowser.h"
#include "commands/EditActions.h"
#include "commands/FileDialogAction.h"
#include "commands/FindAction.h"
#include "pane/RichEditPane.h"
#include "services/Application.h"
#include "services/ErrorBox.h"
#include "services/Fonts.h"
#include "services/ProgramFolder.h"
#include "services/Timer.h"
#include "ui_Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit4.h"

TForm1* Form1 = nullptr;

namespace {
constexpr int StatusPanel0Width = 500;
const QColor Navy(0, 0, 128);
const QString OpenFilter = QStringLiteral("Html Files (*.html, *.htm)|*.htm;*.html|All Files(*.*)|*.*");
const QString SaveAsFilter =
    QStringLiteral("Htm Files(*.htm)|*.htm|Html Files(*.html)|*.html|All files(*.*)|*.*");
const QString DefaultExt = QStringLiteral("*.htm;*.html");

// A status bar panel that is given its width while the window has room and gives way to a
// narrower one, so the status bar never sets the window's least width.
class TStatusPanel : public QLabel {
public:
  TStatusPanel(int width, QWidget* parent) : QLabel(parent), FWidth(width) { setMinimumWidth(1); }
  QSize sizeHint() const override { return {FWidth, QLabel::sizeHint().height()}; }

private:
  int FWidth;
};
}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), FTimer1(new TTimer(1000, false, this)) {
  ui->setupUi(this);
  FHighlighting = std::make_unique<THighlightingPass>(*ui->Edit1);
  setFont(SansSerifFont(11));
  ui->ActionMainMenuBar1->setFixedHeight(25);
  // Items close up with a narrow margin, so all five captions fit left of the option strip.
  ui->ActionMainMenuBar1->setStyleSheet(QStringLiteral(
      "QMenuBar { background: palette(button); spacing: 0px; } QMenuBar::item { padding: 3px 3px; }"));
  ui->StatusBar1->setFixedHeight(19);
  ui->StatusBar1->setAutoFillBackground(true);
  move(88, 12);  // the form's size comes from its layout file, which places no top-level window
  for (QAction* action : findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) addAction(action);
  connect(ui->ActionMainMenuBar1Item5, &QAction::triggered, ui->Action5, &QAction::trigger);
  BuildStatusPanels();
  BuildPopupMenu1();
  BuildStandardActions();
  ConnectHandlers();
}

TForm1::~TForm1() = default;

void TForm1::BuildStatusPanels() {
  FPanels[0] = new TStatusPanel(StatusPanel0Width, ui->StatusBar1);
  FPanels[1] = new QLabel(ui->StatusBar1);
  FPanels[1]->setMinimumWidth(1);
  FPanels[2] = new QLabel(ui->StatusBar1);  // the document's encoding, at the right end
  for (int i = 0; i < 3; ++i) FPanels[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
  FPanels[0]->setText(QString::fromLatin1(UntitledFileName));
  FPanels[1]->setText(QStringLiteral("Line: 0 of 0"));
  ui->StatusBar1->addWidget(FPanels[0]);
  ui->StatusBar1->addWidget(FPanels[1], 1);
  ui->StatusBar1->addPermanentWidget(FPanels[2]);
}

void TForm1::ShowEncoding() { FPanels[2]->setText(QString::fromLatin1(EncodingName(ui->Edit1->Encoding()))); }

void TForm1::BuildPopupMenu1() {
  FPopupMenu1 = new QMenu(this);
  FPopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  FPopupMenu1->addActions({ui->EditCopy1, ui->EditCut1, ui->EditPaste1});
  connect(ui->Edit1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { FPopupMenu1->popup(ui->Edit1->mapToGlobal(at)); });
}

void TForm1::BuildStandardActions() {
  FEditActions = new TEditActions(ui->EditCopy1, ui->EditCut1, ui->EditPaste1, this);
  FFileOpen1 = new TFileDialogAction(ui->FileOpen1, TFileDialogAction::fkOpen, OpenFilter, DefaultExt, this);
  FFileOpen1->SetOnAccept([this] { FileOpen1Accept(); });
  FFileSaveAs1 =
      new TFileDialogAction(ui->FileSaveAs1, TFileDialogAction::fkSave, SaveAsFilter, DefaultExt, this);
  FFileSaveAs1->SetBeforeExecute([this] { FileSaveAs1BeforeExecute(); });
  FFileSaveAs1->SetOnAccept([this] { FileSaveAs1Accept(); });
  connect(ui->FileExit1, &QAction::triggered, this, &QWidget::close);
  FSearchFind1 = new TFindAction(ui->SearchFind1, this);
}

void TForm1::ConnectHandlers() {
  ConnectGuarded(ui->Edit1, &TRichEditPane::Change, this, &TForm1::Edit1Change);
  ConnectGuarded(ui->Edit1, &TRichEditPane::SelectionChange, this, &TForm1::Edit1SelectionChange);
  ConnectGuarded(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  ConnectGuarded(ui->CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
  ConnectGuarded(ui->CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
  ConnectGuarded(ui->check3, &QCheckBox::toggled, this, &TForm1::check3Click);
  ConnectGuarded(ui->dxButton1, &TdxButton::Clicked, this, &TForm1::dxButton1Click);
  ConnectGuarded(ui->Action5, &QAction::triggered, this, &TForm1::Action5Execute);
  ConnectGuarded(ui->Action3, &QAction::triggered, this, &TForm1::Action3Execute);
  ConnectGuarded(ui->Action4, &QAction::triggered, this, &TForm1::Action4Execute);
  ConnectGuarded(FTimer1, &TTimer::Timer, this, &TForm1::Timer1Timer);
  ConnectGuarded(ui->Action1, &QAction::triggered, this, &TForm1::Action1Execute);
  ConnectGuarded(ui->Action2, &QAction::triggered, this, &TForm1::Action2Execute);
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) RunGuarded([this] { ApplicationEvents1Activate(); });
  });
}

QString TForm1::StatusPanelText(int panel) const { return FPanels[panel]->text(); }

void TForm1::SetStatusPanelText(int panel, const QString& text) { FPanels[panel]->setText(text); }

void TForm1::OfferShortcutsTo(QWidget* window) {
  QList<QKeySequence> taken;
  for (const QAction* own : window->actions()) taken += own->shortcuts();
  for (QAction* action : actions())
    if (!action->shortcut().isEmpty() && !taken.contains(action->shortcut())) window->addAction(action);
}

QString TForm1::StartPagePath() const { return ProgramFolder() + QStringLiteral("vorn.vnx"); }

// A new document is UTF-8, which holds whatever the user types.
void TForm1::AppendTemplate() {
  ui->Edit1->SetEncoding({TTextEncoding::Utf8, false});
  for (const char* line : NewDocumentTemplate) ui->Edit1->AddLine(line);
  ShowEncoding();
}

void TForm1::FormShow() {
  Form3->exec();
  const QString startPage = StartPagePath();
  FCurrentFileName = QString::fromLatin1(UntitledFileName);
  AppendTemplate();
  ui->Edit1->SetFocusPane();
  FTimer1->SetEnabled(false);
  Form4->show();
  Form4->WebBrowser1().Navigate(startPage);
  ReadSettings();
}

// The start sequence runs before the main window is first on the screen.
void TForm1::showEvent(QShowEvent* event) {
  if (!FShown) {
    FShown = true;
    RunGuarded([this] { FormShow(); });
  }
  QMainWindow::showEvent(event);
}

// A failure while closing keeps the window open; otherwise the program ends.
void TForm1::closeEvent(QCloseEvent* event) {
  if (!RunGuarded([this] { FormClose(); })) {
    event->ignore();
    return;
  }
  event->accept();
  TApplication::quit();
}

// Help and About show the same window.
void TForm1::Action3Execute() { Form2->exec(); }

void TForm1::Action4Execute() { Form2->exec(); }

void TForm1::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), Navy); }
