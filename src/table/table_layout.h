// The table's layout at start-up: every fixed element sized and placed at
// its reference position times the layout scale, and the further elements
// of every control array created. Runs once per process; later only
// pictures, positions and visibility change.
#pragma once

namespace tess {

struct Client;

// After the picture tables are filled: wild-tile box, avatars, button bar,
// seat labels, ready marks.
void BuildTable(Client& c);
// The seats' name, coin and level labels, and the location area.
void PlaceSeatLabels(Client& c);
// At the end of start-up: countdown, action buttons, the 136 tile slots,
// placed-wind pictures, dice, ticker lines, chat line, banner.
void SetUpTableElements(Client& c);

}  // namespace tess
