#pragma once

#include <QFlags>
#include <QImage>
#include <QWidget>
#include <cstdint>

class QKeyEvent;
class QPainter;

enum TdxGradientDirection { gdLeftToRight, gdTopToBottom, gdRightToLeft, gdBottomToTop };

enum TdxInteractionState { isMouseInside = 0x1, isFocused = 0x2, isPressed = 0x4 };
Q_DECLARE_FLAGS(TdxInteraction, TdxInteractionState)
Q_DECLARE_OPERATORS_FOR_FLAGS(TdxInteraction)

// How DrawCaptionText lays a caption out; dtCalcRect measures instead of drawing.
enum TdxTextFlag {
  dtWordBreak = 0x1,
  dtVCenter = 0x2,
  dtRight = 0x4,
  dtNoPrefix = 0x8,
  dtRtlReading = 0x10,
  dtCalcRect = 0x20
};
Q_DECLARE_FLAGS(TdxTextFlags, TdxTextFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TdxTextFlags)

// a × b ÷ c to the nearest integer, halves away from zero, without overflow; -1 when c is 0.
int MulDiv(int a, int b, int c);

// A line in the painter's pen colour from (x1, y1) towards (x2, y2); the end point is not drawn.
void DrawSegment(QPainter& canvas, int x1, int y1, int x2, int y2);

// Fills image (made width × height) with steps bands running from startColor to endColor;
// dithered scatters pixels of each band's predecessor into its leading edge in a pattern that
// repeats every 16 pixels. Steps below 2 give startColor alone.
void BuildGradientImage(int width, int height, QColor startColor, QColor endColor, std::uint8_t steps,
                        TdxGradientDirection direction, bool dithered, QImage& image);

// The dotted focus rectangle with the right and bottom edges outside it, drawn by inverting
// every other pixel of its outline.
void DrawFocusRect(QPainter& canvas, int left, int top, int right, int bottom);

// The base of the owner-drawn controls: it paints its whole surface itself, keeps track of the
// mouse, the focus and presses, hands ModalResult to its dialog on a click and answers the
// accelerator of its caption. Each control watches its window's keys (Alt and a character, and
// the Enter and Escape no control there used) and its focus changes, so that every styled
// control of a window agrees on whether one of them is the active control.
class TdxCustomControl : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString About READ About)
  Q_PROPERTY(QString Version READ Version)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)

public:
  explicit TdxCustomControl(QWidget* parent = nullptr);
  ~TdxCustomControl() override;

  QString About() const;
  virtual QString Version() const;
  QString Caption() const;
  void SetCaption(const QString& caption);
  int ModalResult() const;
  void SetModalResult(int result);
  TdxInteraction Interaction() const;
  bool StyledControlActive() const;
  QColor Color() const;  // the parent's colour unless the palette says otherwise

  // It and all its parents are visible and enabled.
  bool CanFocus() const;
  // Sets the dialog's result to ModalResult, raises Clicked, then closes a modal dialog whose
  // result is not 0.
  void Click();

  // Every styled control of the window recomputes its focus look.
  static void BroadcastFocusChanged(const QWidget* form);

signals:
  void Clicked();
  void MouseEnter();
  void MouseLeave();

protected:
  virtual void NotifyEnabledChanged();
  virtual void NotifyFocusChanged();
  virtual void NotifyLeftButtonDown();
  virtual void NotifyMouseEnter();
  virtual void NotifyMouseLeave();
  virtual void NotifyMouseMove();
  virtual void NotifyMouseUp();
  virtual void NotifyParentColorChanged();
  virtual void NotifyResized();
  virtual void NotifyTextChanged();

  // Draws the whole surface into the off-screen frame, which starts filled with Color.
  virtual void Paint(QPainter& canvas);
  // Enter or Escape that no control of the window used; true when the control took it.
  virtual bool DialogKey(const QKeyEvent& key);

  void DrawCaptionText(QPainter& canvas, const QString& caption, const QFont& captionFont, bool enabled,
                       bool showAccelChar, QRect& bounds, TdxTextFlags flags) const;

  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

  TdxInteraction FInteraction;
  bool FStyledControlActive = false;

private:
  void OnFocusChanged(QWidget* old, QWidget* now);
  void PointerInside(bool inside);
  void OfferAccelerator(const QKeyEvent& key);

  const QString FAbout;
  QString FCaption;
  int FModalResult = 0;
  bool FPointerInside = false;  // what the platform last said about the mouse
  bool FClickPending = false;   // a left press (not a double click) waits for its release
  QImage FFrame;                // the off-screen image each paint draws into
};

// The character after the last single "&" of a caption, or a null character.
QChar AcceleratorOf(const QString& caption);
