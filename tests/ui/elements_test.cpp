#include "ui/elements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tess {
namespace {

Element& Place(Form& f, const std::string& name, double l, double t, double w, double h) {
  Element& e = f.Add(ElementKind::kImage, name);
  e.left = l, e.top = t, e.width = w, e.height = h;
  return e;
}

TEST(HitTest, FrontmostShownEnabledElementWins) {
  Form f("MainForm");
  Element& back = Place(f, "back", 0, 0, 100, 100);
  Element& front = Place(f, "front", 10, 10, 20, 20);
  EXPECT_EQ(f.HitTest(15, 15), &front);
  EXPECT_EQ(f.HitTest(5, 5), &back);
  EXPECT_EQ(f.HitTest(30, 15), &back) << "right edge is exclusive";
  EXPECT_EQ(f.HitTest(100, 50), nullptr);

  front.visible = false;
  EXPECT_EQ(f.HitTest(15, 15), &back);
  front.visible = true;
  front.enabled = false;
  EXPECT_EQ(f.HitTest(15, 15), &back);
  back.enabled = false;
  EXPECT_EQ(f.HitTest(15, 15), nullptr);
}

TEST(HitTest, ContainerHidesAndClipsItsElements) {
  Form f("MainForm");
  Element& under = Place(f, "under", 0, 0, 200, 200);
  Element& box = f.Add(ElementKind::kPictureBox, "box");
  box.left = 50, box.top = 50, box.width = 40, box.height = 40;
  Element& child = Place(f, "child", 30, 0, 30, 10);  // pokes 20 px out of the box
  child.container = &box;

  EXPECT_EQ(f.HitTest(85, 55), &child) << "inside both";
  EXPECT_EQ(f.HitTest(95, 55), &under) << "child's own area, but outside its container";
  EXPECT_EQ(f.HitTest(60, 80), &box);

  box.visible = false;
  EXPECT_EQ(f.HitTest(85, 55), &under) << "a hidden container hides its elements";
  EXPECT_FALSE(child.ShownOnForm());
}

TEST(ZOrder, BringToFrontAndSendToBack) {
  Form f("MainForm");
  Element& a = Place(f, "a", 0, 0, 10, 10);
  Element& b = Place(f, "b", 0, 0, 10, 10);
  Element& c = Place(f, "c", 0, 0, 10, 10);
  EXPECT_EQ(f.HitTest(5, 5), &c);

  f.BringToFront(a);
  EXPECT_EQ(f.HitTest(5, 5), &a);
  EXPECT_EQ((std::vector<int>{f.ZOf(b), f.ZOf(c), f.ZOf(a)}), (std::vector<int>{0, 1, 2}));

  f.SendToBack(c);
  EXPECT_EQ((std::vector<int>{f.ZOf(c), f.ZOf(b), f.ZOf(a)}), (std::vector<int>{0, 1, 2}));
  f.SendToBack(a);
  EXPECT_EQ(f.HitTest(5, 5), &b);

  // Within a container: to the back of its elements, in front of the container.
  Element& box = Place(f, "Pic1", 0, 0, 100, 100);
  box.kind = ElementKind::kPictureBox;
  Element& first = Place(f, "MJ_Image", 60, 60, 10, 10);
  Element& tile = Place(f, "MJ_Image", 20, 20, 10, 10);
  first.container = tile.container = &box;
  f.SendToBack(tile);
  EXPECT_EQ((std::vector<int>{f.ZOf(box), f.ZOf(tile), f.ZOf(first)}), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(f.HitTest(25, 25), &tile) << "never behind its container";
}

TEST(ControlArray, LoadCopiesElementZeroHiddenJustInFrontOfIt) {
  Form f("MainForm");
  Place(f, "before", 0, 0, 1, 1);
  Element& base = f.Add(ElementKind::kImage, "MJ_Image", 0);
  base.left = 12.5, base.top = 7, base.width = 50, base.height = 58;
  base.picture = std::make_shared<Picture>();
  base.caption = "c";
  int clicks = 0;
  base.on_click = [&](Element&) { ++clicks; };
  Element& after = Place(f, "after", 0, 0, 1, 1);

  Element& one = f.Load("MJ_Image", 1);
  EXPECT_EQ(one.index, 1);
  EXPECT_FALSE(one.visible);
  EXPECT_TRUE(base.visible);
  EXPECT_EQ(one.left, 12.5);
  EXPECT_EQ(one.width, 50);
  EXPECT_EQ(one.picture, base.picture);
  EXPECT_EQ(one.caption, "c");
  EXPECT_EQ(f.ZOf(one), f.ZOf(base) + 1);
  EXPECT_LT(f.ZOf(one), f.ZOf(after));
  one.on_click(one);
  EXPECT_EQ(clicks, 1) << "handlers are copied";

  EXPECT_EQ(&f.Load("MJ_Image", 1), &one) << "loading twice gives the same element";
  f.Load("MJ_Image", 2);
  EXPECT_EQ(f.Array("MJ_Image").size(), 3u);
  f.Unload("MJ_Image", 1);
  EXPECT_EQ(f.Find("MJ_Image", 1), nullptr);
  f.Unload("MJ_Image", 0);
  EXPECT_EQ(f.Find("MJ_Image", 0), &base) << "element 0 cannot be unloaded";
}

// A desktop with the main form at (100, 50) and one 20 x 20 element at
// (10, 10) on it, recording what the element receives.
struct MouseFixture : ::testing::Test {
  Desktop desktop;
  Form& main = desktop.AddForm("MainForm");
  Element& tile = main.Add(ElementKind::kImage, "tile");
  std::vector<std::string> log;

  void SetUp() override {
    main.left = 100, main.top = 50, main.width = 300, main.height = 200;
    main.visible = true;
    tile.left = 10, tile.top = 10, tile.width = 20, tile.height = 20;
    auto note = [this](const char* what) {
      return [this, what](Element&, const MouseEvent& m) {
        log.push_back(std::string(what) + " " + std::to_string(static_cast<int>(m.x)) + "," +
                      std::to_string(static_cast<int>(m.y)));
      };
    };
    tile.on_mouse_down = note("down");
    tile.on_mouse_move = note("move");
    tile.on_mouse_up = note("up");
    tile.on_click = [this](Element&) { log.push_back("click"); };
    tile.on_dbl_click = [this](Element&) { log.push_back("dbl"); };
  }
};

TEST_F(MouseFixture, CapturedElementGetsMovesAndUpAndClicksOnlyWhenReleasedOverIt) {
  desktop.MouseDown(115, 65, kButtonLeft, 0, 0);
  desktop.MouseMove(200, 100, kButtonLeft, 0);
  desktop.MouseUp(200, 100, kButtonLeft, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"down 5,5", "move 90,40", "up 90,40"}));

  log.clear();
  desktop.MouseDown(115, 65, kButtonLeft, 0, 5000);
  desktop.MouseUp(116, 66, kButtonLeft, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"down 5,5", "up 6,6", "click"}));

  log.clear();
  desktop.MouseMove(200, 100, 0, 0);
  EXPECT_TRUE(log.empty()) << "no capture after the up";
}

TEST_F(MouseFixture, SecondDownWithin500MsIsADoubleClick) {
  struct Case {
    int64_t second_down_ms;
    std::vector<std::string> clicks;
  };
  for (const Case& c : {Case{500, {"click", "dbl"}}, Case{501, {"click", "click"}}}) {
    Desktop d;
    Form& f = d.AddForm("MainForm");
    f.visible = true, f.width = 100, f.height = 100;
    Element& e = f.Add(ElementKind::kImage, "e");
    e.width = e.height = 10;
    std::vector<std::string> got;
    e.on_click = [&](Element&) { got.push_back("click"); };
    e.on_dbl_click = [&](Element&) { got.push_back("dbl"); };
    d.MouseDown(5, 5, kButtonLeft, 0, 1000);
    d.MouseUp(5, 5, kButtonLeft, 0);
    d.MouseDown(5, 5, kButtonLeft, 0, 1000 + c.second_down_ms);
    d.MouseUp(5, 5, kButtonLeft, 0);
    EXPECT_EQ(got, c.clicks) << "second down after " << c.second_down_ms << " ms";
  }
}

TEST_F(MouseFixture, OnlyTheLeftButtonClicks) {
  desktop.MouseDown(115, 65, kButtonRight, 0, 0);
  desktop.MouseUp(115, 65, kButtonRight, 0);
  desktop.MouseDown(115, 65, kButtonMiddle, 0, 100);
  desktop.MouseUp(115, 65, kButtonMiddle, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"down 5,5", "up 5,5", "down 5,5", "up 5,5"}));
  log.clear();
  desktop.MouseDown(115, 65, kButtonLeft, 0, 200);  // a click, not the second of a double-click
  desktop.MouseUp(115, 65, kButtonLeft, 0);
  EXPECT_EQ(log.back(), "click");
}

TEST_F(MouseFixture, WindowedElementsTakeTheFocusWhenPressed) {
  struct Case {
    ElementKind kind;
    bool takes_focus;
  } cases[] = {{ElementKind::kPictureBox, true}, {ElementKind::kTextBox, true}, {ElementKind::kListBox, true},
               {ElementKind::kImage, false},     {ElementKind::kLabel, false}};
  for (const Case& k : cases) {
    Desktop d;
    Form& f = d.AddForm("MainForm");
    f.visible = true, f.width = 100, f.height = 100;
    Element& e = f.Add(k.kind, "e");
    e.width = e.height = 10;
    d.MouseDown(5, 5, kButtonLeft, 0, 0);
    EXPECT_EQ(d.focus == &e, k.takes_focus) << static_cast<int>(k.kind);
  }
}

TEST_F(MouseFixture, FrontmostFormTakesTheDown) {
  Form& dialog = desktop.AddForm("Score");
  dialog.visible = true;
  dialog.left = 100, dialog.top = 50, dialog.width = 50, dialog.height = 50;
  int dialog_downs = 0;
  dialog.on_mouse_down = [&](Form&, const MouseEvent&) { ++dialog_downs; };
  desktop.MouseDown(115, 65, kButtonLeft, 0, 0);
  EXPECT_EQ(dialog_downs, 1);
  EXPECT_TRUE(log.empty());

  dialog.window_state = WindowState::kMinimized;
  desktop.MouseDown(115, 65, kButtonLeft, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"down 5,5"}));
}

TEST_F(MouseFixture, WindowMoveReleasesTheCapture) {
  tile.on_mouse_down = [this](Element&, const MouseEvent&) { desktop.BeginWindowMove(main); };
  desktop.MouseDown(115, 65, kButtonLeft, 0, 0);
  EXPECT_EQ(desktop.moving, &main);
  desktop.MouseMove(200, 100, kButtonLeft, 0);
  desktop.MouseUp(200, 100, kButtonLeft, 0);
  EXPECT_TRUE(log.empty()) << "neither move, up nor click reach the element";
}

}  // namespace
}  // namespace tess
