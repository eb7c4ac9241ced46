#include "commands/FindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "services/Application.h"
#include "services/WindowBounds.h"

namespace {
constexpr int MaxFindText = 255;
}

TFindDialog::TFindDialog(QWidget* parent)
    : QDialog(parent),
      FFindText(new QLineEdit(this)),
      FWholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      FMatchCase(new QCheckBox(QStringLiteral("Match &case"), this)),
      FUp(new QRadioButton(QStringLiteral("&Up"), this)),
      FDown(new QRadioButton(QStringLiteral("&Down"), this)) {
  setObjectName(QStringLiteral("FindDialog"));
  setWindowTitle(QStringLiteral("Find"));
  FFindText->setObjectName(QStringLiteral("FindText"));
  FFindText->setMaxLength(MaxFindText);
  FDown->setChecked(true);
  auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
  label->setBuddy(FFindText);
  auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
  auto* directions = new QHBoxLayout(direction);
  directions->addWidget(FUp);
  directions->addWidget(FDown);
  auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
  QPushButton* findNext = buttons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::ActionRole);
  findNext->setObjectName(QStringLiteral("FindNext"));
  findNext->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel);
  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(FFindText, 0, 1, 1, 2);
  grid->addWidget(FWholeWord, 1, 0, 1, 2);
  grid->addWidget(FMatchCase, 2, 0, 1, 2);
  grid->addWidget(direction, 1, 2, 2, 1);
  grid->addWidget(buttons, 0, 3, 3, 1);
  connect(findNext, &QPushButton::clicked, this, &TFindDialog::FindNext);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString TFindDialog::FindText() const { return FFindText->text(); }

void TFindDialog::SetFindText(const QString& text) { FFindText->setText(text); }

TSearchOptions TFindDialog::Options() const {
  return {FDown->isChecked(), FMatchCase->isChecked(), FWholeWord->isChecked()};
}

void TFindDialog::Open() {
  if (FHasPlace)
    MoveFrame(*this, FPlace);
  else
    PlaceOnScreenOf(*this, TApplication::ActiveForm());
  show();
  raise();
  activateWindow();
  FFindText->setFocus();
  FFindText->selectAll();
}

void TFindDialog::hideEvent(QHideEvent* event) {
  FHasPlace = true;
  FPlace = OuterBounds(*this).topLeft();
  QDialog::hideEvent(event);
}
