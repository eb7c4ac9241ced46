#include "windows/Unit4.h"

#include <QMenuBar>

#include "browser/WebBrowser.h"
#include "services/Application.h"
#include "services/ErrorBox.h"
#include "services/Fonts.h"
#include "ui_Unit4.h"

TForm4* Form4 = nullptr;

namespace {
constexpr int ClientWidth = 860;
constexpr int ClientHeight = 335;
}  // namespace

TForm4::TForm4(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TForm4>()) {
  ui->setupUi(this);
  setFont(SansSerifFont(11));
  addActions({ui->ShowCodeWindow1, ui->Back1, ui->Forward1});
  move(86, 341);
  resize(ClientWidth, ClientHeight + ui->MainMenu1->sizeHint().height());
  ConnectGuarded(ui->ShowCodeWindow1, &QAction::triggered, this, &TForm4::ShowCodeWindow1Click);
  ConnectGuarded(ui->Back1, &QAction::triggered, this, &TForm4::Back1Click);
  ConnectGuarded(ui->Forward1, &QAction::triggered, this, &TForm4::Forward1Click);
}

TForm4::~TForm4() = default;

TWebBrowser& TForm4::WebBrowser1() const { return *ui->WebBrowser1; }

void TForm4::ShowCodeWindow1Click() { TApplication::ShowMainForm(); }

void TForm4::Back1Click() { ui->WebBrowser1->GoBack(); }

void TForm4::Forward1Click() { ui->WebBrowser1->GoForward(); }
