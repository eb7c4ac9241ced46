#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

// The bounds of a top-level window as the user sees them: the outer size with the frame and
// title bar, and the position of the frame's top-left corner on the screen.
QRect OuterBounds(const QWidget& window);

// Places a window's frame with its top-left corner there, also before the window system has framed
// the window.
void MoveFrame(QWidget& window, const QPoint& corner);

// Gives a window its outer bounds in one step. The frame's corner is handed to the window system
// as such, so that it stands where asked also when the window is not yet on the screen and its
// frame not yet known.
void SetOuterBounds(QWidget& window, const QRect& bounds);

// Bounds from outside (a settings file, another monitor) made safe for a window: at least the
// client size given and its own minimum, at most the screen they fall on, and on the primary
// screen when no screen shows any of them.
QRect ReachableBounds(const QWidget& window, QRect bounds, const QSize& least);

// Where a window's frame goes, for its outer size.
using TPlaceByOuterSize = std::function<QPoint(const QSize& outer)>;

// Places a window at its next showing, once, by its outer size. The window system frames a window
// only once it is on the screen, so until then the frame of another window of the program stands
// in for its own, and the window is moved again at its first paint if its frame differs.
void PlaceWhenShown(QWidget& window, TPlaceByOuterSize place);

// At a dialog's next showing, places it across the monitor of a window (the primary screen's
// without one), centred, its top at a third of the height it leaves free.
void PlaceOnScreenOf(QWidget& dialog, const QWidget* anchor);

// At a window's next showing, centres it on the primary screen.
void CentreOnScreenWhenShown(QWidget& window);

// The corner that centres bounds of the outer size in an area.
QPoint Centred(const QRect& area, const QSize& outer);

// Shows a window in front and active, restored first to the state it was minimised from when it
// was minimised.
void BringToFront(QWidget& window);
