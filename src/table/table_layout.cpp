#include "table/table_layout.h"

#include "core/client.h"

namespace tess {
namespace {

struct Scaled {
  double sx, sy;
  double X(double v) const { return v * sx; }
  double Y(double v) const { return v * sy; }
};

Scaled ScaleOf(const Client& c) { return Scaled{c.game.ScaleX, c.game.ScaleY}; }

bool Reduced(const Client& c) { return c.game.ScaleX < 1.0f; }

void Place(Element& e, const Scaled& s, double left, double top) {
  e.left = s.X(left);
  e.top = s.Y(top);
}

void Size(Element& e, const Scaled& s, double width, double height) {
  e.width = s.X(width);
  e.height = s.Y(height);
}

}  // namespace

void BuildTable(Client& c) {
  Form& f = c.MainForm;
  const Scaled s = ScaleOf(c);

  Element& korbi = f.At("Korbi");
  Place(korbi, s, 900, 90);
  Size(korbi, s, 73, 130);
  Place(f.At("Label3"), s, 914, 160);
  Element& wild = f.At("KB_Image");
  Size(wild, s, 36, 56);
  wild.left = korbi.left + s.X(20);
  wild.top = korbi.top + s.Y(55);
  wild.visible = false;

  Element& own = f.At("Tou", 0);
  Place(own, s, 10, 666);
  Size(own, s, 85, 90);
  const double tou_left[] = {0, 7, 350, 693};
  for (int v = 1; v < 4; ++v) {
    Element& t = f.Load("Tou", v);
    Size(t, s, 70, 62);
    t.visible = true;
    Place(t, s, tou_left[v], 15);
  }

  for (int i = 1; i < 9; ++i) {
    Element& b = f.Load("AnNiu", i);
    b.visible = true;
    f.BringToFront(b);
  }
  for (int i = 0; i < 9; ++i) {
    c.buttons.ButtonLatched[i] = false;
    c.buttons.HoverShown[i] = false;
    Element& b = f.At("AnNiu", i);
    Size(b, s, i == 0 ? 50 : 60, 30);
    ShowButtonPicture(c, b, i < 3 ? 2 * i : 2 * i + 2);
  }
  c.buttons.ButtonLatched[2] = true;
  Place(f.At("AnNiu", 0), s, 573, 730);
  Place(f.At("AnNiu", 1), s, 648, 699);
  for (int i = 2; i < 9; ++i) {
    Element& b = f.At("AnNiu", i);
    const Element& prev = f.At("AnNiu", i - 1);
    if (i == 5) {
      const Element& first = f.At("AnNiu", 1);
      b.left = first.left;
      b.top = first.top + s.Y(32);
    } else {
      b.left = prev.left + s.X(70);
      b.top = prev.top;
    }
  }

  for (const char* name : {"Nid", "Cash", "Level"}) {
    for (int v = 1; v < 4; ++v) f.Load(name, v).visible = true;
  }
  if (Reduced(c)) {
    for (int v = 1; v < 4; ++v) {
      f.At("Cash", v).font_size = 8;
      f.At("Level", v).font_size = 8;
    }
    f.At("Level", 0).font_size = 8;
  }

  PlaceSeatLabels(c);

  for (int v = 1; v < 4; ++v) f.Load("OK", v).visible = false;
  const double ok_left[] = {460, 60, 460, 900}, ok_top[] = {610, 280, 88, 280};
  for (int v = 0; v < 4; ++v) Place(f.At("OK", v), s, ok_left[v], ok_top[v]);
}

void PlaceSeatLabels(Client& c) {
  Form& f = c.MainForm;
  const Scaled s = ScaleOf(c);
  const double left[] = {181, 165, 509, 852};
  const double nid_top[] = {700, 15, 15, 15}, cash_top[] = {724, 40, 40, 40}, level_top[] = {744, 64, 64, 64};
  for (int v = 0; v < 4; ++v) {
    Place(f.At("Nid", v), s, left[v], nid_top[v]);
    Place(f.At("Cash", v), s, left[v], cash_top[v]);
    Place(f.At("Level", v), s, left[v], level_top[v]);
  }
  Place(f.At("Location"), s, 760, 668);
  Element& w1 = f.At("imgword1");
  Place(w1, s, 640, 659);
  Size(w1, s, 57, 13);
  Element& w2 = f.At("imgword2");
  Place(w2, s, 640, 675);
  Size(w2, s, 57, 13);
  Element& loc = f.At("imgLocation");
  Place(loc, s, 632, 654);
  Size(loc, s, 394, 39);
  loc.stretch = true;
}

void SetUpTableElements(Client& c) {
  Form& f = c.MainForm;
  const Scaled s = ScaleOf(c);

  f.At("ZhiNan").visible = false;

  Element& korbi = f.At("Korbi");
  Element& clock = f.At("Time_Img");
  Size(clock, s, 81, 38);
  clock.left = korbi.left;
  clock.top = korbi.top + korbi.height;
  Element& number = f.At("Number");
  Size(number, s, 24, 24);
  number.left = clock.left + s.X(48);
  number.top = clock.top + s.Y(5);
  if (Reduced(c)) {
    number.font_size = 12;
    number.left = clock.left + s.X(48) + 2;
  }

  Element& declare = f.At("Operation", 0);
  Place(declare, s, 358, 461);
  for (int i = 1; i < 5; ++i) f.Load("Operation", i);
  c.tick.HandLocked = false;
  Size(declare, s, 50, 71);
  ShowResourcePicture(c, declare, 422);
  declare.enabled = false;
  declare.visible = false;
  for (int i = 1; i < 5; ++i) {
    Element& op = f.At("Operation", i);
    const Element& prev = f.At("Operation", i - 1);
    Size(op, s, 50, 71);
    ShowResourcePicture(c, op, c.pictures.ActionPictures[3 * i]);
    op.top = declare.top;
    op.left = prev.left + declare.width;
    op.enabled = false;
    op.visible = false;
  }

  for (int i = 1; i < kTileSlots; ++i) f.BringToFront(f.Load("MJ_Image", i));
  f.BringToFront(f.At("MJ_Image", 0));

  Element& placed = f.At("BaiBao_img", 0);
  placed.visible = false;
  placed.enabled = false;
  for (int i = 1; i < 16; ++i) {
    Element& p = f.Load("BaiBao_img", i);
    p.visible = false;
    p.enabled = false;
  }

  for (int i = 1; i < 16; ++i) ShowResourcePicture(c, f.Load("SZ_Image", i), c.pictures.DicePictures[i]);
  ShowResourcePicture(c, f.At("SZ_Image", 0), c.pictures.DicePictures[0]);

  Element& line0 = f.At("Sysmsg", 0);
  Element& line1 = f.At("Sysmsg", 1);
  Element& chat_label = f.At("Lbchat");
  if (Reduced(c)) {
    line0.top = 696 * s.sy - 2;
    line0.height = (26 * s.sy + 4) / 2;
    Place(chat_label, s, 594, 694);
    Size(chat_label, s, 25, 33);
  } else {
    line0.top = 696;
    line0.height = 13;
    chat_label.left = 594;
    chat_label.top = 694;
    chat_label.width = 25;
    chat_label.height = 33;
  }
  line1.height = line0.height;
  line1.top = line0.top + line0.height;
  for (Element* line : {&line0, &line1}) {
    line->width = s.X(281);
    line->left = s.X(312);
    line->visible = true;
  }

  Element& chat = f.At("Chat");
  chat.visible = true;
  Place(chat, s, 318, 729);
  Size(chat, s, 244, 18);

  Element& bird = f.At("Bird");
  Place(bird, s, 936, 680);
  Size(bird, s, 82, 80);
  f.BringToFront(bird);
  bird.visible = true;
  Element& page = f.At("WebBrowser1");
  page.visible = false;
  page.left = bird.left + 2;
  page.top = bird.top + 2;
  page.width = bird.width;
  page.height = bird.height;
}

}  // namespace tess
