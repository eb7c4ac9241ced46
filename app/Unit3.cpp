#include "app/Unit3.h"

#include <QFile>

#include "services/ErrorBox.h"
#include "services/Fonts.h"
#include "services/JpegImage.h"
#include "services/Timer.h"
#include "ui_Unit3.h"

TForm3* Form3 = nullptr;

namespace {
constexpr int SplashMs = 6000;

QByteArray SplashJpeg() {
  QFile file(QStringLiteral(":/splash.jpg"));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}
}  // namespace

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::TForm3>()),
      FTimer1(new TTimer(SplashMs, true, this)) {
  ui->setupUi(this);
  setFixedSize(330, 135);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(0, 0, 128));
  colours.setColor(QPalette::WindowText, Qt::white);
  setPalette(colours);
  setAutoFillBackground(true);
  setFont(SansSerifFont(11));
  ui->Label1->setFont(SansSerifFont(19));
  ui->Label2->setFont(SansSerifFont(19));
  ui->Label1->adjustSize();
  ui->Label2->adjustSize();
  RunGuarded([this] { ui->Image1->setPixmap(QPixmap::fromImage(DecodeJpeg(SplashJpeg()))); });
  ConnectGuarded(FTimer1, &TTimer::Timer, this, &TForm3::Timer1Timer);
}

TForm3::~TForm3() = default;

void TForm3::Timer1Timer() { done(QDialog::Rejected); }
