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

TEST_F(RendererTest, RedrawsOnlyWhenTheDrawableStateChanges) {
  Element& label = main_.Add(ElementKind::kLabel, "Label3");
  label.caption = "1";
  renderer_.Pump();
  const uint64_t first = renderer_.Redraws();
  EXPECT_GE(first, 1u);
  renderer_.Pump();
  label.caption = "1";
  desktop_.focus = &label;  // not drawn
  renderer_.Pump();
  EXPECT_EQ(renderer_.Redraws(), first);

  label.caption = "2";
  renderer_.Pump();
  EXPECT_EQ(renderer_.Redraws(), first + 1);
  label.left += 0.25;
  renderer_.Pump();
  EXPECT_EQ(renderer_.Redraws(), first + 2) << "an unrounded move counts too";
  main_.BringToFront(main_.Add(ElementKind::kImage, "new"));
  renderer_.Pump();
  EXPECT_EQ(renderer_.Redraws(), first + 3);
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
  desktop_.focus = nullptr;
  renderer_.Pump();
  EXPECT_FALSE(SDL_IsTextInputActive()) << "no text box has the focus";
  desktop_.focus = &chat;
  renderer_.Pump();
  EXPECT_TRUE(SDL_IsTextInputActive()) << "the input method may type into the text box";

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
