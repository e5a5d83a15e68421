#pragma once

class QWidget;

namespace tarnwick {

// Asks the window manager for a caption without close button (and without minimise and
// maximise): the window may only be moved. Qt's own flags cannot say this on X11 (without
// any button flag it leaves every window function allowed), so the Motif hints are set
// directly. Call it after the native window exists and before the window is shown; on
// other platforms it does nothing.
void RemoveCloseButton(QWidget& window);

} // namespace tarnwick
