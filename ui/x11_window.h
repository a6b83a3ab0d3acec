// What the toolkit asks and tells the window manager directly on X11, where Qt does not (on other
// platforms these fall back on what Qt knows, or do nothing).
#pragma once

#include <QRect>

class QWidget;

namespace quillet::ui::detail {

// Where a top-level window is on the screen with the frame its window manager drew around it. The
// toolkit learns the frame a moment after the window manager draws it; the window manager's own
// account (_NET_FRAME_EXTENTS) is asked directly, so that a picture taken at once has the frame.
QRect outer_frame(const QWidget* window);

// Asks for a title bar and a border only (no close box, no minimize or maximize button): Qt tells
// the window manager which functions a dialog has, but not which decorations (_MOTIF_WM_HINTS).
// Call it once the window is shown.
void ask_for_title_bar_only(const QWidget* window);

}  // namespace quillet::ui::detail
