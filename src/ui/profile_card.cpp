#include "ui/profile_card.h"

#include "core/client.h"
#include "table/seats.h"
#include "ui/floating_window.h"
#include "ui/window_frame.h"

namespace tess {
namespace {

constexpr const char* kTitles[] = {"玩家昵称", "性    别", "所 在 地", "积    分", "信 用 度",
                                   "登录次数", "掉线次数", "胜场次数", "败场次数"};
constexpr int kRows = 9;
constexpr double kRowHeight = 22;

// The nine values of a profile, in the order of the titles.
std::array<std::string, kRows> CardValues(const PlayerInfo& p) {
  return {p.Nick,
          p.Gender != 0 ? "男" : "女",
          p.Location,
          FormatAmount(p.Points),
          FormatAmount(p.Credit),
          std::to_string(p.Logins),
          std::to_string(p.Disconnects),
          std::to_string(p.Wins),
          std::to_string(p.Losses)};
}

}  // namespace

Form& LoadProfileCard(Client& c) {
  if (Form* f = c.desktop.FindForm("Information")) return *f;
  Form& f = NewFloatingWindow(c, "Information", "", 340, 30 + kRows * kRowHeight + 8);
  const double sx = c.game.ScaleX, sy = c.game.ScaleY;
  for (int i = 0; i < kRows; ++i) {
    Element& title = f.Add(ElementKind::kLabel, "Title", i);
    title.caption = kTitles[i];
    title.left = 12 * sx;
    title.top = (30 + i * kRowHeight) * sy;
    title.width = 70 * sx;
    title.height = 18;
    title.fore_color = 0x806040;
    DragByAnyPress(c, f, title);
    // Room for the longest text a profile field holds (a nickname of 32
    // bytes), on no ground of its own.
    Element& value = f.Add(ElementKind::kLabel, "Inf", i);
    value.left = 88 * sx;
    value.top = title.top - 2;
    value.width = f.width - value.left - 8;
    value.height = 20;
    value.font_size = 12;
    value.back_transparent = true;
    DragByAnyPress(c, f, value);
  }
  return f;
}

void Tou_MouseMove(Client& c, int v) {
  if (v < 0 || v >= kSeatCount) return;
  const PlayerInfo& p = c.game.players[v];
  if (p.Nick.empty()) return;
  Form& card = LoadProfileCard(c);
  const std::array<std::string, kRows> values = CardValues(p);
  for (int i = 0; i < kRows; ++i) card.At("Inf", i).caption = values[i];
  if (card.visible) return;
  // Beside the portrait, touching it, so that the pointer reaches the card
  // without crossing the table (which hides it).
  const Element& tou = c.MainForm.At("Tou", v);
  card.left = c.MainForm.left + tou.FormLeft() + tou.width;
  card.top = c.MainForm.top + tou.FormTop();
  KeepInView(c, card);
  card.visible = true;
  c.desktop.Raise(card);
}

void InstallProfileCard(Client& c) {
  for (int v = 0; v < kSeatCount; ++v)
    c.MainForm.At("Tou", v).on_mouse_move = [&c](Element& t, const MouseEvent&) { Tou_MouseMove(c, t.index); };
}

}  // namespace tess
