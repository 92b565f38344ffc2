// Round ornaments: the game centre's emblem, the two level badges and the
// compass that shows the seat winds around the table.
#pragma once

#include "canvas.h"

namespace picgen {

// 82 x 80.
Canvas DrawEmblem();
// 82 x 80: a grey badge with a falling arrow (demoted) or a gold one with a
// rising arrow (promoted).
Canvas DrawLevelBadge(bool promoted);

// 77 x 77: the compass for a local player at seat index 0..3. Seat indices
// 0..3 sit at north, west, south and east; the local seat's wind is at the
// bottom, the seat one lower on the left, the opposite seat at the top and
// the seat one higher on the right, as the players sit at the table.
Canvas DrawCompass(int local_seat);

}  // namespace picgen
