// The main window's size, painted frame and title bar.
//
// The size is decided once at start-up from the screen: a screen larger
// than the reference table (1024 x 768) gets a 1040 x 796 window with a
// painted frame and title bar; a smaller or equal one is filled without a
// frame. A screen smaller than the reference in either dimension selects the
// reduced layout (scale 0.78125) and its 800 x 600 background.
#pragma once

namespace tess {

struct Client;

inline constexpr float kReducedScale = 0.78125f;

// Sizes and places the window, paints the frame where there is one, sets
// ScaleX/ScaleY and prepares the reduced background.
void FitWindowToScreen(Client& c);
// Paints the frame pieces and lays out the title bar.
void PaintFrame(Client& c);

}  // namespace tess
