// The 180 tile pictures: five groups of 36, one group per way a tile is
// seen on the table.
//
// Group 0 lies face up in front of the local player, 1 and 3 lie in front
// of the left and right players (the face turned a quarter turn clockwise
// and anticlockwise, so it reads from that player's seat), 2 lies in front of
// the opposite player (small, upside down), 4 stands in the local hand
// (large). Within a group: 0-6 east, south, west, north, red, green, white;
// 7 the back of a standing tile; 8 the back of a lying tile; 9-17 bamboo
// 1-9; 18-26 characters 1-9; 27-35 dots 1-9. The tile's thickness is always
// shown at the bottom of the picture, where the viewer sees it.
#pragma once

#include "canvas.h"

namespace picgen {

inline constexpr int kTileGroups = 5;
inline constexpr int kPicturesPerGroup = 36;

struct PictureSize {
  int width = 0;
  int height = 0;
};

// 50 x 58, 59 x 46, 34 x 37, 59 x 46, 50 x 77 for groups 0-4.
PictureSize TilePictureSize(int group);

// REQUIRES: 0 <= group < 5, 0 <= index < 36.
Canvas DrawTilePicture(int group, int index);

}  // namespace picgen
