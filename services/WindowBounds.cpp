#include "services/WindowBounds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// What the frame and title bar add to the window's own size; nothing until the window system
// has framed the window.
QSize FrameExtent(const QWidget& window) { return window.frameGeometry().size() - window.size(); }

// Until the window system has framed a window its frame's size is not known, so the window's
// own size is corrected to the outer size asked for once the frame is there. A window already
// on the screen but not yet framed has its own corner put where the frame's was asked for, so
// the frame is moved back there too.
class TOuterBoundsKeeper : public QObject {
public:
  static constexpr char Name[] = "OuterBoundsKeeper";

  TOuterBoundsKeeper(QWidget& window, const QRect& outer) : QObject(&window), FWindow(window), FOuter(outer) {
    setObjectName(QLatin1String(Name));
    window.installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    // A window shown before its bounds were set may have been framed after its last move; its
    // first paint comes once it is on the screen, and so framed.
    const QEvent::Type type = event->type();
    const bool placed = type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint;
    const QSize extent = FrameExtent(FWindow);
    if (!placed || extent.isEmpty() || FDone) return false;
    FDone = true;
    FWindow.resize(FOuter.size() - extent);
    if (FWindow.frameGeometry().topLeft() != FOuter.topLeft()) FWindow.move(FOuter.topLeft());
    deleteLater();
    return false;
  }

private:
  QWidget& FWindow;
  QRect FOuter;
  bool FDone = false;
};

// The frame of another window of the program that is on the screen, which a window not yet
// framed will most likely get too; nothing when there is none.
QSize StandInExtent(const QWidget& window) {
  for (const QWidget* other : QApplication::topLevelWidgets())
    if (other != &window && other->isVisible() && !FrameExtent(*other).isEmpty()) return FrameExtent(*other);
  return {0, 0};
}

// Places a window by its outer size when it is shown, with a stand-in frame, and again once it
// is on the screen and framed, should it then stand elsewhere: a window manager may frame it
// otherwise, or put it where it found room. A window may be painted before the window manager
// has framed it, so from its first paint the frame is looked for a while; without a window
// manager none comes, and the first place stands. A window hidden meanwhile keeps the place it
// was given. A window's move places its frame's corner.
class TPlacementAtShow : public QObject {
public:
  TPlacementAtShow(QWidget& window, TPlaceByOuterSize place)
      : QObject(&window), FWindow(window), FPlace(std::move(place)) {
    window.installEventFilter(this);
    FLookForFrame.setInterval(FrameLookMs);
    connect(&FLookForFrame, &QTimer::timeout, this, &TPlacementAtShow::LookForFrame);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && !FShown) {
      FShown = true;
      const QSize extent = FrameExtent(FWindow);
      Place(FWindow.size() + (extent.isEmpty() ? StandInExtent(FWindow) : extent));
    } else if (type == QEvent::Paint && FShown && !FLookForFrame.isActive()) {
      FLooking.start();
      FLookForFrame.start();
      LookForFrame();
    } else if (type == QEvent::Hide && FShown) {
      Finish();
    }
    return false;
  }

private:
  static constexpr int FrameLookMs = 20;
  static constexpr int FrameWaitMs = 3000;

  void LookForFrame() {
    if (!FrameExtent(FWindow).isEmpty())
      Place(FWindow.frameGeometry().size());
    else if (!FLooking.hasExpired(FrameWaitMs))
      return;
    Finish();
  }
  void Place(const QSize& outer) {
    const QPoint corner = FPlace(outer);
    if (FWindow.frameGeometry().topLeft() != corner) FWindow.move(corner);
  }
  void Finish() {
    FWindow.removeEventFilter(this);
    FLookForFrame.stop();
    deleteLater();
  }

  QWidget& FWindow;
  TPlaceByOuterSize FPlace;
  bool FShown = false;
  QTimer FLookForFrame;
  QElapsedTimer FLooking;
};

}  // namespace

QRect OuterBounds(const QWidget& window) { return window.frameGeometry(); }

// The frame's corner is handed to the window system as such, so that it places the frame there
// also while the window is not yet on the screen and its frame not yet known.
void MoveFrame(QWidget& window, const QPoint& corner) {
  window.move(corner);
  window.winId();
  window.windowHandle()->setFramePosition(corner);
}

void SetOuterBounds(QWidget& window, const QRect& bounds) {
  delete window.findChild<QObject*>(QLatin1String(TOuterBoundsKeeper::Name), Qt::FindDirectChildrenOnly);
  const QSize extent = FrameExtent(window);
  if (extent.isEmpty()) new TOuterBoundsKeeper(window, bounds);
  window.resize(std::max(bounds.width() - extent.width(), 0), std::max(bounds.height() - extent.height(), 0));
  MoveFrame(window, bounds.topLeft());
}

QRect ReachableBounds(const QWidget& window, QRect bounds, const QSize& least) {
  const QSize frame = FrameExtent(window);
  const QSize smallest = least.expandedTo(window.minimumSizeHint()).expandedTo(window.minimumSize()) + frame;
  const QScreen* shown = QGuiApplication::primaryScreen();
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->geometry().intersects(bounds)) shown = screen;
  const QRect screen = shown->availableGeometry();
  bounds.setSize(bounds.size().expandedTo(smallest).boundedTo(screen.size().expandedTo(smallest)));
  if (!screen.intersects(bounds)) bounds.moveTopLeft(screen.topLeft());
  return bounds;
}

void PlaceWhenShown(QWidget& window, TPlaceByOuterSize place) {
  new TPlacementAtShow(window, std::move(place));
}

void PlaceOnScreenOf(QWidget& dialog, const QWidget* anchor) {
  const QRect monitor = (anchor ? anchor->screen() : QGuiApplication::primaryScreen())->geometry();
  PlaceWhenShown(dialog, [monitor](const QSize& outer) {
    return QPoint(monitor.left() + (monitor.width() - outer.width()) / 2,
                  monitor.top() + (monitor.height() - outer.height()) / 3);
  });
}

void CentreOnScreenWhenShown(QWidget& window) {
  PlaceWhenShown(window, [](const QSize& outer) {
    return Centred(QGuiApplication::primaryScreen()->geometry(), outer);
  });
}

QPoint Centred(const QRect& area, const QSize& outer) {
  return {area.left() + (area.width() - outer.width()) / 2,
          area.top() + (area.height() - outer.height()) / 2};
}

// A minimised window returns to the state it was minimised from, maximised included.
void BringToFront(QWidget& window) {
  if (window.isMinimized()) window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  window.show();
  window.raise();
  window.activateWindow();
}
