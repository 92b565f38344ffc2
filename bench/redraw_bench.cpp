// How long the real renderer takes to redraw a table in mid-hand: the main
// form as start-up builds it, logged in, with all 136 tile slots in use (four
// hands, four discard piles, the rest of the wall), the seats' avatars and
// labels, the wild-tile box, the compass, the countdown, a placed wind and a
// speech bubble. The pictures are decoded and their textures made before the
// timing starts; SDL's offscreen driver stands in for the display.
//
//   build/bench/redraw_bench
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/client.h"
#include "support/client_harness.h"
#include "table/game_state.h"
#include "table/pictures.h"
#include "ui/renderer.h"
#include "ui/scene_painter.h"

namespace tess {
namespace {

constexpr int kSides = 4;
constexpr int kStacksPerSide = 17;

// A tile code: suit mask in the high nibble, rank in the low one.
int TileCode(int n) {
  constexpr int kSuits[] = {8, 4, 2, 1};
  const int suit = kSuits[n % 4];
  return suit << 4 | (suit == 1 ? n % 7 + 1 : n % 9 + 1);
}

Element& Slot(Client& c, int slot) { return c.MainForm.At("MJ_Image", slot); }

void Place(Element& e, double left, double top, double width, double height) {
  e.left = left, e.top = top, e.width = width, e.height = height;
  e.visible = true;
}

// Every slot stands in the wall, face down, as a new hand builds it.
void BuildWall(Client& c) {
  struct Side {
    double w, h, left, top, upper_dy, next_dx, next_dy;
  };
  constexpr Side kWall[kSides] = {{36, 50, 809, 476, 22, -36, 0},
                                  {48, 35, 164, 476, 20, 0, -15},
                                  {30, 36, 236, 192, 16, 30, 0},
                                  {48, 35, 748, 192, 20, 0, 15}};
  for (int k = 0; k < kSides; ++k) {
    const Side& s = kWall[k];
    for (int i = 0; i < kStacksPerSide; ++i) {
      for (int upper = 0; upper < 2; ++upper) {
        const int slot = 34 * k + 2 * i + upper;
        ShowTilePicture(c, slot, kPicturesPerGroup * k + 8);
        Place(Slot(c, slot), s.left + s.next_dx * i, s.top + s.next_dy * i + s.upper_dy * upper, s.w, s.h);
      }
    }
  }
}

// Takes the next slot from the front of the wall.
int TakeFromWall(int& front) {
  const int slot = front;
  front = (front + 1) % kTileSlots;
  return slot;
}

// Thirteen concealed tiles per seat and the local player's fourteenth,
// set apart: faces for the local player, backs for the others.
void DealHands(Client& c, int& front) {
  struct Hand {
    double w, h, dx, dy;  // size, and the step from one entry to the next
    int picture;          // standing back; -1: the local player's faces
  };
  constexpr Hand kHands[kSides] = {{48, 78, 48, 0, -1}, {35, 66, -5, 17.5, 43}, {36, 50, -36, 0, 79}, {35, 66, -5, -17.5, 115}};
  for (int v = 0; v < kSides; ++v) {
    const Hand& h = kHands[v];
    const SeatState& seat = c.game.custom[v];
    const int tiles = v == 0 ? 14 : 13;
    for (int i = 4; i < 4 + tiles; ++i) {
      const int slot = TakeFromWall(front);
      const int picture = h.picture >= 0 ? h.picture : *PictureIndex(4, TileCode(i + v));
      ShowTilePicture(c, slot, picture);
      const double apart = v == 0 && i == 4 + 13 ? h.w / 2 : 0;
      Place(Slot(c, slot), seat.HandX + h.dx * i + apart, seat.HandY + h.dy * i, h.w, h.h);
      if (v == 1) c.MainForm.BringToFront(Slot(c, slot));
      if (v == 3) c.MainForm.SendToBack(Slot(c, slot));
    }
  }
}

// `count` discards laid on each seat's pile in rows of eight.
void LayDiscards(Client& c, int& front, int count) {
  struct Pile {
    double w, h, dx, dy, row_dx, row_dy;
  };
  constexpr Pile kPiles[kSides] = {{36, 50, 36, 0, 0, -32}, {48, 35, -5, 18, 88, 0}, {30, 36, -30, 0, 0, 22}, {48, 35, -5, -18, -3, 0}};
  for (int v = 0; v < kSides; ++v) {
    const Pile& p = kPiles[v];
    const SeatState& seat = c.game.custom[v];
    for (int n = 0; n < count; ++n) {
      const int slot = TakeFromWall(front);
      ShowTilePicture(c, slot, *PictureIndex(v, TileCode(3 * n + v)));
      const int row = n / 8, at = n % 8;
      Place(Slot(c, slot), seat.DiscardX + p.dx * at + p.row_dx * row, seat.DiscardY + p.dy * at + p.row_dy * row, p.w,
            p.h);
    }
  }
}

// The seats' avatars and labels and the table's indicators.
void FillTheTable(Client& c) {
  Form& f = c.MainForm;
  for (int v = 0; v < kSides; ++v) {
    ShowResourcePicture(c, f.At("Tou", v), c.pictures.AvatarPictures[AvatarEntry(v % 2 ? "w3" : "m2")]);
    f.At("Tou", v).visible = true;
    f.At("Nid", v).caption = "[书生] 玩家" + std::to_string(v + 1);
    f.At("Cash", v).caption = std::to_string(12000 + 350 * v) + "金币";
    f.At("Level", v).caption = "等级 " + std::to_string(3 + v);
  }
  f.At("Korbi").visible = true;
  ShowResourcePicture(c, f.At("KB_Image"), c.pictures.TilePictures[*PictureIndex(4, 0x15)]);
  f.At("KB_Image").visible = true;
  ShowResourcePicture(c, f.At("ZhiNan"), c.pictures.CompassPictures[0]);
  f.At("ZhiNan").visible = true;
  f.At("Host").visible = f.At("Zhuang").visible = true;
  f.At("Zhuang").caption = "东";
  f.At("Time_Img").visible = f.At("Number").visible = true;
  f.At("Number").caption = "8";
  ShowResourcePicture(c, f.At("Speak", 1), c.pictures.WithholdBubbles[1]);
  Place(f.At("Speak", 1), 180, 300, 131, 102);
  Element& wind = f.At("BaiBao_img", 0);
  ShowResourcePicture(c, wind, c.pictures.TilePictures[*PictureIndex(2, 0x12)]);
  Place(wind, 420, 150, 30, 36);
  f.At("Sysmsg", 0).caption = "连接服务器成功！";
}

// A logged-in client with its renderer, the table laid as in mid-hand.
struct MidHandTable {
  MidHandTable() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    renderer = std::make_unique<SdlRenderer>(harness.client->desktop, harness.loop);
    if (!harness.LogIn()) {
      std::fprintf(stderr, "redraw_bench: the client did not log in\n");
      std::exit(1);
    }
    Client& c = *harness.client;
    BuildWall(c);
    FillTheTable(c);
    int front = 46;
    DealHands(c, front);
    LayDiscards(c, front, 5);
    last_discard = &Slot(c, (front + kTileSlots - 1) % kTileSlots);
    renderer->Pump();  // textures made, text rendered
  }
  test::ClientHarness harness;
  std::unique_ptr<SdlRenderer> renderer;
  Element* last_discard = nullptr;
};

MidHandTable& Table() {
  static MidHandTable table;
  return table;
}

// One frame as the tick's blink makes it: the last discard shown or hidden,
// then the whole window drawn and shown.
void BM_FullRedrawMidHand(benchmark::State& state) {
  MidHandTable& t = Table();
  const uint64_t first = t.renderer->Redraws();
  for (auto _ : state) {
    t.last_discard->visible = !t.last_discard->visible;
    t.renderer->Pump();
  }
  if (t.renderer->Redraws() - first != static_cast<uint64_t>(state.iterations()))
    state.SkipWithError("a frame was not redrawn");
  state.counters["elements"] = static_cast<double>(t.harness.client->MainForm.Elements().size());
}
BENCHMARK(BM_FullRedrawMidHand)->Unit(benchmark::kMillisecond);

// What a tick that changed nothing costs the renderer: one look at the scene.
void BM_StateCheckMidHand(benchmark::State& state) {
  MidHandTable& t = Table();
  const Desktop& desktop = t.harness.client->desktop;
  for (auto _ : state) benchmark::DoNotOptimize(DrawableStateHash(desktop, t.harness.client->MainForm));
}
BENCHMARK(BM_StateCheckMidHand)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tess

BENCHMARK_MAIN();
