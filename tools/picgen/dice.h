// Dice: the six resting faces and the tumbling frames of a throw, drawn as
// a small 3D cube with pips (the one and the four in red, as Chinese dice
// have them) on a transparent ground.
#pragma once

#include "canvas.h"

namespace picgen {

inline constexpr int kRollingFrames = 10;

// A die resting with `value` (1..6) facing the viewer, its top visible:
// 50 x 56.
Canvas DrawDieFace(int value);

// Frame `frame` (0..9) of a tumbling die: 50 x 50.
Canvas DrawRollingDie(int frame);

}  // namespace picgen
