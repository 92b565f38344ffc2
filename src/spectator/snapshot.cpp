#include "spectator/snapshot.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/client.h"
#include "play/deal.h"
#include "play/discards.h"
#include "play/tile_slots.h"
#include "table/dispatcher.h"
#include "table/pictures.h"
#include "table/seats.h"
#include "table/table_clear.h"

namespace tess {
namespace {

constexpr int kEntries = 24;
constexpr int kMaxConcealed = 14;
constexpr int kColumnRows = 4;  // AsideSlots rows per set-aside column
constexpr int kRedDragon = 0x15;
constexpr int kStandingBack = 7;  // picture 36v + 7
constexpr int kLyingBack = 8;     // picture 36v + 8
constexpr int kLastMessage = 4;

// Exposed and standing sizes per ViewSeat, reference pixels.
constexpr double kExposedW[kSeatCount] = {45, 45, 34, 45};
constexpr double kExposedH[kSeatCount] = {56, 35, 40, 35};
constexpr double kStandingW[kSeatCount] = {48, 35, 36, 35};
constexpr double kStandingH[kSeatCount] = {78, 66, 50, 66};
// The indicator on wall side k: its size and how far above the stack.
constexpr double kIndicatorW[kSeatCount] = {36, 48, 30, 48};
constexpr double kIndicatorH[kSeatCount] = {50, 35, 36, 35};
constexpr double kIndicatorRise[kSeatCount] = {22, 20, 16, 20};

int Wrap(int slot) { return ((slot % kTileSlots) + kTileSlots) % kTileSlots; }

void SetSizes(Client& c, const double (&w)[kSeatCount], const double (&h)[kSeatCount]) {
  for (int v = 0; v < kSeatCount; ++v) {
    c.play.TileW[v] = RoundPixels(w[v] * c.game.ScaleX);
    c.play.TileH[v] = RoundPixels(h[v] * c.game.ScaleY);
  }
}

// Where this hand's wall was broken.
int BreakFront(const Client& c) {
  return c.snapshot.BreakFront >= 0 ? c.snapshot.BreakFront : Wrap(c.game.WallFront);
}

// Tiles the hand has taken from the front and from the back.
int TakenFront(const Client& c) { return c.snapshot.SnapshotHigh; }
int TakenBack(const Client& c) { return c.snapshot.SnapshotLow; }

// The slot of this snapshot's k-th tile: the front-taken slots from the
// break on, then the back-taken ones in the order the back is drawn.
int SlotOfTile(const Client& c, int k) {
  const int front = BreakFront(c);
  if (k < TakenFront(c)) return Wrap(front + k);
  int t = Wrap(front - 2);  // the first back slot
  for (int j = TakenFront(c); j < k; ++j) t = NextBack(t);
  return t;
}

int TilesLaid(const Client& c) { return static_cast<int16_t>(c.snapshot.RestoreCount - c.snapshot.RestoreBase); }

// The next tile's slot; RestoreCount grows.
int TakeSlot(Client& c) {
  const int slot = SlotOfTile(c, TilesLaid(c));
  c.snapshot.RestoreCount = static_cast<int16_t>(c.snapshot.RestoreCount + 1);
  return slot;
}

void Place(Element& e, double left, double top, double w, double h) {
  e.left = left;
  e.top = top;
  e.width = w;
  e.height = h;
}

// The table before a snapshot lays it: no tile in any hand, on any pile or
// set aside; the wall in place, hidden until the fourth message restores it.
void EmptyTiles(Client& c) {
  ClearHandLists(c);
  LayOutWallSlots(c);
  ResetSeatTiles(c.game);
  SetUpSeatPositions(c.game);
  c.play.DiscardTaken = false;
  c.play.IndicatorSlot = -1;
}

struct Entries {
  std::vector<int> exposed;
  std::vector<int> concealed;
};

Entries ReadEntries(const Packet& p) {
  Entries e;
  for (int i = 0; i < kEntries; ++i) {
    const int flag = p[kOffBody + 2 * i], code = p[kOffBody + 2 * i + 1];
    if (flag >= 0x20 && flag <= 0x2F) e.exposed.push_back(code);
    if (flag >= 0x10 && flag <= 0x1F && e.concealed.size() < kMaxConcealed) e.concealed.push_back(code);
  }
  return e;
}

// Step 6: red dragons into the first column, wild tiles into the second.
void SetAside(Client& c, int v, std::vector<int>& exposed) {
  GameState& g = c.game;
  SeatState& s = g.custom[v];
  Form& f = c.MainForm;
  const int w = c.play.TileW[v], h = c.play.TileH[v];
  for (size_t i = 0; i < exposed.size();) {
    const int code = exposed[i];
    const bool red = code == kRedDragon, wild = code == g.WildTile;
    if (!red && !wild) {
      ++i;
      continue;
    }
    exposed.erase(exposed.begin() + static_cast<long>(i));
    const int row = red ? s.AsideCountA : s.AsideCountB;
    if (row >= kColumnRows)
      throw HandlerFault("a fifth set-aside tile " + std::to_string(code) + " for seat " + std::to_string(v));
    const int slot = TakeSlot(c);
    Element& e = TileAt(c, slot);
    double left = s.HandX, top = s.HandY - 18 * row;
    if (wild) {
      if (v == 0) left = s.HandX + w - 2;
      if (v == 1) left = s.HandX - 5, top = s.HandY + h - 17 - 18 * row;
      if (v == 2) left = s.HandX - w;
      if (v == 3) left = s.HandX - 15, top = s.HandY - (h - 17) - 18 * row;
    } else if (v == 3) {
      left = s.HandX - 10;
    }
    Place(e, left, top, w, h);
    if (red) {
      ShowTilePicture(c, slot, 36 * v + 4);
      g.AsideSlots[v][row] = static_cast<int16_t>(slot);
      ++s.AsideCountA;
    } else {
      ShowFace(c, slot, v, code);
      g.AsideSlots[v][kColumnRows + row] = static_cast<int16_t>(slot);
      ++s.AsideCountB;
    }
    if (v == 1) {
      f.SendToBack(e);
      if (red && s.AsideCountA >= 2) f.BringToFront(e);
    } else {
      f.BringToFront(e);
    }
    e.visible = true;
  }
}

// Steps 7 and 8: the melds, sorted, in the seat's meld groups mj(m - 2 ..
// m) as a claim lays them; a kong's fourth tile lies on the group's middle
// tile and takes no entry.
void LayMelds(Client& c, int v, std::vector<int>& exposed) {
  SeatState& s = c.game.custom[v];
  Form& f = c.MainForm;
  const int n = static_cast<int>(exposed.size());
  for (int i = 0; i < n - 1; ++i)
    for (int j = i + 1; j < n; ++j) {
      const int a = exposed[i], b = exposed[j];
      if ((a >> 4) < (b >> 4) || ((a >> 4) == (b >> 4) && (a & 0x0F) > (b & 0x0F))) std::swap(exposed[i], exposed[j]);
    }
  const int w = c.play.TileW[v], h = c.play.TileH[v];
  std::vector<int> entry(n, -1), slots(n, -1);
  for (int i = 0; i < n; ++i) {
    const int code = exposed[i];
    const int slot = TakeSlot(c);
    slots[i] = slot;
    Element& e = TileAt(c, slot);
    ShowFace(c, slot, v, code);
    e.width = w;
    e.height = h;
    if (i >= 3 && code == exposed[i - 3]) {
      const Element& middle = TileAt(c, slots[i - 2]);
      e.left = middle.left;
      e.top = middle.top - 17;
      f.BringToFront(e);
      e.visible = true;
      continue;
    }
    const int m = s.MeldCursor;
    if (m - 2 < 0 || m - 2 >= kHandEntries)
      throw HandlerFault("meld tile " + std::to_string(i) + " of seat " + std::to_string(v) + " beyond its record");
    HandEntry& rec = s.mj[m - 2];
    rec.slot = static_cast<int16_t>(slot);
    rec.code = static_cast<int16_t>(code);
    entry[i] = m - 2;
    switch (v) {
      case 0:
        e.left = s.HandX + (w - 2) * (m - 2);
        e.top = s.HandY;
        f.BringToFront(e);
        break;
      case 1:
        e.left = s.HandX - 5 * m + 10;
        e.top = s.HandY + (h - 17) * (m - 2);
        f.BringToFront(e);
        break;
      case 2:
        e.left = s.HandX - w * (m - 2);
        e.top = s.HandY;
        break;
      default:
        e.left = s.HandX - 5 * m;
        e.top = s.HandY - (h - 17) * (m - 2);
        f.SendToBack(e);
        break;
    }
    e.visible = true;
    ++s.MeldCursor;
    ++s.HandStart;
  }
  // Three equal tiles in a row form a pung or kong.
  for (int i = 0; i + 2 < n; ++i)
    if (exposed[i] == exposed[i + 1] && exposed[i] == exposed[i + 2])
      for (int k = i; k < i + 3; ++k)
        if (entry[k] >= 0) s.mj[entry[k]].kind = 3;
}

// Step 9: the concealed tiles standing in the hand row; the local seat's
// face up when the server sent their faces.
void LayConcealed(Client& c, int v, const std::vector<int>& concealed) {
  SeatState& s = c.game.custom[v];
  SetSizes(c, kStandingW, kStandingH);
  const int w = c.play.TileW[v], h = c.play.TileH[v];
  for (int code : concealed) {
    const int m = s.HandStart + s.HandCount;
    if (m < 0 || m >= kHandEntries)
      throw HandlerFault("concealed tile at entry " + std::to_string(m) + " of seat " + std::to_string(v));
    ++s.HandCount;
    const int slot = TakeSlot(c);
    HandEntry& rec = s.mj[m];
    rec.kind = 1;
    rec.slot = static_cast<int16_t>(slot);
    rec.code = static_cast<int16_t>(code);
    Element& e = TileAt(c, slot);
    if (v == 0) {
      Place(e, s.HandX + w * m, s.HandY, w, h);
      ShowTilePicture(c, slot, PictureIndex(4, code).value_or(kStandingBack));
    } else {
      ShowTilePicture(c, slot, 36 * v + kStandingBack);
      PlaceBack(c, v, m, e, /*apart=*/false);
    }
  }
  if (v == 0) SortAndRedrawHand(c, 0, s.HandCount);
}

// Step 10: on the side seats nearer tiles (lower on the screen) cover
// farther ones: the row away from the player behind, the set-aside tiles
// from the highest up to the lowest in front.
void Restack(Client& c, int v) {
  if (v != 1 && v != 3) return;
  const GameState& g = c.game;
  const SeatState& s = g.custom[v];
  Form& f = c.MainForm;
  for (int i = s.HandStart; i < s.HandStart + s.HandCount; ++i)
    if (Element* e = FindTile(c, s.mj[i].slot)) v == 1 ? f.BringToFront(*e) : f.SendToBack(*e);
  std::vector<Element*> aside;
  for (int r = 0; r < s.AsideCountA; ++r) aside.push_back(&TileAt(c, g.AsideSlots[v][r]));
  for (int r = 0; r < s.AsideCountB; ++r) aside.push_back(&TileAt(c, g.AsideSlots[v][kColumnRows + r]));
  std::stable_sort(aside.begin(), aside.end(), [](const Element* a, const Element* b) { return a->top < b->top; });
  for (Element* e : aside) f.BringToFront(*e);
}

// Step 11.1-11.3: WallBack where the back's draws have left it, and the
// wall from the new front to the back end face down.
void RestoreWall(Client& c) {
  GameState& g = c.game;
  const int front = BreakFront(c);
  const int taken_front = TakenFront(c), taken_back = TakenBack(c);
  std::array<bool, kTileSlots> gone{}, in_wall{};
  int back = Wrap(front - 2);
  for (int j = 0; j < taken_back && j < kTileSlots; ++j) {
    gone[back] = true;
    back = NextBack(back);
  }
  g.WallBack = static_cast<int16_t>(back);
  int left = kTileSlots - taken_front - taken_back;
  for (int k = Wrap(front + taken_front), walked = 0; left > 0 && walked < kTileSlots; k = Wrap(k + 1), ++walked) {
    if (gone[k]) continue;
    ShowTilePicture(c, k, 36 * (k / 34) + kLyingBack);
    in_wall[k] = true;
    --left;
  }
  // A spectator's wall was never built: stack what is left of it as the
  // new hand stacks the whole.
  StackWall(c, [&](int slot) { return in_wall[slot]; });
}

// Step 11.4: the indicator face up on the stack at WallBack, in front of
// the wall. Its tile is
// taken even when the indicator is not known; nothing is shown then.
void ShowIndicator(Client& c) {
  GameState& g = c.game;
  const int slot = TakeSlot(c);
  const int k = g.WallBack / 34;
  const auto face = PictureIndex(k, g.IndicatorTile);
  if (!face) return;
  const SlotPlace stack = WallPlace(c, g.WallBack);
  Element& e = TileAt(c, slot);
  ShowTilePicture(c, slot, *face);
  Place(e, stack.left, stack.top - kIndicatorRise[k] * g.ScaleY, RoundPixels(kIndicatorW[k] * g.ScaleX),
        RoundPixels(kIndicatorH[k] * g.ScaleY));
  // On top of the stack whether or not its lower tile is still there.
  c.MainForm.BringToFront(e);
  e.visible = true;
  c.play.IndicatorSlot = static_cast<int16_t>(slot);
}

// Step 11.5: each seat's discards face down on its pile, while the hand's
// taken slots last.
void LayPiles(Client& c) {
  GameState& g = c.game;
  const int taken = TakenFront(c) + TakenBack(c);
  for (int v = 0; v < kSeatCount; ++v)
    for (int n = 0; n < c.snapshot.SnapshotAux[v]; ++n) {
      if (TilesLaid(c) >= taken) return;
      g.LastDiscardSlot = static_cast<int16_t>(TakeSlot(c));
      g.LastDiscarder = static_cast<uint8_t>(v);
      LayDiscardOnPile(c, /*blink=*/false);
      ShowTilePicture(c, g.LastDiscardSlot, 36 * v + kLyingBack);
    }
}

// Step 11: the fourth message lays out the wall and the piles.
void FinishSnapshot(Client& c) {
  GameState& g = c.game;
  SnapshotState& snap = c.snapshot;
  g.SeatCounter = 0;
  // A hand is running: the compass stands as the new hand showed it, also
  // for a spectator who never saw that hand start.
  ShowCompass(c);
  c.MainForm.At("ZhiNan").visible = true;
  if (g.WildTile > 0) ShowWildTileBox(c, g.WildTile);
  RestoreWall(c);
  ShowIndicator(c);
  LayPiles(c);
  // The restored piles hold no discard for the next draw to lay.
  g.LastDiscard = 0;
  snap.BreakFront = static_cast<int16_t>(BreakFront(c));
  g.WallFront = static_cast<int16_t>(Wrap(snap.BreakFront + snap.SnapshotHigh));
  snap.SnapshotDone = true;
}

}  // namespace

void OnSnapshot(Client& c) {
  GameState& g = c.game;
  SnapshotState& snap = c.snapshot;
  // 1. The seat the message describes; one that is not at the table
  // describes nothing here.
  int v = -1;
  for (int k = 0; k < kSeatCount && v < 0; ++k)
    if (g.custom[k].Seat != 0 && g.custom[k].Seat == g.info.Seat) v = k;
  if (v < 0) return;
  g.info.Seat = static_cast<uint8_t>(v);
  // 2-3. A snapshot counts its own messages; a count it did not start (the
  // table set-up leaves 5) begins a new one.
  if (g.SeatCounter < 0 || g.SeatCounter >= kLastMessage) g.SeatCounter = 0;
  ++g.SeatCounter;
  const int high = g.info.value[1], low = g.info.value[3];
  if (g.SeatCounter == 1) {
    EmptyTiles(c);
    snap.SnapshotDone = false;
    snap.SnapshotAux.fill(0);
    snap.RestoreBase = snap.RestoreCount;
    snap.SnapshotHigh = static_cast<int16_t>(high);
    snap.SnapshotLow = static_cast<int16_t>(low);
  }
  snap.SnapshotAux[v] = g.info.AuxB;
  if (high > snap.SnapshotHigh) snap.SnapshotHigh = static_cast<int16_t>(high);
  if (low < snap.SnapshotLow) snap.SnapshotLow = static_cast<int16_t>(low);
  // 4-5.
  Entries entries = ReadEntries(g.LastPacket);
  SetSizes(c, kExposedW, kExposedH);
  // 6-10.
  SetAside(c, v, entries.exposed);
  LayMelds(c, v, entries.exposed);
  LayConcealed(c, v, entries.concealed);
  Restack(c, v);
  // 11.
  if (g.SeatCounter == kLastMessage) FinishSnapshot(c);
}

}  // namespace tess
