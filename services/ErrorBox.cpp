#include "ErrorBox.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <new>

#include "Application.h"
#include "VornError.h"

namespace {

constexpr int kTitleBarControls = 160;  // the icon, buttons and margins of a title bar

// The caption in bold, as title bars draw it, beside the title bar's controls.
int CaptionWidth(const QWidget& box) {
  QFont caption = box.font();
  caption.setBold(true);
  return QFontMetrics(caption).horizontalAdvance(box.windowTitle()) + kTitleBarControls;
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
  QMessageBox box(QMessageBox::Critical, TApplication::Title(), ErrorBoxText(message), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);  // a message quotes what the user typed, tags and all
  FitCaption(box);
  box.exec();
}

bool RunGuarded(const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const EVornError& error) {
    ShowErrorBox(error.Message());
  } catch (const std::bad_alloc&) {
    ShowErrorBox(QStringLiteral("Out of memory"));
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromLocal8Bit(error.what()));
  }
  return false;
}
