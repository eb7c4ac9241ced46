#include "widgets/dxButton.h"

#include <QAction>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "widgets/ImageList.h"
#include "widgets/dxButtonActionLink.h"

namespace {

constexpr Qt::KeyboardModifiers ShiftCtrlAlt = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

int StepsOf(TdxQuality quality) { return quality == bqLow ? 8 : quality == bqMiddle ? 16 : 32; }

// Copies the image's top-left part, at most width × height pixels, to (x, y).
void CopyImage(QPainter& canvas, int x, int y, const QImage& image, int width, int height) {
  const QRect part(0, 0, std::min(width, image.width()), std::min(height, image.height()));
  if (part.width() > 0 && part.height() > 0) canvas.drawImage(QPoint(x, y), image, part);
}

// The outline of the rounded rectangle (0, 0)-(width, height) whose corners are 5 × 5 ellipses.
void DrawBorder(QPainter& canvas, int width, int height) {
  const QColor colour(0, 60, 115);
  canvas.fillRect(2, 0, width - 4, 1, colour);
  canvas.fillRect(2, height - 1, width - 4, 1, colour);
  canvas.fillRect(0, 2, 1, height - 4, colour);
  canvas.fillRect(width - 1, 2, 1, height - 4, colour);
  for (const QPoint corner :
       {QPoint(1, 1), QPoint(width - 2, 1), QPoint(1, height - 2), QPoint(width - 2, height - 2)})
    canvas.fillRect(corner.x(), corner.y(), 1, 1, colour);
}

void DrawCorners(QPainter& canvas, int width, int height) {
  canvas.setPen(QColor(123, 150, 173));
  DrawSegment(canvas, 0, 1, 2, 0);
  DrawSegment(canvas, width - 2, 0, width, 2);
  DrawSegment(canvas, 0, height - 2, 2, height);
  DrawSegment(canvas, width - 3, height, width, height - 3);
}

// Greys from 96 to 223: half the pixel's mean brightness, lifted by 96.
QImage GreyGlyph(const QImage& glyph) {
  QImage grey = glyph.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
    for (int x = 0; x < grey.width(); ++x) {
      const int g = ((qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3) / 2 + 96;
      line[x] = qRgba(g, g, g, qAlpha(line[x]));
    }
  }
  return grey;
}

// The glyph with the colour of its bottom-left pixel left out.
QImage TransparentGlyph(const QImage& glyph) {
  QImage masked = glyph.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = masked.pixel(0, masked.height() - 1);
  for (int y = 0; y < masked.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
    std::replace(line, line + masked.width(), key, QRgb(0));
  }
  return masked;
}

}  // namespace

TdxButton::TdxButton(QWidget* parent) : TdxCustomControl(parent) {
  resize(73, 25);
  setFocusPolicy(Qt::TabFocus);  // reachable with Tab; a click focuses it only with the left button
}

TdxButton::~TdxButton() = default;

QString TdxButton::Version() const { return QStringLiteral("1.0.2c"); }

QAction* TdxButton::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TdxButton::SetAction(QAction* action) {
  FActionLink.reset();
  if (action == nullptr) return;
  FActionLink = std::make_unique<TdxButtonActionLink>(this, action);
  ActionChange();
}

bool TdxButton::AutoGray() const { return FAutoGray; }
bool TdxButton::Cancel() const { return FCancel; }
void TdxButton::SetCancel(bool on) { FCancel = on; }
bool TdxButton::Default() const { return FDefault; }
QImage TdxButton::Glyph() const { return FGlyph; }
TdxLayout TdxButton::Layout() const { return FLayout; }
TdxQuality TdxButton::Quality() const { return FQuality; }
bool TdxButton::ShowAccelChar() const { return FShowAccelChar; }
bool TdxButton::ShowFocusRect() const { return FShowFocusRect; }
std::uint8_t TdxButton::Spacing() const { return FSpacing; }

void TdxButton::SetAutoGray(bool on) {
  if (on == FAutoGray) return;
  FAutoGray = on;
  update();
}

// Every styled control of the window looks again: the default button's ring depends on them.
void TdxButton::SetDefault(bool on) {
  if (on == FDefault) return;
  FDefault = on;
  BroadcastFocusChanged(window());
}

void TdxButton::SetGlyph(const QImage& glyph) {
  FGlyph = glyph;
  update();
}

void TdxButton::SetLayout(TdxLayout layout) {
  if (layout == FLayout) return;
  FLayout = layout;
  update();
}

void TdxButton::SetQuality(TdxQuality quality) {
  if (quality == FQuality) return;
  FQuality = quality;
  NotifyResized();
  update();
}

void TdxButton::SetShowAccelChar(bool on) {
  if (on == FShowAccelChar) return;
  FShowAccelChar = on;
  update();
}

void TdxButton::SetShowFocusRect(bool on) {
  if (on == FShowFocusRect) return;
  FShowFocusRect = on;
  update();
}

void TdxButton::SetSpacing(std::uint8_t spacing) {
  if (spacing == FSpacing) return;
  FSpacing = spacing;
  update();
}

bool TdxButton::IsHighlighted(bool ignoreDefault) const {
  const bool ring = FInteraction.testFlag(isPressed) ? !FInteraction.testFlag(isMouseInside)
                                                     : FInteraction.testAnyFlags(isMouseInside | isFocused);
  return ring || (!ignoreDefault && FDefault && !FStyledControlActive);
}

// The face's inset is the one of this moment; a repaint never rebuilds the images.
void TdxButton::NotifyResized() {
  const int w = width();
  const int h = height();
  const int d = IsHighlighted(true) ? 6 : 2;
  const int steps = StepsOf(FQuality);
  const bool dithered = FQuality == bqHigh;
  BuildGradientImage(w - d, h - d, QColor(255, 255, 255), QColor(239, 235, 231), steps, gdTopToBottom,
                     dithered, FBackgroundImage);
  BuildGradientImage(w - 2, h - 2, QColor(214, 207, 198), QColor(247, 243, 235), steps, gdTopToBottom,
                     dithered, FPressedImage);
  BuildGradientImage(w - 2, h - 2, QColor(255, 243, 206), QColor(231, 150, 0), steps, gdTopToBottom, dithered,
                     FHotImage);
  BuildGradientImage(w - 2, h - 2, QColor(206, 231, 255), QColor(109, 132, 239), steps, gdTopToBottom,
                     dithered, FFocusImage);
}

void TdxButton::Paint(QPainter& canvas) {
  const int w = width();
  const int h = height();
  const bool ring = IsHighlighted(false);
  const bool down = FInteraction.testFlag(isMouseInside) && FInteraction.testFlag(isPressed);
  if (ring) CopyImage(canvas, 1, 1, FInteraction.testFlag(isMouseInside) ? FHotImage : FFocusImage, w, h);
  if (down) {
    CopyImage(canvas, 1, 1, FPressedImage, w, h);
  } else {
    const int a = ring ? 1 : 0;
    CopyImage(canvas, 1 + 2 * a, 1 + 2 * a, FBackgroundImage, w - 6 * a, h - 6 * a);
  }
  if (FInteraction.testFlag(isFocused) && FShowFocusRect) DrawFocusRect(canvas, 3, 3, w - 3, h - 3);
  DrawBorder(canvas, w, h);
  DrawCorners(canvas, w, h);

  QImage glyph = CurrentGlyph();
  if (FAutoGray && !isEnabled() && !glyph.isNull()) glyph = GreyGlyph(glyph);
  TdxTextFlags flags = dtWordBreak | dtVCenter;
  QRect caption = CaptionRect(canvas, glyph, flags);
  const int shift = down ? 1 : 0;
  caption.translate(shift, shift);
  if (!glyph.isNull()) DrawGlyph(canvas, glyph, caption, shift);
  DrawCaptionText(canvas, FittedCaption(glyph), font(), isEnabled(), FShowAccelChar, caption, flags);
}

// A word wider than the face inside the border and the ring (and beside the glyph) is cut with
// an ellipsis at its end, so that no caption is drawn over them.
QString TdxButton::FittedCaption(const QImage& glyph) const {
  constexpr int FaceInset = 3;  // the border and the ring on each side
  const bool beside = !glyph.isNull() && (FLayout == blGlyphLeft || FLayout == blGlyphRight);
  const int room = width() - 2 * FaceInset - (beside ? glyph.width() + FSpacing : 0);
  const QFontMetrics metrics(font(), this);
  QStringList words = Caption().split(u' ');
  for (QString& word : words)
    if (metrics.horizontalAdvance(word) > room)
      word = metrics.elidedText(word, Qt::ElideRight, std::max(room, 0));
  return words.join(u' ');
}

// The caption's rectangle beside the glyph, measured, with glyph and caption centred as one.
QRect TdxButton::CaptionRect(QPainter& canvas, const QImage& glyph, TdxTextFlags& flags) const {
  const int w = width();
  const int h = height();
  QRect r(0, 0, w, h);
  if (!glyph.isNull()) {
    const int across = glyph.width() + FSpacing;
    const int down = glyph.height() + FSpacing;
    switch (FLayout) {
      case blGlyphLeft: r.setLeft(across); break;
      case blGlyphRight:
        r.setCoords(-across, 0, w - 2 * across - 1, h - 1);
        flags |= dtRight;
        break;
      case blGlyphTop: r.setTop(down); break;
      case blGlyphBottom: r.setTop(-down); break;
    }
  }
  DrawCaptionText(canvas, FittedCaption(glyph), font(), isEnabled(), FShowAccelChar, r, flags | dtCalcRect);
  r.translate((w - (r.x() + r.width())) / 2, (h - (r.y() + r.height())) / 2);
  return r;
}

void TdxButton::DrawGlyph(QPainter& canvas, const QImage& glyph, const QRect& caption, int shift) const {
  const int gw = glyph.width();
  const int gh = glyph.height();
  const int besideY = (height() - gh) / 2 + shift;
  const int aboveX = (width() - gw) / 2 + shift;
  QPoint at;
  switch (FLayout) {
    case blGlyphLeft: at = QPoint(caption.x() - gw - FSpacing, besideY); break;
    case blGlyphRight: at = QPoint(caption.x() + caption.width() + FSpacing, besideY); break;
    case blGlyphTop: at = QPoint(aboveX, caption.y() - gh - FSpacing); break;
    case blGlyphBottom: at = QPoint(aboveX, caption.y() + caption.height() + FSpacing); break;
  }
  canvas.drawImage(at, TransparentGlyph(glyph));
}

QImage TdxButton::CurrentGlyph() const {
  const TImageList* images = TImageList::OfAction(Action());
  if (images && FActionImageIndex >= 0 && FActionImageIndex < images->Count())
    return images->Image(FActionImageIndex);
  return FGlyph;
}

// Enter clicks the focused button, or the default one while no styled control is active;
// Escape clicks the cancel button when no modifier is held.
bool TdxButton::DialogKey(const QKeyEvent& key) {
  if (!CanFocus()) return false;
  const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
  const bool escape = key.key() == Qt::Key_Escape;
  const bool takes = (enter && (hasFocus() || (FDefault && !FStyledControlActive))) ||
                     (escape && FCancel && (key.modifiers() & ShiftCtrlAlt) == 0);
  if (takes) Click();
  return takes;
}

void TdxButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space || (event->modifiers() & ShiftCtrlAlt) != 0) {
    TdxCustomControl::keyPressEvent(event);
    return;
  }
  FInteraction |= isMouseInside;
  NotifyLeftButtonDown();
}

// A held key repeats as press and release pairs; only the real release ends the press.
void TdxButton::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat() || !FInteraction.testFlag(isPressed)) {
    TdxCustomControl::keyReleaseEvent(event);
    return;
  }
  if (!rect().contains(mapFromGlobal(QCursor::pos()))) FInteraction &= ~TdxInteraction(isMouseInside);
  FInteraction &= ~TdxInteraction(isPressed);
  update();
  Click();
}

void TdxButton::ActionChange() {
  QAction* action = Action();
  if (action == nullptr) return;
  SetCaption(action->text());
  setEnabled(action->isEnabled());
  setToolTip(action->toolTip());
  setWhatsThis(action->whatsThis());
  if (parentWidget()) setVisible(action->isVisible());
  const QVariant index = action->property("imageIndex");
  TImageList* images = TImageList::OfAction(action);
  if (index.isValid() && images) {
    WatchImageList(images);
    if (index.toInt() >= 0 && index.toInt() < images->Count()) FActionImageIndex = index.toInt();
  }
  update();
}

void TdxButton::ActionImageIndexChanged(int index) {
  FActionImageIndex = index;
  update();
}

void TdxButton::ImageListChanged(QObject* sender) {
  const QAction* action = Action();
  const TImageList* images = TImageList::OfAction(action);
  FActionImageIndex = -1;
  if (action && qobject_cast<TImageList*>(sender) && images) {
    const int index = action->property("imageIndex").toInt();
    if (index < images->Count()) FActionImageIndex = index;
  }
  update();
}

void TdxButton::WatchImageList(TImageList* images) {
  if (images == FWatchedImages) return;
  disconnect(FImageChangeLink);
  FWatchedImages = images;
  FImageChangeLink = connect(images, &TImageList::Change, this, [this, images] { ImageListChanged(images); });
}
