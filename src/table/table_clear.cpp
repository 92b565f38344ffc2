#include "table/table_clear.h"

#include "core/client.h"

namespace tess {
namespace {

struct WallSide {
  double width, height;  // tile size
  double left, top;      // lower tile of the first stack
  double upper_dy;       // the upper tile lies this much lower
  double step_x, step_y; // from one stack to the next
};

// Side k holds slots 34k .. 34k + 33 as 17 stacks of two.
constexpr WallSide kWallSides[4] = {
    {36, 50, 809, 476, 22, -36, 0},
    {48, 35, 164, 476, 20, 0, -15},
    {30, 36, 236, 192, 16, 30, 0},
    {48, 35, 748, 192, 20, 0, 15},
};

void Hide(Element* e) {
  if (e) e->visible = false;
}

void HideArray(Form& f, const char* name, int count) {
  for (int i = 0; i < count; ++i) Hide(f.Find(name, i));
}

}  // namespace

void StackWall(Client& c, const std::function<bool(int slot)>& in_wall) {
  Form& f = c.MainForm;
  for (int side = 0; side < 4; ++side)
    for (int n = 0; n < 17; ++n) {
      const int stack = side == 1 ? 16 - n : n;
      for (int half = 0; half < 2; ++half) {
        const int slot = 34 * side + 2 * stack + half;
        if (in_wall(slot)) f.BringToFront(f.At("MJ_Image", slot));
      }
    }
}

SlotPlace WallPlace(const Client& c, int slot) {
  const WallSide& w = kWallSides[(slot / 34) & 3];
  const int stack = (slot % 34) / 2;
  const double sx = c.game.ScaleX, sy = c.game.ScaleY;
  SlotPlace p;
  p.width = w.width * sx;
  p.height = w.height * sy;
  p.left = (w.left + w.step_x * stack) * sx;
  p.top = (w.top + w.step_y * stack + (slot % 2 ? w.upper_dy : 0)) * sy;
  return p;
}

void ClearHandLists(Client& c) {
  for (SeatState& s : c.game.custom)
    for (HandEntry& e : s.mj) e.code = 0;
  c.game.LastDiscardSlot = -1;
  c.play.RightPileCount = 0;
  c.play.RightPileSlots.fill(0);
  c.play.DiscardLaid = false;
}

void ClearTable(Client& c) {
  Form& f = c.MainForm;
  LayOutWallSlots(c);
  for (const char* name : {"Time_Img", "Number", "ZhiNan", "Host", "Zhuang", "speakFeng", "Words"}) Hide(f.Find(name));
  HideArray(f, "Operation", 5);
  HideArray(f, "Speak", 3);
  HideArray(f, "tsSpeak", 3);
  HideArray(f, "Chi", 6);
  HideArray(f, "Gang", 5);
  HideArray(f, "BaiBao_img", kPlacedWinds);
  if (Form* talk = c.desktop.FindForm("Talk")) talk->visible = false;
  SetUpSeatPositions(c.game);
}

void LayOutWallSlots(Client& c) {
  for (int slot = 0; slot < kTileSlots; ++slot) {
    Element& e = c.MainForm.At("MJ_Image", slot);
    const SlotPlace p = WallPlace(c, slot);
    e.visible = false;
    e.left = p.left;
    e.top = p.top;
    e.width = p.width;
    e.height = p.height;
  }
}

void ResetHandState(Client& c) {
  ResetHandRecords(c.game);
  c.play = PlayState{};
  c.snapshot.BreakFront = -1;
  ResetHandResults(c);
  if (Element* caption = c.MainForm.Find("Label3")) caption->caption.clear();
}

void ClearTableForNextHand(Client& c) {
  ClearHandLists(c);
  ClearTable(c);
  ResetHandState(c);
  c.game.TableCleared = true;
}

}  // namespace tess
