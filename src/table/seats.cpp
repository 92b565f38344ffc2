#include "table/seats.h"

#include <cstdio>
#include <filesystem>
#include <random>

#include "core/client.h"
#include "core/packet.h"
#include "spectator/watched_table.h"
#include "table/pictures.h"
#include "table/table_clear.h"
#include "ui/result_boards.h"

namespace tess {
namespace {

constexpr int kFaceDown = 7;         // picture of a standing back

constexpr size_t kProfileAccount = 168, kProfileAccountEnd = 184;
constexpr size_t kProfileReady = 208;
constexpr size_t kReadyNameEnd = 32;

double LittleEndian(const Packet& p, size_t at, size_t n) {
  uint64_t v = 0;
  for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(p[at + i]) << (8 * i);
  return static_cast<double>(v);
}

int32_t LittleEndian32(const Packet& p, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(p[at + i]) << (8 * i);
  return static_cast<int32_t>(v);
}

// The profile of the seat-information message being dispatched placed on
// its ViewSeat, and the table set up once all four names and profiles are
// in (steps 3 on of OnSeatInfo).
void PlaceProfile(Client& c);

void ShowInFront(Form& f, Element* e) {
  if (!e) return;
  e->visible = true;
  f.BringToFront(*e);
}

// The seat-wind draw: four backs in the middle, one turned to show the
// local seat's wind, then all hidden.
void DrawSeatWind(Client& c) {
  PlayEffect(c, kEffectDeal);
  const Element& table = c.MainForm.At("Pic1");
  const double w = 36 * c.game.ScaleX, h = 50 * c.game.ScaleY;
  const double left = table.width / 2 - 2 * w, top = table.height / 2 - h;
  for (int slot = 0; slot < 4; ++slot) {
    Element& e = c.MainForm.At("MJ_Image", slot);
    e.left = left + w * slot;
    e.top = top;
    e.width = w;
    e.height = h;
    ShowTilePicture(c, slot, kFaceDown);
  }
  c.loop.WaitProcessing(500);
  std::minstd_rand rng(static_cast<uint32_t>(c.loop.NowMs()));
  const int turned = static_cast<int>(rng() % 4);
  const int own = SeatIndexOf(c.game.custom[0].Seat).value_or(0);
  ShowTilePicture(c, turned, 147 - own);
  c.loop.WaitProcessing(500);
  for (int slot = 0; slot < 4; ++slot) c.MainForm.At("MJ_Image", slot).visible = false;
}

// The first of `first` and then 0..count-1 not yet in `used`.
int FreeVoice(std::array<bool, 6>& used, int first, int count) {
  int j = first;
  if (used[j])
    for (j = 0; j < count && used[j]; ++j) {
    }
  if (j >= count) j = first;  // every number taken: share the one drawn
  used[j] = true;
  return j;
}

// Where a profile of another player goes before the seats are known: v 1,
// else the first of 1-3 with an empty name caption; none when the account
// is already shown on one of them or every place is taken.
std::optional<int> ProvisionalPlace(Client& c, const std::string& account) {
  for (int v = 1; v < kSeatCount; ++v)
    if (!c.MainForm.At("Nid", v).caption.empty() && c.game.custom[v].Name == account) return std::nullopt;
  if (c.leave.OthersListed == 0) return 1;
  for (int v = 1; v < kSeatCount; ++v)
    if (c.MainForm.At("Nid", v).caption.empty()) return v;
  return std::nullopt;
}

}  // namespace

void ShowCompass(Client& c) {
  const int seat = c.game.custom[0].Seat ? c.game.custom[0].Seat : 1;
  const int index = SeatIndexOf(seat).value_or(0);
  ShowResourcePicture(c, c.MainForm.At("ZhiNan"), c.pictures.CompassPictures[index]);
}

void ShowProfile(Client& c, int v) {
  const PlayerInfo& p = c.game.players[v];
  Form& f = c.MainForm;
  ShowResourcePicture(c, f.At("Tou", v), c.pictures.AvatarPictures[AvatarEntry(p.Avatar)]);
  f.At("Nid", v).caption = "[" + p.Title + "] " + p.Nick;
  f.At("Cash", v).caption = FormatAmount(p.Coins) + "金币";
  f.At("Level", v).caption = p.Level;
  ShowSeatOnBoards(c, v);
}

std::string FormatAmount(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

PlayerInfo DecodeProfile(const Packet& p) {
  PlayerInfo info;
  info.Nick = ReadGbkText(p, 16, 48);
  info.Avatar = ReadByteText(p, 48, 64);
  if (info.Avatar.empty()) info.Avatar = "m1";
  info.Gender = p[64];
  info.Location = ReadGbkText(p, 72, 80);
  info.Points = LittleEndian(p, 80, 8);
  info.Credit = LittleEndian(p, 88, 8);
  info.Coins = LittleEndian(p, 96, 8);
  info.Level = ReadGbkText(p, 112, 128);
  info.Logins = LittleEndian32(p, 152);
  info.Disconnects = LittleEndian32(p, 156);
  info.Wins = LittleEndian32(p, 160);
  info.Losses = LittleEndian32(p, 164);
  info.Account = ReadByteText(p, kProfileAccount, kProfileAccountEnd);
  info.Title = ReadGbkText(p, 184, 208);
  info.UserId = LittleEndian(p, 226, 8);
  return info;
}

void OnSeatName(Client& c) {
  GameState& g = c.game;
  if (!g.IsSpectator) c.TimerKeepAlive.SetEnabled(false);
  ClearHeroLists(c);
  for (int v = 0; v < kSeatCount; ++v)
    if (Element* ok = c.MainForm.Find("OK", v)) ok->visible = false;
  g.juNum = 0;
  ++g.SeatCounter;
  g.SeatNamesDone = true;
  std::error_code ignored;
  std::filesystem::remove(c.options.program_dir + "/info.kb", ignored);
  if (g.SeatCounter < 4) return;
  g.SeatCounter = 0;
  ShowButtonPicture(c, c.MainForm.At("AnNiu", 2), kContinuePicture);
  c.buttons.ButtonLatched[2] = true;
  for (int j = 0; j < kSeatCount; ++j) {
    if (g.SeatNames[j] != g.custom[0].Name) continue;
    for (int v = 0; v < kSeatCount; ++v) {
      const int seat = (j - v + 4) % 4;
      g.custom[v].Seat = MaskOf(seat);
      g.custom[v].Name = g.SeatNames[seat];
    }
    return;
  }
}

void OnSeatInfo(Client& c) {
  GameState& g = c.game;
  g.info.Seat &= 0x0F;
  c.leave.OtherExitShown = false;
  if (!g.IsSpectator) return PlaceProfile(c);
  // A spectator builds the watched table from all four profiles at once,
  // then gives its players their voices.
  if (!StoreWatchedSeatInfo(c)) return;
  PlaceProfile(c);
  AssignVoices(c);
}

namespace {

void PlaceProfile(Client& c) {
  GameState& g = c.game;
  const int seat = g.info.Seat;
  const bool single = seat == 1 || seat == 2 || seat == 4 || seat == 8;
  if (seat != 0 && seat != 15 && !single) return;  // names no seat

  const std::string account = ReadByteText(g.LastPacket, kProfileAccount, kProfileAccountEnd);
  if (g.SeatNamesDone) ++g.SeatCounter;

  std::optional<int> target;
  if (seat == 15) {
    target = 0;
    c.buttons.ButtonLatched[2] = false;
  } else if (single) {
    const int v = ViewSeatOf(g, seat).value_or(0);
    if (v != 0) target = v;
  } else {
    target = ProvisionalPlace(c, account);
    if (!target) return;
    if (++c.leave.OthersListed == 3) {
      RestoreMainWindow(c);
      MinimizeLobby(c);
      c.MainForm.visible = true;
    }
  }

  if (target) {
    const int v = *target;
    g.custom[v].Name = account;
    g.players[v] = DecodeProfile(g.LastPacket);
    if (g.LastPacket[kProfileReady] == 1) ShowInFront(c.MainForm, c.MainForm.Find("OK", v));
    ShowProfile(c, v);
    if (c.leave.OthersListed == 3 && !g.TableCleared) {
      ClearTableForNextHand(c);
      ClearStatusLines(c);
      SetStatusLine(c, 0, kGameStartsSoon);
    }
  }

  if (g.SeatNamesDone && g.SeatCounter == 4) {
    g.SeatNamesDone = false;
    g.SeatCounter = 5;
    SetUpTable(c);
  }
}

}  // namespace

void SetUpTable(Client& c) {
  DrawSeatWind(c);
  ShowCompass(c);
  c.buttons.ButtonLatched[5] = c.buttons.ButtonLatched[6] = false;
  AssignVoices(c);
}

void AssignVoices(Client& c) {
  GameState& g = c.game;
  g.MaleVoiceUsed.fill(false);
  g.FemaleVoiceUsed.fill(false);
  std::minstd_rand rng(static_cast<uint32_t>(c.loop.NowMs()));
  for (int v = 0; v < kSeatCount; ++v) {
    PlayerInfo& p = g.players[v];
    p.VoiceSet = "00";
    if (p.Gender != 0) {
      const int j = FreeVoice(g.MaleVoiceUsed, static_cast<int>(rng() % 5), 5);
      p.VoiceId = j % 2 == 0 ? "10" : "30";
      p.VoiceByte = 3;
    } else {
      const int j = FreeVoice(g.FemaleVoiceUsed, static_cast<int>(rng() % 6), 6);
      p.VoiceId = j % 3 == 0 ? "10" : j % 3 == 1 ? "20" : "30";
      p.VoiceByte = 2;
    }
    c.audio.PlayerVoiceIds[v] = p.VoiceId;
  }
}

void OnPlayerReady(Client& c) {
  GameState& g = c.game;
  const std::string name = ReadByteText(g.LastPacket, kOffBody, kReadyNameEnd);
  if (g.info.value[0] == 1)
    for (int v = 0; v < kSeatCount; ++v)
      if (!name.empty() && g.custom[v].Name == name) ShowInFront(c.MainForm, c.MainForm.Find("OK", v));
  if (!c.conn.HadHand) return;
  for (int v = 1; v < kSeatCount; ++v)
    if (!c.MainForm.At("OK", v).visible) return;
  ShowButtonPicture(c, c.MainForm.At("AnNiu", 2), kContinuePicture);
  ClearTableForNextHand(c);
}

}  // namespace tess
