#include "services/ErrorBox.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QPushButton>
#include <memory>
#include <new>

#include "services/Application.h"
#include "services/VornError.h"

namespace {

constexpr int TitleBarControls = 160;  // the icon, buttons and margins of a title bar

// The caption in bold, as title bars draw it, beside the title bar's controls.
int CaptionWidth(const QWidget& box) {
  QFont caption = box.font();
  caption.setBold(true);
  return QFontMetrics(caption).horizontalAdvance(box.windowTitle()) + TitleBarControls;
}

// A box over the active window, or over the main window while the program is only becoming
// active, captioned with the program's title, its text shown as it is: a message quotes what the
// user typed or a path, tags and all.
std::unique_ptr<QMessageBox> ProgramBox(QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons) {
  auto box =
      std::make_unique<QMessageBox>(icon, TApplication::Title(), text, buttons, TApplication::ActiveForm());
  box->setTextFormat(Qt::PlainText);
  FitCaption(*box);
  return box;
}

}  // namespace

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

// A message box sizes itself to its text alone, and the window manager then cuts a caption
// longer than a short message; a strut across the box keeps it as wide as its caption needs.
void FitCaption(QMessageBox& box) {
  auto* grid = static_cast<QGridLayout*>(box.layout());
  grid->addItem(new QSpacerItem(CaptionWidth(box), 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}

void ShowErrorBox(const QString& message) {
  ProgramBox(QMessageBox::Critical, ErrorBoxText(message), QMessageBox::Ok)->exec();
}

bool AskUser(QMessageBox::Icon icon, const QString& text, const QString& goOn, const QString& stop) {
  const auto box = ProgramBox(icon, text, QMessageBox::NoButton);
  QPushButton* yes = box->addButton(goOn, QMessageBox::AcceptRole);
  QPushButton* no = box->addButton(stop, QMessageBox::RejectRole);
  box->setDefaultButton(no);
  box->setEscapeButton(no);
  box->exec();
  return box->clickedButton() == yes;
}

void TellUser(const QString& text) { ProgramBox(QMessageBox::Information, text, QMessageBox::Ok)->exec(); }

bool RunGuarded(const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const EVornAbort&) {
  } catch (const EVornError& error) {
    ShowErrorBox(error.Message());
  } catch (const std::bad_alloc&) {
    ShowErrorBox(QStringLiteral("Out of memory"));
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromLocal8Bit(error.what()));
  }
  return false;
}
