// The title bar's behaviour on the main window.
//
// ImgClose(0) and ImgMin(0) take their looks from elements 1 (normal),
// 2 (hover) and 3 (pressed) of their arrays: pressed on a press, hover on a
// release and on the first move over a button while the buttons show their
// normal looks (WindowFrameState::ChromeHoverArmed). A move over the form
// itself or over LbMove gives both buttons their normal looks again, so
// going straight from one button to the other leaves the first one lit.
// A click on ImgClose(0) is the exit button's (the leave confirmation), a
// click on ImgMin(0) minimises the window. A left-button press on LbMove
// hides the floating windows (Talk, huifu, Score, Hero, VosSet, those that
// exist), shows the move pointer and hands the window to the window system
// to move with the pointer until the button is released.
#pragma once

namespace tess {

struct Client;

// Sets the handlers of ImgClose(0), ImgMin(0), LbMove and the main form's
// own mouse moves.
void InstallTitleBar(Client& c);

}  // namespace tess
