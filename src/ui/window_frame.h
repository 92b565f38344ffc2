// The main window's size, painted frame and title bar.
//
// The size is decided once at start-up from the screen: a screen larger
// than the reference table (1024 x 768) gets a 1040 x 796 window with a
// painted frame and title bar; a smaller or equal one is filled without a
// frame (each dimension decided on its own). A screen smaller than the
// reference in either dimension selects the reduced layout (scale 0.78125)
// and its 800 x 600 background.
//
// Units: the window's frame is laid out in twips, 15 to the pixel, while
// display elements are placed in pixels; every twip value is divided by 15
// here. A few title-bar positions fall between pixels (50 twips = 3.33
// pixels) and are kept so; drawing rounds them.
//
// The frame is painted once into the form's canvas, under every element.
// The title bar's pieces (ImgIcon, lcaption, LbMove, ImgClose, ImgMin) lie
// on the form behind the table picture Pic1, so they show only where Pic1
// leaves the frame free.
#pragma once

#include "ui/elements.h"

namespace tess {

struct Client;

inline constexpr float kReducedScale = 0.78125f;
inline constexpr double kTwipsPerPixel = 15;

// The main window's own state.
struct WindowFrameState {
  bool ChromeHoverArmed = true;  // the title-bar buttons show their normal pictures
};

// Before FitWindowToScreen: loads the pictures the form is designed with
// (the tables of Pic1 and Pic2, the Skin, the looks of ImgClose(1..3) and
// ImgMin(1..3), the window icon, and the fixed pictures of the table:
// banner, location strip, clock, ready mark, wild-tile box, dealer mark,
// chat label, phrase buttons, chat bubbles) and installs the title bar's
// handlers (ui/title_bar.h). A picture missing from the resources leaves
// its element as it was.
void SetUpMainWindow(Client& c);

// The picture stored with a form (resource type "FORM", ui/resources.h)
// under `id`, decoded; null when there is none.
PictureRef LoadFormPicture(int id);
// Puts that picture into `e`; false (and `e` untouched) when there is none.
bool ShowFormPicture(Element& e, int id);

// Sizes and places the window, paints the frame where there is one, sets
// ScaleX/ScaleY and, on the reduced layout, copies Pic2's table onto Pic1,
// places Host and Zhuang and sets the ticker font to 8.
void FitWindowToScreen(Client& c);
// Places the secondary window `f` centred over the main window, kept in view.
Form& CenteredOverMain(Client& c, Form& f);
// Moves the secondary window `f` as little as needed to lie inside the part
// of the screen the main window covers, where it is drawn; a window larger
// than that part keeps its top left corner there.
void KeepInView(Client& c, Form& f);
// After the window system moved a window (the main one, or a secondary
// window dragged by the user): every secondary window on show kept in view.
void KeepSecondaryWindowsInView(Client& c);
// Paints the eight frame pieces from Skin onto the form's canvas for the
// window's current size and lays out the title bar.
void PaintFrame(Client& c);

}  // namespace tess
