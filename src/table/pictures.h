// The picture set: resources of type "GIF" by numeric identifier, the lookup
// tables that turn a picture number into an identifier, and the operations
// that put a picture into a display element. A picture that cannot be had
// (no such resource, undecodable bytes) leaves the element as it was.
// Resources are decoded in memory, once each, and shared.
#pragma once

#include <array>
#include <map>

#include "ui/elements.h"

namespace tess {

struct Client;

inline constexpr int kButtonPictureCount = 20;

struct PictureTables {
  std::array<int, kButtonPictureCount> ButtonPictures{};
  std::array<int, 3> BadgePictures{};
  std::array<int, 4> CompassPictures{};
  std::array<int, 8> DialogPictures{};
  std::array<int, 18> ActionPictures{};  // 15-17 name no resource
  std::array<int, 16> DicePictures{};
  std::array<int, 8> ClaimPictures{};
  std::array<int, 20> AvatarPictures{};
  std::array<int, 180> TilePictures{};
  std::array<int, 4> ExtraButtonPictures{};
  std::array<int, 3> WithholdBubbles{};
  std::array<int, 3> FollowBubbles{};

  std::map<int, PictureRef> decoded;  // by identifier; null: not available
};

// Fills every lookup table for the layout scale (ScaleX below 1 selects the
// small button set).
void FillPictureTables(PictureTables& t, double scale_x);

// The decoded resource `id`, or null when there is none.
PictureRef LoadResourcePicture(PictureTables& t, int id);
// Puts resource `id` into `e`; false (and `e` untouched) when unavailable.
bool ShowResourcePicture(Client& c, Element& e, int id);
// Puts ButtonPictures entry `entry` into `e`; out-of-range entries do nothing.
bool ShowButtonPicture(Client& c, Element& e, int entry);
// Puts tile picture `index` into MJ_Image(slot); slot >= 136 or index >= 180
// (or negative) does nothing.
void ShowTilePicture(Client& c, int slot, int index);
// Entry of AvatarPictures for an avatar code: "m3" -> 2, "w3" -> 12; a
// number of 11 or more (n - 1 >= 10) gives entry 0 (+10 for "w").
int AvatarEntry(const std::string& avatar);

}  // namespace tess
