// Avatar portraits: twenty head-and-shoulder cartoons, 85 x 90, the first
// ten men and the last ten women, each with its own hair, colours and
// accessories so that the four players at a table are told apart at a
// glance.
#pragma once

#include "canvas.h"

namespace picgen {

inline constexpr int kAvatarCount = 20;

// REQUIRES: 0 <= n < 20.
Canvas DrawAvatar(int n);

}  // namespace picgen
