// The main window after start-up on screens of several sizes: window size,
// the table's place in it, the layout scale, the painted frame and the
// title bar's layout and behaviour.
#include "ui/window_frame.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/screen_start.h"
#include "ui/resources.h"

namespace tess::test {
namespace {

constexpr double kTwip = 1.0 / 15;

struct Rect {
  double left, top, width, height;
};

void ExpectRect(const Element& e, const Rect& r) {
  SCOPED_TRACE(e.name);
  EXPECT_DOUBLE_EQ(e.left, r.left);
  EXPECT_DOUBLE_EQ(e.top, r.top);
  EXPECT_DOUBLE_EQ(e.width, r.width);
  EXPECT_DOUBLE_EQ(e.height, r.height);
}

uint32_t PixelAt(const Picture& p, int x, int y) { return p.argb[static_cast<size_t>(y) * p.width + x]; }

// The centre of an element, in form coordinates.
double MidX(const Element& e) { return e.FormLeft() + e.width / 2; }
double MidY(const Element& e) { return e.FormTop() + e.height / 2; }

class WindowFrameTest : public ::testing::Test {
 protected:
  // Starts the client on a screen of w x h pixels.
  void StartOn(int w, int h) { h_ = StartedOn(w, h); }
  Client& c() { return *h_->client; }
  Form& main() { return h_->client->MainForm; }
  Element& At(const char* name, int index = -1) { return main().At(name, index); }
  // Mouse input at a point of the main form.
  void Move(double x, double y, int buttons = 0) { c().desktop.MouseMove(main().left + x, main().top + y, buttons, 0); }
  void Press(double x, double y, int button = kButtonLeft) {
    c().desktop.MouseDown(main().left + x, main().top + y, button, 0, now_ += 1000);
  }
  void Release(double x, double y, int button = kButtonLeft) {
    c().desktop.MouseUp(main().left + x, main().top + y, button, 0);
  }
  int LookOf(const char* name) { return At(name, 0).picture ? At(name, 0).picture->id : 0; }

  std::unique_ptr<ClientHarness> h_;
  int64_t now_ = 0;
};

TEST(WindowFrame, WindowSizeTablePlaceAndScaleFollowTheScreen) {
  const struct {
    int screen_w, screen_h;
    double window_w, window_h;
    Rect pic1;
    float scale;
    bool frame;
  } cases[] = {
      {1280, 1024, 1040, 796, {8, 20, 1024, 768}, 1.0f, true},
      {1024, 768, 1024, 768, {0, 0, 1024, 768}, 1.0f, false},
      {800, 600, 800, 600, {0, 0, 800, 600}, 0.78125f, false},
      {1280, 720, 1040, 720, {8, 0, 1024, 720}, 0.78125f, true},
      {1024, 700, 1024, 700, {0, 0, 1024, 700}, 0.78125f, false},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::to_string(k.screen_w) + "x" + std::to_string(k.screen_h));
    auto h = StartedOn(k.screen_w, k.screen_h);
    const Form& f = h->client->MainForm;
    EXPECT_DOUBLE_EQ(f.width, k.window_w);
    EXPECT_DOUBLE_EQ(f.height, k.window_h);
    EXPECT_EQ(f.left, 0);
    EXPECT_EQ(f.top, 0);
    ExpectRect(f.At("Pic1"), k.pic1);
    EXPECT_EQ(h->client->game.ScaleX, k.scale);
    EXPECT_EQ(h->client->game.ScaleY, k.scale);
    ASSERT_EQ(f.canvas != nullptr, k.frame);
    if (k.frame) {
      EXPECT_EQ(f.canvas->width, k.window_w);
      EXPECT_EQ(f.canvas->height, k.window_h);
    }
    const bool reduced = k.scale < 1;
    EXPECT_EQ(f.At("Sysmsg", 0).font_size, reduced ? 8 : 9);
    EXPECT_EQ(f.At("Sysmsg", 1).font_size, reduced ? 8 : 9);
  }
}

TEST_F(WindowFrameTest, ReducedLayoutCopiesTheSmallTableOntoPic1) {
  StartOn(1280, 720);
  const Picture& small = *At("Pic2").picture;
  ASSERT_EQ(small.width, 800);
  ASSERT_EQ(small.height, 600);
  const Picture& table = *At("Pic1").picture;
  EXPECT_EQ(table.width, 1024);
  EXPECT_EQ(table.height, 720);
  for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {400, 300}, {123, 456}})
    EXPECT_EQ(PixelAt(table, x, y), PixelAt(small, x, y)) << x << "," << y;
  // Outside the copy Pic1's own colour shows.
  EXPECT_EQ(PixelAt(table, 900, 650) >> 24, 0u);
  ExpectRect(At("Host"), {6, 192, At("Host").width, At("Host").height});
  ExpectRect(At("Zhuang"), {45, 192, At("Zhuang").width, At("Zhuang").height});
}

TEST_F(WindowFrameTest, FullLayoutShowsTheLargeTable) {
  StartOn(1024, 768);
  ASSERT_NE(At("Pic1").picture, nullptr);
  EXPECT_EQ(At("Pic1").picture->id, kFormTableLarge);
  EXPECT_EQ(At("Pic1").picture->width, 1024);
}

TEST_F(WindowFrameTest, ElementsCarryTheirDesignedPictures) {
  StartOn(1024, 768);
  const struct {
    const char* name;
    int index, id;
  } cases[] = {
      {"Pic2", -1, kFormTableSmall},  {"Skin", -1, kFormSkin},       {"ImgClose", 3, kFormClosePressed},
      {"ImgMin", 2, kFormMinHover},   {"Bird", -1, kFormBanner},     {"imgLocation", -1, kFormLocation},
      {"Time_Img", -1, kFormClock},   {"Korbi", -1, kFormWildBox},   {"Host", -1, kFormDealer},
      {"Lbchat", -1, kFormChatLabel}, {"imgword2", -1, kFormVoicePhrases}, {"Speak", 2, kFormChatBubble},
      {"OK", 3, kFormReady},  // a copy of OK(0) made by the layout
  };
  for (const auto& k : cases) {
    const Element& e = At(k.name, k.index);
    ASSERT_NE(e.picture, nullptr) << k.name << "(" << k.index << ")";
    EXPECT_EQ(e.picture->id, k.id) << k.name << "(" << k.index << ")";
  }
  ASSERT_NE(main().icon, nullptr);  // the window's icon, shown in ImgIcon and by the window system
  EXPECT_EQ(main().icon->id, kFormIcon);
}

TEST_F(WindowFrameTest, FramePiecesAreCutFromTheSkin) {
  StartOn(1280, 1024);
  const Picture& skin = *At("Skin").picture;
  const Picture& frame = *main().canvas;
  const int W = 1040, H = 796;
  // Corners: copied unscaled.
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 8; ++x) {
      ASSERT_EQ(PixelAt(frame, x, y), PixelAt(skin, x, y)) << "top-left " << x << "," << y;
      ASSERT_EQ(PixelAt(frame, W - 8 + x, y), PixelAt(skin, 38 + x, y)) << "top-right " << x << "," << y;
    }
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      ASSERT_EQ(PixelAt(frame, x, H - 8 + y), PixelAt(skin, x, 212 + y)) << "bottom-left " << x << "," << y;
      ASSERT_EQ(PixelAt(frame, W - 8 + x, H - 8 + y), PixelAt(skin, 38 + x, 212 + y)) << "bottom-right";
    }
  // Edges: stretched, so their first and last rows or columns come from
  // the ends of their strip in the skin.
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(PixelAt(frame, x, 20), PixelAt(skin, x, 20));
    EXPECT_EQ(PixelAt(frame, x, H - 9), PixelAt(skin, x, 211));
    EXPECT_EQ(PixelAt(frame, W - 8 + x, 20), PixelAt(skin, 38 + x, 20));
    EXPECT_EQ(PixelAt(frame, W - 8 + x, H - 9), PixelAt(skin, 38 + x, 211));
  }
  for (int y = 0; y < 20; ++y) {
    EXPECT_EQ(PixelAt(frame, 8, y), PixelAt(skin, 8, y));
    EXPECT_EQ(PixelAt(frame, W - 9, y), PixelAt(skin, 15, y));
  }
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(PixelAt(frame, 8, H - 8 + y), PixelAt(skin, 8, 212 + y));
    EXPECT_EQ(PixelAt(frame, W - 9, H - 8 + y), PixelAt(skin, 15, 212 + y));
  }
}

TEST_F(WindowFrameTest, TitleBarIsLaidOutInTwips) {
  StartOn(1280, 1024);
  const double close_left = 1040 - 16 - 70 * kTwip, min_left = close_left - 16 - 30 * kTwip;
  ExpectRect(At("ImgClose", 0), {close_left, 25 * kTwip, 16, 16});
  ExpectRect(At("ImgMin", 0), {min_left, 25 * kTwip, 16, 16});
  ExpectRect(At("LbMove"), {290 * kTwip, 0, min_left - 290 * kTwip, 16 + 50 * kTwip});
  ExpectRect(At("ImgIcon"), {50 * kTwip, 50 * kTwip, 16, 16});
  EXPECT_TRUE(At("ImgIcon").stretch);
  EXPECT_EQ(At("ImgIcon").picture->id, kFormIcon);
  EXPECT_DOUBLE_EQ(At("lcaption").left, 20);
  EXPECT_DOUBLE_EQ(At("lcaption").top, 25 * kTwip);
  EXPECT_EQ(At("lcaption").fore_color, 0xFFFFFFu);
  EXPECT_EQ(At("lcaption").caption, "Tessaly");
  EXPECT_EQ(LookOf("ImgClose"), kFormCloseNormal);
  EXPECT_EQ(LookOf("ImgMin"), kFormMinNormal);
  // The buttons and the drag strip are reachable.
  EXPECT_EQ(main().HitTest(MidX(At("ImgClose", 0)), MidY(At("ImgClose", 0))), &At("ImgClose", 0));
  EXPECT_EQ(main().HitTest(MidX(At("ImgMin", 0)), MidY(At("ImgMin", 0))), &At("ImgMin", 0));
  EXPECT_EQ(main().HitTest(500, 10), &At("LbMove"));
}

TEST(WindowFrame, TheTableCoversTheTitleBarPiecesWhereItLies) {
  for (auto [w, h] : {std::pair{800, 600}, {1024, 768}, {1280, 720}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    auto harness = StartedOn(w, h);
    Form& f = harness->client->MainForm;
    for (const char* name : {"ImgClose", "ImgMin"}) {
      const Element& b = f.At(name, 0);
      const Element* hit = f.HitTest(MidX(b), MidY(b));
      ASSERT_NE(hit, nullptr);
      EXPECT_TRUE(hit == &f.At("Pic1") || hit->container == &f.At("Pic1")) << name << " hit " << hit->name;
    }
    const Element* hit = f.HitTest(100, 8);
    ASSERT_NE(hit, nullptr);
    EXPECT_NE(hit->name, "LbMove");
  }
}

TEST_F(WindowFrameTest, ButtonsLightUntilThePointerLeavesOverTheFormOrTheStrip) {
  StartOn(1280, 1024);
  Element& close = At("ImgClose", 0);
  Element& minimise = At("ImgMin", 0);
  Move(MidX(close), MidY(close));
  EXPECT_EQ(LookOf("ImgClose"), kFormCloseHover);
  EXPECT_FALSE(c().frame.ChromeHoverArmed);
  // Straight onto the other button: the first stays lit, the second is not.
  Move(MidX(minimise), MidY(minimise));
  EXPECT_EQ(LookOf("ImgClose"), kFormCloseHover);
  EXPECT_EQ(LookOf("ImgMin"), kFormMinNormal);
  // Over the strip: both normal again, the arrow pointer.
  At("LbMove").mouse_pointer = 15;
  Move(500, 10);
  EXPECT_TRUE(c().frame.ChromeHoverArmed);
  EXPECT_EQ(LookOf("ImgClose"), kFormCloseNormal);
  EXPECT_EQ(LookOf("ImgMin"), kFormMinNormal);
  EXPECT_EQ(At("LbMove").mouse_pointer, 1);
  // Over the frame itself (the right border) after lighting minimise.
  Move(MidX(minimise), MidY(minimise));
  EXPECT_EQ(LookOf("ImgMin"), kFormMinHover);
  Move(1036, 400);
  EXPECT_TRUE(c().frame.ChromeHoverArmed);
  EXPECT_EQ(LookOf("ImgMin"), kFormMinNormal);
}

TEST_F(WindowFrameTest, CloseButtonOpensAndClosesTheLeaveConfirmation) {
  StartOn(1280, 1024);
  Element& close = At("ImgClose", 0);
  Press(MidX(close), MidY(close));
  EXPECT_EQ(LookOf("ImgClose"), kFormClosePressed);
  Release(MidX(close), MidY(close));
  EXPECT_EQ(LookOf("ImgClose"), kFormCloseHover);
  const Form* confirm = c().desktop.FindForm("frmExit");
  ASSERT_NE(confirm, nullptr);
  EXPECT_TRUE(confirm->visible);
  Press(MidX(close), MidY(close));
  Release(MidX(close), MidY(close));
  EXPECT_FALSE(confirm->visible);
}

TEST_F(WindowFrameTest, MinimiseButtonMinimisesOnlyWhenReleasedOverIt) {
  StartOn(1280, 1024);
  Element& minimise = At("ImgMin", 0);
  Press(MidX(minimise), MidY(minimise));
  EXPECT_EQ(LookOf("ImgMin"), kFormMinPressed);
  Release(500, 300);  // dragged off: no click
  EXPECT_EQ(LookOf("ImgMin"), kFormMinHover);
  EXPECT_EQ(main().window_state, WindowState::kNormal);
  Press(MidX(minimise), MidY(minimise));
  Release(MidX(minimise), MidY(minimise));
  EXPECT_EQ(main().window_state, WindowState::kMinimized);
}

TEST_F(WindowFrameTest, LeftDragOnTheStripHidesFloatingWindowsAndMovesTheWindow) {
  StartOn(1280, 1024);
  Form& talk = c().desktop.AddForm("Talk");
  Form& score = c().desktop.AddForm("Score");
  talk.visible = score.visible = true;
  Press(500, 10, kButtonRight);
  EXPECT_EQ(c().desktop.moving, nullptr);
  EXPECT_TRUE(talk.visible);
  Release(500, 10, kButtonRight);
  Press(500, 10);
  EXPECT_EQ(c().desktop.moving, &main());
  EXPECT_FALSE(talk.visible);
  EXPECT_FALSE(score.visible);
  EXPECT_EQ(At("LbMove").mouse_pointer, 15);
}

}  // namespace
}  // namespace tess::test
