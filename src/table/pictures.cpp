#include "table/pictures.h"

#include <cctype>

#include "core/client.h"
#include "ui/picture_decode.h"
#include "ui/resources.h"

namespace tess {

void FillPictureTables(PictureTables& t, double scale_x) {
  for (int i = 0; i < kButtonPictureCount; ++i)
    t.ButtonPictures[i] = scale_x >= 1.0 || i < 2 ? 101 + i : 379 + i;
  for (int i = 0; i < 3; ++i) t.BadgePictures[i] = 123 + i;
  for (int i = 0; i < 4; ++i) t.CompassPictures[i] = 126 + i;
  for (int i = 0; i < 8; ++i) t.DialogPictures[i] = 130 + i;
  for (int i = 0; i < 18; ++i) t.ActionPictures[i] = 141 + i;
  for (int i = 0; i < 16; ++i) t.DicePictures[i] = 161 + i;
  for (int i = 0; i < 8; ++i) t.ClaimPictures[i] = 183 + i;
  for (int i = 0; i < 20; ++i) t.AvatarPictures[i] = i < 10 ? 191 + i : 391 + i;
  for (int i = 0; i < 180; ++i) t.TilePictures[i] = 201 + i;
  for (int i = 0; i < 4; ++i) t.ExtraButtonPictures[i] = 411 + i;
  for (int i = 0; i < 3; ++i) t.WithholdBubbles[i] = 415 + i;
  for (int i = 0; i < 3; ++i) t.FollowBubbles[i] = 418 + i;
}

PictureRef LoadResourcePicture(PictureTables& t, int id) {
  auto it = t.decoded.find(id);
  if (it != t.decoded.end()) return it->second;
  PictureRef p;
  auto bytes = FindResource("GIF", id);
  if (!bytes.empty()) p = DecodePicture(bytes.data(), bytes.size(), id);
  t.decoded[id] = p;
  return p;
}

bool ShowResourcePicture(Client& c, Element& e, int id) {
  PictureRef p = LoadResourcePicture(c.pictures, id);
  if (!p) return false;
  e.SetPicture(std::move(p));
  return true;
}

bool ShowButtonPicture(Client& c, Element& e, int entry) {
  if (entry < 0 || entry >= kButtonPictureCount) return false;
  return ShowResourcePicture(c, e, c.pictures.ButtonPictures[entry]);
}

void ShowTilePicture(Client& c, int slot, int index) {
  if (slot < 0 || slot >= 136 || index < 0 || index >= 180) return;
  Element* e = c.MainForm.Find("MJ_Image", slot);
  if (!e) return;
  if (ShowResourcePicture(c, *e, c.pictures.TilePictures[index])) e->visible = true;
}

int AvatarEntry(const std::string& avatar) {
  // The one- or two-digit number after the first character.
  int n = 0, digits = 0;
  for (size_t i = 1; i < avatar.size() && digits < 2 && std::isdigit(static_cast<unsigned char>(avatar[i])); ++i, ++digits)
    n = n * 10 + (avatar[i] - '0');
  int entry = n - 1;
  if (entry >= 10 || entry < 0) entry = 0;
  if (!avatar.empty() && avatar[0] == 'w') entry += 10;
  return entry;
}

}  // namespace tess
