#pragma once

#include <QImage>
#include <QMetaObject>
#include <QPointer>
#include <cstdint>
#include <memory>

#include "widgets/dxCore.h"

class QAction;
class TdxButtonActionLink;
class TImageList;

enum TdxLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TdxQuality { bqLow, bqMiddle, bqHigh };

// The push button of the program's windows, drawn in its own colours: a white-to-beige face
// in a dark blue rounded border, an orange ring under the mouse, a blue ring with the focus or
// as the window's default button, a darker face while pressed. It answers the mouse, Space,
// Enter (focused or default), Escape (cancel) and its caption's accelerator.
class TdxButton : public TdxCustomControl {
  Q_OBJECT

public:
  explicit TdxButton(QWidget* parent = nullptr);
  ~TdxButton() override;

  QString Version() const override;

  QAction* Action() const;
  void SetAction(QAction* action);  // caption, enabled state and click come from the action
  bool AutoGray() const;
  void SetAutoGray(bool on);
  bool Cancel() const;
  void SetCancel(bool on);
  bool Default() const;
  void SetDefault(bool on);
  QImage Glyph() const;
  void SetGlyph(const QImage& glyph);
  TdxLayout Layout() const;
  void SetLayout(TdxLayout layout);
  TdxQuality Quality() const;
  void SetQuality(TdxQuality quality);
  bool ShowAccelChar() const;
  void SetShowAccelChar(bool on);
  bool ShowFocusRect() const;
  void SetShowFocusRect(bool on);
  std::uint8_t Spacing() const;
  void SetSpacing(std::uint8_t spacing);

  // Whether a ring (hot or focus) shows; without ignoreDefault the default button counts too.
  bool IsHighlighted(bool ignoreDefault) const;

protected:
  void NotifyResized() override;
  void Paint(QPainter& canvas) override;
  bool DialogKey(const QKeyEvent& key) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

private:
  friend class TdxButtonActionLink;
  void ActionChange();
  void ActionImageIndexChanged(int index);
  void ImageListChanged(QObject* sender);
  void WatchImageList(TImageList* images);
  QImage CurrentGlyph() const;
  QRect CaptionRect(QPainter& canvas, const QImage& glyph, TdxTextFlags& flags) const;
  QString FittedCaption(const QImage& glyph) const;
  void DrawGlyph(QPainter& canvas, const QImage& glyph, const QRect& caption, int shift) const;

  bool FAutoGray = true;
  QImage FBackgroundImage;
  bool FCancel = false;
  QImage FPressedImage;
  bool FDefault = false;
  QImage FFocusImage;
  QImage FGlyph;
  QImage FHotImage;
  int FActionImageIndex = -1;
  QPointer<TImageList> FWatchedImages;  // the image list whose changes reach ImageListChanged
  QMetaObject::Connection FImageChangeLink;
  TdxQuality FQuality = bqMiddle;
  bool FShowAccelChar = true;
  bool FShowFocusRect = true;
  std::uint8_t FSpacing = 3;
  TdxLayout FLayout = blGlyphLeft;
  std::unique_ptr<TdxButtonActionLink> FActionLink;
};
