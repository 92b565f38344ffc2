// Buttons: the button bar under the table, the dialog buttons of the
// secondary windows, and the tall action and declare buttons beside the
// local hand. Every button is opaque except for its rounded corners.
#pragma once

#include <string>

#include "canvas.h"

namespace picgen {

enum class BarLook { kNormal, kHighlighted, kGreyed };

// A lacquered bar button with a two-character caption; the highlighted look
// is brighter with a glowing caption, the greyed one is dull and flat.
Canvas DrawBarButton(int w, int h, const std::string& caption, BarLook look);

enum class DialogTone { kBlue, kRed, kGreen };

// A glossy dialog button (OK, Cancel, on/off and voice toggles).
Canvas DrawDialogButton(int w, int h, const std::string& caption, DialogTone tone, bool highlighted);

// The looks of the tall 50 x 71 buttons: the action buttons come plain
// (not offered), lit (offered) and red; the declare buttons gold (offered)
// and silver (greyed).
enum class TallLook { kPlain, kLit, kRed, kGold, kSilver };

Canvas DrawTallButton(const std::string& glyph, TallLook look);

}  // namespace picgen
