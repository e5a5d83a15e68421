#pragma once

class QWidget;

namespace tarnwick {

// Ask the window manager for a caption without minimise and maximise buttons, and without
// a close button too (RemoveCloseButton, the window may then only be moved) or with one
// (RemoveMinMaxButtons). Qt's own flags cannot say this on X11 (without any button flag it
// leaves every window function allowed), so the Motif hints are set directly. A fixed-size
// window without a taskbar entry that could be minimised would be hard to find again. Call
// them after the native window exists and before the window is shown; on other platforms
// they do nothing.
void RemoveCloseButton(QWidget& window);
void RemoveMinMaxButtons(QWidget& window);

} // namespace tarnwick
