// What the other players "say" on the table: the claim captions written
// into a speech bubble and the speech bubbles of the declarations, one per
// seat with its tail towards the speaker.
#pragma once

#include <string>

#include "canvas.h"

namespace picgen {

// A bold gold-and-red caption filling w x h on a transparent ground.
Canvas DrawClaimCaption(const std::string& text, int w, int h);

// A 131 x 102 speech bubble with `text`, its tail pointing towards ViewSeat
// `seat`: 1 left, 2 up (the opposite player), 3 right.
Canvas DrawSpeechBubble(const std::string& text, int seat);

}  // namespace picgen
