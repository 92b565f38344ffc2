// The renderer under SDL's offscreen video driver: what it draws (read back
// from its screenshots), how the window follows the main form, and input.
#include "ui/renderer.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

namespace tess {
namespace {

namespace fs = std::filesystem;

PictureRef SolidPicture(int w, int h, uint32_t argb) {
  auto p = std::make_shared<Picture>();
  p->width = w, p->height = h;
  p->argb.assign(static_cast<size_t>(w) * h, argb);
  return p;
}

// A PNG read back as 0xRRGGBB pixels.
struct Shot {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
  // Pixels in [x0, x1) x [y0, y1) for which `pred` holds.
  template <class Pred>
  int Count(int x0, int y0, int x1, int y1, Pred pred) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += pred(At(x, y)) ? 1 : 0;
    return n;
  }
};

Shot ReadPng(const std::string& path) {
  Shot shot;
  SDL_Surface* loaded = IMG_Load(path.c_str());
  EXPECT_NE(loaded, nullptr) << path;
  if (!loaded) return shot;
  SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  shot.width = s->w, shot.height = s->h;
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x)
      shot.rgb.push_back(static_cast<const uint32_t*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF);
  SDL_FreeSurface(s);
  return shot;
}

int R(uint32_t c) { return c >> 16 & 0xFF; }
int B(uint32_t c) { return c & 0xFF; }

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tess_renderer_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    main_.caption = "Tessaly";
    main_.width = 200, main_.height = 150;
    main_.back_color = 0x808080;
    main_.visible = true;
  }
  void TearDown() override { fs::remove_all(dir_); }

  Shot Screenshot() {
    std::string path = (dir_ / "shot.png").string();
    EXPECT_TRUE(renderer_.SaveScreenshot(path));
    return ReadPng(path);
  }
  void Push(SDL_Event ev) { ASSERT_EQ(SDL_PushEvent(&ev), 1) << SDL_GetError(); }
  SDL_Event Button(Uint32 type, int x, int y) {
    SDL_Event ev{};
    ev.type = type;
    ev.button.windowID = SDL_GetWindowID(renderer_.Window());
    ev.button.button = SDL_BUTTON_LEFT;
    ev.button.x = x, ev.button.y = y;
    return ev;
  }
  SDL_Event Motion(int x, int y) {
    SDL_Event ev{};
    ev.type = SDL_MOUSEMOTION;
    ev.motion.windowID = SDL_GetWindowID(renderer_.Window());
    ev.motion.state = SDL_BUTTON_LMASK;
    ev.motion.x = x, ev.motion.y = y;
    return ev;
  }
  SDL_Event Key(Uint32 type, SDL_Keycode sym, Uint16 mod) {
    SDL_Event ev{};
    ev.type = type;
    ev.key.windowID = SDL_GetWindowID(renderer_.Window());
    ev.key.keysym.sym = sym;
    ev.key.keysym.mod = mod;
    return ev;
  }

  // Before the renderer is made.
  int offscreen_ = setenv("SDL_VIDEODRIVER", "offscreen", 1);
  fs::path dir_;
  VirtualClock clock_;
  EventLoop loop_{clock_};
  Desktop desktop_;
  Form& main_ = desktop_.AddForm("MainForm");
  SdlRenderer renderer_{desktop_, loop_};
};

TEST_F(RendererTest, DrawsPicturesAtRoundedPositionsAndChineseLabels) {
  ASSERT_EQ(renderer_.VideoDriver(), "offscreen");
  Element& pic = main_.Add(ElementKind::kImage, "pic");
  pic.left = 10.6, pic.top = 20.4, pic.width = 30, pic.height = 20;
  pic.picture = SolidPicture(30, 20, 0xFFFF0000);
  Element& label = main_.Add(ElementKind::kLabel, "msg");
  label.left = 20, label.top = 60, label.width = 160, label.height = 30;
  label.caption = "正在连接服务器...";
  label.fore_color = 0x0000FF;
  label.font_size = 12;
  Element& box = main_.Add(ElementKind::kLabel, "box");
  box.left = 150, box.top = 10, box.width = 20, box.height = 20;
  box.back_transparent = false;
  box.back_color = 0x00FF00;

  Shot s = Screenshot();
  ASSERT_EQ(s.width, 200);
  ASSERT_EQ(s.height, 150);
  EXPECT_EQ(s.At(11, 20), 0xFF0000u) << "left 10.6 and top 20.4 draw from (11, 20)";
  EXPECT_EQ(s.At(40, 39), 0xFF0000u);
  EXPECT_EQ(s.At(10, 20), 0x808080u);
  EXPECT_EQ(s.At(41, 20), 0x808080u);
  EXPECT_EQ(s.At(11, 40), 0x808080u);
  EXPECT_EQ(s.At(160, 20), 0x00FF00u) << "an opaque label fills its back colour";

  auto blue = [](uint32_t c) { return B(c) > R(c) + 60; };
  int text_pixels = s.Count(20, 60, 180, 90, blue);
  EXPECT_GT(text_pixels, 150) << "the caption's glyphs are drawn in the fore colour";
  EXPECT_EQ(s.Count(0, 0, 200, 60, blue) + s.Count(0, 90, 200, 150, blue), 0) << "and only inside the label";
  // 12 points are 16 pixels: the glyphs stand within the first line.
  EXPECT_EQ(s.Count(20, 80, 180, 90, blue), 0);
}

TEST_F(RendererTest, ClipsToContainersAndLayersOtherForms) {
  main_.back_color = 0xFFFFFF;
  Element& box = main_.Add(ElementKind::kPictureBox, "box");
  box.left = 20, box.top = 20, box.width = 50, box.height = 50;
  Element& child = main_.Add(ElementKind::kImage, "child");
  child.container = &box;
  child.left = 30, child.top = 10, child.width = 40, child.height = 10;
  child.picture = SolidPicture(40, 10, 0xFFFF0000);
  Element& stretched = main_.Add(ElementKind::kImage, "stretched");
  stretched.left = 120, stretched.top = 10, stretched.width = 20, stretched.height = 20;
  stretched.stretch = true;
  stretched.picture = SolidPicture(2, 2, 0xFF00FF00);

  main_.left = 300, main_.top = 200;
  Form& dialog = desktop_.AddForm("Score");
  dialog.left = 400, dialog.top = 280, dialog.width = 50, dialog.height = 40;
  dialog.back_color = 0x0000FF;
  dialog.opacity = 0.5;
  dialog.visible = true;
  Form& gone = desktop_.AddForm("Hero");
  gone.left = 300, gone.top = 200, gone.width = 10, gone.height = 10;
  gone.back_color = 0x000000;
  gone.visible = true;
  gone.window_state = WindowState::kMinimized;

  Shot s = Screenshot();
  EXPECT_EQ(s.At(60, 35), 0xFF0000u);
  EXPECT_EQ(s.At(69, 35), 0xFF0000u);
  EXPECT_EQ(s.At(70, 35), 0xFFFFFFu) << "the child is cut at its container's edge";
  EXPECT_EQ(s.At(120, 10), 0x00FF00u);
  EXPECT_EQ(s.At(139, 29), 0x00FF00u) << "a stretched picture fills the element";
  EXPECT_EQ(s.At(140, 30), 0xFFFFFFu);
  uint32_t blended = s.At(110, 90);
  EXPECT_NEAR(R(blended), 127, 3) << "half-opaque blue over white, drawn relative to the main form";
  EXPECT_EQ(B(blended), 255);
  EXPECT_EQ(s.At(99, 79), 0xFFFFFFu);
  EXPECT_EQ(s.At(2, 2), 0xFFFFFFu) << "a minimised form is not drawn";

  box.visible = false;
  s = Screenshot();
  EXPECT_EQ(s.At(60, 35), 0xFFFFFFu) << "a hidden container hides its elements";
}

// What lies behind an element that covers the whole form opaquely is left
// undrawn; whatever shows through or around a cover still is.
TEST_F(RendererTest, OnlyAWholeOpaqueCoverHidesWhatLiesBehindIt) {
  Element& behind = main_.Add(ElementKind::kImage, "behind");
  behind.left = 4, behind.top = 4, behind.width = 10, behind.height = 10;
  behind.picture = SolidPicture(10, 10, 0xFFFF0000);
  Element& box = main_.Add(ElementKind::kPictureBox, "Pic1");
  Element& cover = main_.Add(ElementKind::kImage, "cover");
  Element& front = main_.Add(ElementKind::kImage, "front");
  front.left = 100, front.top = 100, front.width = 5, front.height = 5;
  front.picture = SolidPicture(5, 5, 0xFF00FF00);
  struct Case {
    const char* name;
    std::function<void()> set_up;
    uint32_t at_behind, at_corner;  // pixels (5, 5) and (199, 149)
  };
  const PictureRef blue = SolidPicture(200, 150, 0xFF0000FF);
  auto holed = std::make_shared<Picture>(*blue);
  holed->argb[5 * 200 + 5] = 0x000000FF;  // one transparent pixel
  auto short_blue = SolidPicture(200, 149, 0xFF0000FF);
  const Case cases[] = {
      {"opaque cover", [&] { cover.picture = blue; }, 0x0000FF, 0x0000FF},
      {"a transparent pixel", [&] { cover.picture = holed; }, 0xFF0000, 0x0000FF},
      {"one row short", [&] { cover.picture = short_blue; }, 0x0000FF, 0x808080},
      {"stretched to the form", [&] { cover.picture = short_blue, cover.stretch = true; }, 0x0000FF, 0x0000FF},
      {"opaque back colour", [&] { cover.back_transparent = false, cover.back_color = 0x00FFFF; }, 0x00FFFF, 0x00FFFF},
      {"in a smaller container", [&] { cover.picture = blue, cover.container = &box; }, 0x0000FF, 0x808080},
      {"cover hidden", [&] { cover.picture = blue, cover.visible = false; }, 0xFF0000, 0x808080},
  };
  for (const Case& c : cases) {
    box.left = box.top = 0, box.width = 200, box.height = 100;
    cover.left = cover.top = 0, cover.width = 200, cover.height = 150;
    cover.picture = nullptr, cover.stretch = false, cover.visible = true, cover.container = nullptr;
    cover.back_transparent = true;
    c.set_up();
    Shot s = Screenshot();
    EXPECT_EQ(s.At(5, 5), c.at_behind) << c.name;
    EXPECT_EQ(s.At(199, 149), c.at_corner) << c.name;
    EXPECT_EQ(s.At(102, 102), 0x00FF00u) << c.name << ": what lies in front is drawn";
  }
  main_.visible = false;
  Shot hidden = Screenshot();
  EXPECT_EQ(hidden.At(5, 5), 0x000000u) << "with the main form hidden the frame is black";
}

TEST_F(RendererTest, ShowsATooltipOnceThePointerRestsAndHidesItOnTheNextMove) {
  main_.back_color = 0x000000;
  Element& button = main_.Add(ElementKind::kImage, "AnNiu", 1);
  button.left = 10, button.top = 10, button.width = 40, button.height = 20;
  button.tooltip = "聊天";
  auto pale = [](uint32_t c) { return c == 0xFFFFE1u; };

  Push(Motion(20, 15));
  renderer_.Pump();
  EXPECT_TRUE(desktop_.tooltip.text.empty()) << "not before the pointer has rested";
  clock_.Advance(700);
  renderer_.Pump();
  EXPECT_EQ(desktop_.tooltip.text, "聊天");
  Shot s = Screenshot();
  EXPECT_GT(s.Count(0, 0, 200, 150, pale), 100) << "the tooltip's ground is drawn";

  Push(Motion(120, 100));  // off the button
  renderer_.Pump();
  clock_.Advance(700);
  renderer_.Pump();
  EXPECT_TRUE(desktop_.tooltip.text.empty());
  s = Screenshot();
  EXPECT_EQ(s.Count(0, 0, 200, 150, pale), 0);
}

// Every property the painter reads leads to a redraw, and only those.
TEST_F(RendererTest, RedrawsAfterEveryDrawnChangeAndOnlyThen) {
  Element& box = main_.Add(ElementKind::kPictureBox, "Pic1");
  box.width = 100, box.height = 100;
  Element& label = main_.Add(ElementKind::kLabel, "Label3");
  label.caption = "1";
  Element& list = main_.Add(ElementKind::kListBox, "Sysmsg");
  list.items = {"a", "b"};
  Element& tile = main_.Add(ElementKind::kImage, "MJ_Image", 0);
  tile.picture = SolidPicture(4, 4, 0xFFFF0000);
  Form& other = desktop_.AddForm("Score");
  other.width = 40, other.height = 40;
  struct Case {
    const char* name;
    std::function<void()> change;
    bool drawn;
  };
  const Case cases[] = {
      {"caption", [&] { label.caption = "2"; }, true},
      {"caption edited in place", [&] { label.caption[0] = '3'; }, true},
      {"unrounded move", [&] { label.left += 0.25; }, true},
      {"size", [&] { label.width = std::max(label.width, 7.0); }, true},
      {"hidden", [&] { label.visible = !label.visible; }, true},
      {"colours", [&] { label.fore_color = 0x123456; }, true},
      {"back", [&] { label.back_transparent = false; }, true},
      {"font", [&] { label.font_size += 1; }, true},
      {"bold", [&] { label.font_bold = true; }, true},
      {"alignment", [&] { label.alignment = AlignText::kCenter; }, true},
      {"wrap", [&] { label.word_wrap = true; }, true},
      {"list item added", [&] { list.items.push_back("c"); }, true},
      {"list item edited", [&] { list.items[0] = "z"; }, true},
      {"list selection", [&] { list.list_index = 1; }, true},
      {"new picture of the same size", [&] { tile.picture = SolidPicture(4, 4, 0xFFFF0000); }, true},
      {"stretch", [&] { tile.stretch = true; }, true},
      {"moved into a container", [&] { tile.container = &box; }, true},
      {"brought to front", [&] { main_.BringToFront(label); }, true},
      {"sent to back", [&] { main_.SendToBack(label); }, true},
      {"array element loaded", [&] { main_.Load("MJ_Image", 1); }, true},
      {"array element unloaded", [&] { main_.Unload("MJ_Image", 1); }, true},
      {"main form moved", [&] { main_.left += 3; }, true},
      {"other form shown", [&] { other.visible = true; }, true},
      {"other form moved", [&] { other.top += 1; }, true},
      {"other form faded", [&] { other.opacity = 0.5; }, true},
      {"other form painted on", [&] { other.canvas = SolidPicture(2, 2, 0xFF00FF00); }, true},
      {"other form minimised", [&] { other.window_state = WindowState::kMinimized; }, true},
      {"tooltip on show", [&] { desktop_.tooltip = Desktop::Tooltip{"聊天", 5, 5}; }, true},
      {"same caption again", [&] { label.caption = label.caption; }, false},
      {"same picture again", [&] { tile.SetPicture(tile.picture); }, false},
      {"focus", [&] { desktop_.focus = &label; }, false},
      {"tag", [&] { label.tag = "x"; }, false},
      {"pointer shape", [&] { label.mouse_pointer = 99; }, false},
      {"tooltip text not on show", [&] { label.tooltip = "x"; }, false},
      {"enabled", [&] { label.enabled = false; }, false},
  };
  renderer_.Pump();
  for (const Case& c : cases) {
    const uint64_t before = renderer_.Redraws();
    c.change();
    renderer_.Pump();
    EXPECT_EQ(renderer_.Redraws(), before + (c.drawn ? 1 : 0)) << c.name;
  }
}

// The loop's own pumps look at the scene only after a handler ran; every
// change a handler makes, of every kind, is still drawn.
TEST_F(RendererTest, TheLoopDrawsEveryChangeAHandlerMadeAndLooksAtNothingWhileIdle) {
  Element& label = main_.Add(ElementKind::kLabel, "Label3");
  Element& tile = main_.Add(ElementKind::kImage, "MJ_Image", 0);
  Element& list = main_.Add(ElementKind::kListBox, "Sysmsg");
  Form& other = desktop_.AddForm("Score");
  other.width = 40, other.height = 40, other.visible = true;
  loop_.DoEvents();
  const uint64_t checks = renderer_.StateChecks();
  const uint64_t redraws = renderer_.Redraws();
  loop_.WaitProcessing(1000);
  EXPECT_EQ(renderer_.StateChecks(), checks + 1) << "once, for the entry into the loop; then never while idle";
  EXPECT_EQ(renderer_.Redraws(), redraws);

  Timer tick(loop_, "TimerBong");
  tick.SetInterval(50);
  tick.SetEnabled(true);
  loop_.WaitProcessing(1000);
  EXPECT_GE(renderer_.StateChecks(), checks + 20) << "a tick is a handler: it is looked after";
  EXPECT_EQ(renderer_.Redraws(), redraws) << "a tick that changed nothing draws nothing";

  struct Case {
    const char* name;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"picture", [&] { tile.SetPicture(SolidPicture(4, 4, 0xFF0000FF)); }},
      {"caption", [&] { label.caption += "1"; }},
      {"list item", [&] { list.items.push_back("x"); }},
      {"z-order", [&] { main_.BringToFront(label); }},
      {"visibility", [&] { tile.visible = !tile.visible; }},
      {"form move", [&] { other.left += 1; }},
  };
  for (const Case& c : cases) {
    bool done = false;
    tick.OnTimer = [&] {
      if (!done) c.change();
      done = true;
    };
    const uint64_t before = renderer_.Redraws();
    loop_.WaitProcessing(200);
    EXPECT_TRUE(done) << c.name;
    EXPECT_EQ(renderer_.Redraws(), before + 1) << c.name;
  }
  tick.SetEnabled(false);

  // Changes made by code outside the loop are looked at when it enters the loop.
  label.caption = "outside";
  const uint64_t before = renderer_.Redraws();
  loop_.DoEvents();
  EXPECT_EQ(renderer_.Redraws(), before + 1);
}

// A handler that waits inside the loop (dice frames, pauses, a message box
// opened by a click) has every step it shows drawn while it waits.
TEST_F(RendererTest, AHandlerWaitingInsideTheLoopHasEveryFrameDrawn) {
  Element& dice = main_.Add(ElementKind::kImage, "Dice");
  dice.left = 10, dice.top = 10, dice.width = 20, dice.height = 20;
  loop_.DoEvents();
  std::vector<uint64_t> drawn;
  auto throw_dice = [&] {
    const uint64_t start = renderer_.Redraws();
    for (uint32_t colour : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}) {
      dice.SetPicture(SolidPicture(20, 20, colour));
      loop_.WaitProcessing(100);
      drawn.push_back(renderer_.Redraws() - start);
    }
  };
  loop_.Post(throw_dice);
  loop_.DoEvents();
  EXPECT_EQ(drawn, (std::vector<uint64_t>{1, 2, 3})) << "from a posted call";

  drawn.clear();
  dice.on_click = [&](Element&) { throw_dice(); };
  Push(Button(SDL_MOUSEBUTTONDOWN, 15, 15));
  Push(Button(SDL_MOUSEBUTTONUP, 15, 15));
  loop_.DoEvents();
  EXPECT_EQ(drawn, (std::vector<uint64_t>{1, 2, 3})) << "from a click";
}

// Input from the window system (hover, the tooltip, a restore) is drawn
// with no timer or message behind it.
TEST_F(RendererTest, WindowSystemInputIsDrawnWithoutAnyOtherHandler) {
  main_.back_color = 0x000000;
  Element& button = main_.Add(ElementKind::kImage, "AnNiu", 1);
  button.left = 10, button.top = 10, button.width = 40, button.height = 20;
  button.tooltip = "聊天";
  button.on_mouse_move = [](Element& e, const MouseEvent&) { e.SetPicture(SolidPicture(40, 20, 0xFFFFFF00)); };
  main_.on_restored = [](Form& f) { f.back_color = 0x202020; };
  loop_.DoEvents();
  const uint64_t start = renderer_.Redraws();

  Push(Motion(20, 15));
  loop_.WaitProcessing(100);
  EXPECT_EQ(renderer_.Redraws(), start + 1) << "hover";
  // The pointer rests: time passes with no handler running, pass by pass.
  const uint64_t hovered = renderer_.Redraws();
  int passes = 0;
  loop_.WaitUntil([&] {
    clock_.Advance(50);
    return renderer_.Redraws() > hovered || ++passes > 40;
  });
  EXPECT_EQ(desktop_.tooltip.text, "聊天");
  EXPECT_EQ(renderer_.Redraws(), hovered + 1) << "the tooltip falls due";

  main_.window_state = WindowState::kMinimized;
  loop_.DoEvents();
  SDL_Event restore{};
  restore.type = SDL_WINDOWEVENT;
  restore.window.windowID = SDL_GetWindowID(renderer_.Window());
  restore.window.event = SDL_WINDOWEVENT_RESTORED;
  const uint64_t minimised = renderer_.Redraws();
  Push(restore);
  loop_.WaitProcessing(100);
  EXPECT_EQ(main_.back_color, 0x202020u);
  EXPECT_EQ(renderer_.Redraws(), minimised + 1) << "the window system's restore";
}

// The window system is asked for input often while the user is at work,
// seldom once nothing has come for a second.
TEST_F(RendererTest, PollsTheWindowSystemOftenOnlyWhileInputArrives) {
  loop_.DoEvents();  // opens the window
  loop_.DoEvents();  // and hears that it is shown
  EXPECT_EQ(renderer_.PumpWaitMs(), 10);
  clock_.Advance(1000);
  loop_.DoEvents();
  EXPECT_EQ(renderer_.PumpWaitMs(), 50);
  Push(Motion(5, 5));
  loop_.DoEvents();
  EXPECT_EQ(renderer_.PumpWaitMs(), 10);
  clock_.Advance(999);
  loop_.DoEvents();
  EXPECT_EQ(renderer_.PumpWaitMs(), 10);
}

TEST_F(RendererTest, WindowFollowsTheMainForm) {
  main_.left = 37, main_.top = 12.6;
  renderer_.Pump();
  SDL_Window* w = renderer_.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(w), "Tessaly");
  EXPECT_TRUE(SDL_GetWindowFlags(w) & SDL_WINDOW_BORDERLESS);
  EXPECT_TRUE(SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN);
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(w, &x, &y);
  SDL_GetWindowSize(w, &width, &height);
  EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{37, 13, 200, 150}));

  main_.caption = "Tessaly 2";
  main_.left = 240, main_.top = 0;
  main_.width = 320, main_.height = 240;
  renderer_.Pump();
  SDL_GetWindowPosition(w, &x, &y);
  SDL_GetWindowSize(w, &width, &height);
  EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{240, 0, 320, 240}));
  EXPECT_STREQ(SDL_GetWindowTitle(w), "Tessaly 2");
  EXPECT_EQ(Screenshot().width, 320);

  // The offscreen driver has no iconic state; what the window system
  // reports flows back into the form.
  SDL_Event state{};
  state.type = SDL_WINDOWEVENT;
  state.window.windowID = SDL_GetWindowID(w);
  state.window.event = SDL_WINDOWEVENT_MINIMIZED;
  Push(state);
  renderer_.Pump();
  EXPECT_EQ(main_.window_state, WindowState::kMinimized);
  state.window.event = SDL_WINDOWEVENT_RESTORED;
  Push(state);
  renderer_.Pump();
  EXPECT_EQ(main_.window_state, WindowState::kNormal);
  state.window.event = SDL_WINDOWEVENT_MOVED;
  state.window.data1 = 5, state.window.data2 = 6;
  Push(state);
  renderer_.Pump();
  EXPECT_EQ(main_.left, 5);
  EXPECT_EQ(main_.top, 6);

  main_.visible = false;
  renderer_.Pump();
  EXPECT_FALSE(SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN);
}

TEST_F(RendererTest, MouseKeysAndTextReachTheDesktop) {
  main_.left = 100, main_.top = 50;
  Element& tile = main_.Add(ElementKind::kImage, "tile");
  tile.left = 10, tile.top = 10, tile.width = 20, tile.height = 20;
  std::vector<std::string> log;
  tile.on_mouse_down = [&](Element&, const MouseEvent& m) {
    log.push_back("down " + std::to_string(int(m.x)) + "," + std::to_string(int(m.y)));
  };
  tile.on_click = [&](Element&) { log.push_back("click"); };
  main_.on_key_down = [&](Form&, const KeyEvent& k) {
    log.push_back("key " + std::to_string(k.key_code) + " " + std::to_string(k.shift));
  };
  Element& chat = main_.Add(ElementKind::kTextBox, "Chat");
  desktop_.focus = &chat;
  renderer_.Pump();

  Push(Button(SDL_MOUSEBUTTONDOWN, 15, 16));
  Push(Button(SDL_MOUSEBUTTONUP, 15, 16));
  Push(Key(SDL_KEYDOWN, SDLK_q, KMOD_LSHIFT));
  Push(Key(SDL_KEYDOWN, SDLK_F1, KMOD_NONE));
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  text.text.windowID = SDL_GetWindowID(renderer_.Window());
  std::strcpy(text.text.text, "中");
  Push(text);
  renderer_.Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"down 5,6", "click", "key 81 1", "key 112 0"}));
  EXPECT_EQ(chat.caption, "中");

  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.windowID = SDL_GetWindowID(renderer_.Window());
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  Push(close);
  renderer_.Pump();
  EXPECT_TRUE(loop_.QuitRequested()) << "with no close handler the loop ends";
  int requests = 0;
  main_.on_close_request = [&](Form&) { ++requests; };
  Push(close);
  renderer_.Pump();
  EXPECT_EQ(requests, 1);
}

TEST_F(RendererTest, DragOnTheTitleStripMovesTheWindow) {
  main_.left = 100, main_.top = 50;
  Element& strip = main_.Add(ElementKind::kLabel, "LbMove");
  strip.width = 200, strip.height = 20;
  strip.on_mouse_down = [&](Element&, const MouseEvent&) { desktop_.BeginWindowMove(main_); };
  renderer_.Pump();

  Push(Button(SDL_MOUSEBUTTONDOWN, 15, 5));
  Push(Motion(25, 25));  // pointer 10 right and 20 down, relative to the unmoved window
  renderer_.Pump();
  EXPECT_EQ(main_.left, 110);
  EXPECT_EQ(main_.top, 70);
  int x = 0, y = 0;
  SDL_GetWindowPosition(renderer_.Window(), &x, &y);
  EXPECT_EQ((std::vector<int>{x, y}), (std::vector<int>{110, 70}));

  Push(Motion(10, -15));  // relative to the moved window: 5 right of the start, 0 down
  Push(Button(SDL_MOUSEBUTTONUP, 10, -15));
  Push(Motion(60, 60));
  renderer_.Pump();
  EXPECT_EQ(desktop_.moving, nullptr);
  EXPECT_EQ(main_.left, 105);
  EXPECT_EQ(main_.top, 50);
}

TEST_F(RendererTest, F12WritesATimestampedScreenshotAndIsNotPassedOn) {
  int keys = 0;
  main_.on_key_down = [&](Form&, const KeyEvent&) { ++keys; };
  renderer_.Pump();
  const fs::path cwd = fs::current_path();
  fs::current_path(dir_);
  Push(Key(SDL_KEYDOWN, SDLK_F12, KMOD_NONE));
  renderer_.Pump();
  fs::current_path(cwd);
  std::vector<std::string> pngs;
  for (const auto& entry : fs::directory_iterator(dir_)) pngs.push_back(entry.path().filename().string());
  ASSERT_EQ(pngs.size(), 1u);
  EXPECT_EQ(pngs[0].rfind("tessaly-", 0), 0u) << pngs[0];
  EXPECT_EQ(pngs[0].substr(pngs[0].size() - 4), ".png");
  EXPECT_EQ(ReadPng((dir_ / pngs[0]).string()).width, 200);
  EXPECT_EQ(keys, 0);
}

TEST(RendererEnvironment, ScreenshotAfterTheGivenDelay) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  const fs::path path = fs::temp_directory_path() / ("tess_env_shot_" + std::to_string(getpid()) + ".png");
  setenv("TESSALY_SCREENSHOT", path.c_str(), 1);
  setenv("TESSALY_SCREENSHOT_AFTER_MS", "100", 1);
  VirtualClock clock;
  EventLoop loop(clock);
  Desktop desktop;
  Form& main = desktop.AddForm("MainForm");
  main.width = 64, main.height = 48, main.visible = true;
  SdlRenderer renderer(desktop, loop);
  unsetenv("TESSALY_SCREENSHOT");
  unsetenv("TESSALY_SCREENSHOT_AFTER_MS");

  loop.DoEvents();
  clock.Advance(99);
  loop.DoEvents();
  EXPECT_FALSE(fs::exists(path));
  clock.Advance(1);
  loop.DoEvents();
  ASSERT_TRUE(fs::exists(path));
  EXPECT_EQ(ReadPng(path.string()).width, 64);
  fs::remove(path);
}

TEST(RendererEnvironment, FallsBackToOffscreenWithoutADisplay) {
  struct Case {
    const char* driver;  // SDL_VIDEODRIVER, nullptr: unset
  };
  for (const Case& c : {Case{nullptr}, Case{"no-such-driver"}}) {
    if (c.driver) setenv("SDL_VIDEODRIVER", c.driver, 1);
    else unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    VirtualClock clock;
    EventLoop loop(clock);
    Desktop desktop;
    desktop.AddForm("MainForm").visible = true;
    SdlRenderer renderer(desktop, loop);
    renderer.Pump();
    EXPECT_EQ(renderer.VideoDriver(), "offscreen") << (c.driver ? c.driver : "unset");
    EXPECT_TRUE(renderer.HasWindow());
  }
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
}

}  // namespace
}  // namespace tess
