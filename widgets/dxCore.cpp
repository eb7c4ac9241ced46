#include "widgets/dxCore.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

bool IsDialogKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape; }

// What DrawCaptionText's flags ask of Qt's text layout. Vertical centring and the top edge
// come to the same: the rectangle a caption is drawn in is the one measured for it.
int QtTextFlags(TdxTextFlags flags) {
  int qt = Qt::AlignAbsolute | Qt::AlignTop;
  qt |= flags.testFlag(dtRight) ? Qt::AlignRight : Qt::AlignLeft;
  if (flags.testFlag(dtWordBreak)) qt |= Qt::TextWordWrap;
  if (!flags.testFlag(dtNoPrefix)) qt |= Qt::TextShowMnemonic;
  if (flags.testFlag(dtRtlReading)) qt |= Qt::TextForceRightToLeft;
  return qt;
}

// With Alt held some keyboards give no text; the key then names its letter or digit.
QChar TypedCharacter(const QKeyEvent& key) {
  if (key.text().size() == 1) return key.text()[0];
  const int code = key.key();
  const bool named = (code >= Qt::Key_0 && code <= Qt::Key_9) || (code >= Qt::Key_A && code <= Qt::Key_Z);
  return named ? QChar(code) : QChar();
}

}  // namespace

QChar AcceleratorOf(const QString& caption) {
  QChar accelerator;
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    ++i;  // "&&" is a literal "&"; any other character after "&" is marked
    if (caption[i] != u'&') accelerator = caption[i];
  }
  return accelerator;
}

TdxCustomControl::TdxCustomControl(QWidget* parent)
    : QWidget(parent), FAbout(QStringLiteral("Styled controls of Vorn Web Editor Basic")) {
  // Each paint covers the whole surface from the off-screen frame, so nothing is erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  connect(qApp, &QApplication::focusChanged, this, &TdxCustomControl::OnFocusChanged);
  qApp->installEventFilter(this);
}

// QWidget's own destructor moves the focus away; by then this control must hear nothing more.
TdxCustomControl::~TdxCustomControl() {
  disconnect(qApp, nullptr, this, nullptr);
  qApp->removeEventFilter(this);
}

QString TdxCustomControl::About() const { return FAbout; }
QString TdxCustomControl::Version() const { return {}; }
QString TdxCustomControl::Caption() const { return FCaption; }
int TdxCustomControl::ModalResult() const { return FModalResult; }
void TdxCustomControl::SetModalResult(int result) { FModalResult = result; }
TdxInteraction TdxCustomControl::Interaction() const { return FInteraction; }
bool TdxCustomControl::StyledControlActive() const { return FStyledControlActive; }
QColor TdxCustomControl::Color() const { return palette().color(QPalette::Active, backgroundRole()); }
bool TdxCustomControl::CanFocus() const { return isVisible() && isEnabled(); }

void TdxCustomControl::SetCaption(const QString& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  NotifyTextChanged();
}

void TdxCustomControl::Click() {
  QPointer<QDialog> form = qobject_cast<QDialog*>(window());
  if (form) form->setResult(FModalResult);
  emit Clicked();
  if (form && form->isModal() && form->isVisible() && form->result() != 0) form->done(form->result());
}

void TdxCustomControl::BroadcastFocusChanged(const QWidget* form) {
  for (TdxCustomControl* control : form->findChildren<TdxCustomControl*>())
    if (control->window() == form) control->NotifyFocusChanged();
}

void TdxCustomControl::NotifyEnabledChanged() { update(); }

void TdxCustomControl::NotifyFocusChanged() {
  // The window's focus widget is its active control; it stays while the window is inactive.
  const QWidget* active = window()->focusWidget();
  if (active == this)
    FInteraction |= isFocused;
  else
    FInteraction &= ~TdxInteraction(isFocused | isPressed);
  FStyledControlActive = qobject_cast<const TdxCustomControl*>(active) != nullptr;
  update();
}

void TdxCustomControl::NotifyLeftButtonDown() {
  setFocus(Qt::MouseFocusReason);
  FInteraction |= isPressed;
  update();
}

void TdxCustomControl::NotifyMouseEnter() {
  FInteraction |= isMouseInside;
  update();
  emit MouseEnter();
}

void TdxCustomControl::NotifyMouseLeave() {
  FInteraction &= ~TdxInteraction(isMouseInside);
  update();
  emit MouseLeave();
}

void TdxCustomControl::NotifyMouseMove() {}

void TdxCustomControl::NotifyMouseUp() {
  FInteraction &= ~TdxInteraction(isPressed);
  update();
}

void TdxCustomControl::NotifyParentColorChanged() { update(); }
void TdxCustomControl::NotifyResized() {}
void TdxCustomControl::NotifyTextChanged() { update(); }
void TdxCustomControl::Paint(QPainter&) {}
bool TdxCustomControl::DialogKey(const QKeyEvent&) { return false; }

void TdxCustomControl::DrawCaptionText(QPainter& canvas, const QString& caption, const QFont& captionFont,
                                       bool enabled, bool showAccelChar, QRect& bounds,
                                       TdxTextFlags flags) const {
  const bool measuring = flags.testFlag(dtCalcRect);
  QString text = caption;
  // An empty caption still measures one line high.
  if (measuring && (text.isEmpty() || (showAccelChar && text == QStringLiteral("&")))) text += u' ';
  if (!showAccelChar) flags |= dtNoPrefix;
  if (layoutDirection() == Qt::RightToLeft) {
    flags |= dtRtlReading;
    flags ^= dtRight;
  }
  canvas.setFont(captionFont);
  const int qtFlags = QtTextFlags(flags);
  auto once = [&](const QColor& colour) {
    if (measuring) {
      const QRect laid = canvas.boundingRect(bounds, qtFlags, text);
      bounds.setSize(laid.size());
      return;
    }
    canvas.setPen(colour);
    canvas.drawText(bounds, qtFlags, text);
  };
  if (enabled) {
    once(palette().color(QPalette::Active, QPalette::WindowText));
    return;
  }
  bounds.translate(1, 1);
  once(palette().color(QPalette::Active, QPalette::Light));
  bounds.translate(-1, -1);
  once(palette().color(QPalette::Active, QPalette::Dark));
}

// Every key of the window passes here twice over: first as it reaches the window's native
// window (before any control), where Alt and a character are offered as an accelerator; then,
// when none of the window's controls used it, as it reaches the window itself, where Enter and
// Escape are dialog keys.
bool TdxCustomControl::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto& key = static_cast<const QKeyEvent&>(*event);
  const QWidget* form = window();
  if (watched->isWindowType()) {
    if (watched == form->windowHandle() && key.modifiers().testFlag(Qt::AltModifier) &&
        !IsDialogKey(key.key()))
      OfferAccelerator(key);
    return false;
  }
  if (watched != form || !IsDialogKey(key.key()) || !DialogKey(key)) return false;
  event->accept();
  return true;
}

void TdxCustomControl::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) NotifyEnabledChanged();
  if (event->type() == QEvent::PaletteChange) NotifyParentColorChanged();
  if (event->type() == QEvent::FontChange) update();
  QWidget::changeEvent(event);
}

void TdxCustomControl::enterEvent(QEnterEvent* event) {
  PointerInside(true);
  QWidget::enterEvent(event);
}

void TdxCustomControl::leaveEvent(QEvent* event) {
  PointerInside(false);
  QWidget::leaveEvent(event);
}

void TdxCustomControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    FClickPending = true;
    NotifyLeftButtonDown();
  }
  event->accept();
}

// The second press of a double click presses the control, but its release is no click.
void TdxCustomControl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    FClickPending = false;
    NotifyLeftButtonDown();
  }
  event->accept();
}

// While a button is held Qt holds back enter and leave events, so they come from the moves.
void TdxCustomControl::mouseMoveEvent(QMouseEvent* event) {
  NotifyMouseMove();
  if (event->buttons() != Qt::NoButton) PointerInside(rect().contains(event->position().toPoint()));
  event->accept();
}

void TdxCustomControl::mouseReleaseEvent(QMouseEvent* event) {
  NotifyMouseUp();
  event->accept();
  if (event->button() != Qt::LeftButton || !FClickPending) return;
  FClickPending = false;
  if (rect().contains(event->position().toPoint())) Click();
}

// A character without Alt reaches the focused control only; it is its accelerator or nothing,
// and goes on to the parents either way.
void TdxCustomControl::keyPressEvent(QKeyEvent* event) {
  if (!event->modifiers().testFlag(Qt::AltModifier)) OfferAccelerator(*event);
  event->ignore();
}

void TdxCustomControl::resizeEvent(QResizeEvent*) { NotifyResized(); }

// Qt flushes the window's back buffer in one step; the layers are drawn into this control's
// own frame first, so the widget receives one finished image per paint.
void TdxCustomControl::paintEvent(QPaintEvent*) {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (FFrame.size() != pixels) {
    FFrame = QImage(pixels, QImage::Format_RGB32);
    FFrame.setDevicePixelRatio(ratio);
    // Fonts given in points come out at the size they have on the control's screen.
    FFrame.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    FFrame.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
  }
  if (FFrame.isNull()) return;
  QPainter canvas(&FFrame);
  canvas.fillRect(rect(), Color());
  Paint(canvas);
  canvas.end();
  QPainter(this).drawImage(0, 0, FFrame);
}

void TdxCustomControl::OnFocusChanged(QWidget* old, QWidget* now) {
  const QWidget* form = window();
  if ((old && old->window() == form) || (now && now->window() == form)) NotifyFocusChanged();
}

void TdxCustomControl::PointerInside(bool inside) {
  if (inside == FPointerInside) return;
  FPointerInside = inside;
  if (inside)
    NotifyMouseEnter();
  else
    NotifyMouseLeave();
}

// The character still goes on to the window's other controls, whether or not this one clicked.
void TdxCustomControl::OfferAccelerator(const QKeyEvent& key) {
  const QChar accelerator = AcceleratorOf(FCaption);
  const QChar typed = TypedCharacter(key);
  if (!accelerator.isNull() && typed.toCaseFolded() == accelerator.toCaseFolded() && CanFocus()) Click();
}
