#include "ui/result_boards.h"

#include "core/client.h"
#include "table/pictures.h"
#include "ui/floating_window.h"
#include "ui/window_frame.h"

namespace tess {
namespace {

constexpr const char* kScoreCaption = "战绩板";
constexpr const char* kHeroCaption = "英雄榜";
constexpr const char* kSeeDetails = "点击查看明细";

// Name label and avatar of each seat across the top of a board, at
// column width `col`, from `x0`.
void AddSeatHeads(Client& c, Form& f, double x0, double col) {
  const double s = c.game.ScaleX;
  for (int v = 0; v < kSeatCount; ++v) {
    Element& tou = f.Add(ElementKind::kImage, "Tou", v);
    tou.left = x0 + col * v;
    tou.top = 30 * c.game.ScaleY;
    tou.width = 42 * s;
    tou.height = 45 * c.game.ScaleY;
    tou.stretch = true;
    DragByAnyPress(c, f, tou);
    Element& id = f.Add(ElementKind::kLabel, "ID", v);
    id.left = tou.left + tou.width + 6;
    id.top = tou.top + 12 * c.game.ScaleY;
    id.width = col - tou.width - 12;
    id.height = 18;
    DragByAnyPress(c, f, id);
  }
}

Element& AddList(Form& f, const char* name, int index, double left, double top, double w, double h) {
  Element& l = f.Add(ElementKind::kListBox, name, index);
  l.left = left;
  l.top = top;
  l.width = w;
  l.height = h;
  l.back_transparent = false;
  l.back_color = 0xFFFBEF;
  l.font_size = 9;
  return l;
}

}  // namespace

Form& LoadScoreBoard(Client& c) {
  if (Form* f = c.desktop.FindForm("Score")) return *f;
  Form& f = NewFloatingWindow(c, "Score", kScoreCaption, 840, 560);
  const double sx = c.game.ScaleX, sy = c.game.ScaleY;
  const double col = 204 * sx, x0 = 12 * sx;
  AddSeatHeads(c, f, x0, col);
  for (int v = 0; v < kSeatCount; ++v) {
    AddList(f, "State", v, x0 + col * v, 82 * sy, col - 6 * sx, 420 * sy);
    Element& final_line = AddList(f, "State", v + 4, x0 + col * v, 506 * sy, col - 6 * sx, 40 * sy);
    final_line.font_bold = true;
  }
  return f;
}

Form& LoadHeroBoard(Client& c) {
  if (Form* f = c.desktop.FindForm("Hero")) return *f;
  Form& f = NewFloatingWindow(c, "Hero", kHeroCaption, 620, 400);
  const double sx = c.game.ScaleX, sy = c.game.ScaleY;
  const double x0 = 80 * sx, col = 132 * sx;
  AddSeatHeads(c, f, x0, col);
  Element& num = AddList(f, "Num", -1, 12 * sx, 82 * sy, 62 * sx, 260 * sy);
  std::vector<Element*> lists = {&num};
  for (int v = 0; v < kSeatCount; ++v) {
    lists.push_back(&AddList(f, "Grade", v, x0 + col * v, 82 * sy, col - 6 * sx, 260 * sy));
    Element& sum = f.Add(ElementKind::kLabel, "sumScore", v);
    sum.left = x0 + col * v;
    sum.top = 348 * sy;
    sum.width = col - 6 * sx;
    sum.height = 18;
    sum.font_bold = true;
  }
  Element& hint = f.Add(ElementKind::kLabel, "Label1");
  hint.caption = kSeeDetails;
  hint.left = 12 * sx;
  hint.top = 372 * sy;
  hint.width = 200;
  hint.height = 18;
  hint.fore_color = 0x806040;
  return f;
}

void ShowCentred(Client& c, Form& f) {
  const Element& table = c.MainForm.At("Pic1");
  const double table_left = c.MainForm.left + table.left, table_top = c.MainForm.top + table.top;
  f.left = table_left + (table.width - f.width) / 2;
  f.top = table_top + (table.height - f.height) / 2;
  KeepInView(c, f);
  f.visible = true;
  c.desktop.Raise(f);
}

void ShowSeatOnBoards(Client& c, int v) {
  const PlayerInfo& p = c.game.players[v & 3];
  for (Form* f : {&LoadScoreBoard(c), &LoadHeroBoard(c)}) {
    f->At("ID", v & 3).caption = p.Nick;
    ShowResourcePicture(c, f->At("Tou", v & 3), c.pictures.AvatarPictures[AvatarEntry(p.Avatar)]);
  }
}

}  // namespace tess

namespace tess {

void ClearHeroLists(Client& c) {
  Form* hero = c.desktop.FindForm("Hero");
  if (!hero) return;
  hero->At("Num").items.clear();
  for (int v = 0; v < kSeatCount; ++v) hero->At("Grade", v).items.clear();
}

}  // namespace tess
