// The button bar and its windows through a seated client: every button's
// click, the hover pictures and tooltips, the profile card, the rules page
// opener, the table click, the windows kept in view, and bad input (a
// damaged history file, bad nicknames, clicks during the reset to idle).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "chat/chat_log.h"
#include "chat/quick_phrases.h"
#include "core/client.h"
#include "core/ini_file.h"
#include "scoring/history_file.h"
#include "support/table_script.h"
#include "support/temp_dir.h"
#include "ui/button_bar.h"
#include "ui/profile_card.h"
#include "ui/result_boards.h"

namespace tess::test {
namespace {

constexpr uint8_t kOwn = 1, kRight = 2, kTop = 4;

// Type 21: the player `name` has left the table.
ServerPacket PlayerLeftMsg(const std::string& name) {
  ServerPacket p;
  p.type = 21;
  p.Text(16, name);
  return p;
}

// PATH holds only a folder of this test's own, with or without a stub
// opener that writes its arguments, one a line, into `args`; the old PATH
// comes back at the end.
class StubPath {
 public:
  explicit StubPath(bool with_opener) : dir_(MakeTempDir("opener")), old_(getenv("PATH") ? getenv("PATH") : "") {
    if (with_opener) {
      const std::string stub = dir_ + "/xdg-open";
      std::ofstream(stub) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > " << dir_ << "/args.tmp\n/bin/mv "
                          << dir_ << "/args.tmp " << dir_ << "/args\n";
      chmod(stub.c_str(), 0700);
    }
    setenv("PATH", dir_.c_str(), 1);
  }
  ~StubPath() {
    setenv("PATH", old_.c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string Args() const { return dir_ + "/args"; }

 private:
  std::string dir_, old_;
};

// The opener runs apart from the client: wait (in real time, it is another
// process) for what it wrote.
std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ButtonBar : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(t.SeatAt(kOwn, /*women=*/true)); }
  Client& c() { return t.c(); }
  Element& Button(int i) { return c().MainForm.At("AnNiu", i); }
  bool Shown(const char* form) {
    const Form* f = c().desktop.FindForm(form);
    return f && f->visible;
  }
  int PictureOf(int i) { return Button(i).picture ? Button(i).picture->id : -1; }
  int Entry(int e) { return c().pictures.ButtonPictures[e]; }
  // A press and release of the left button on `e` of secondary window `f`.
  void ClickOn(const Form& f, const Element& e, double dy = 0, bool twice = false) {
    const double x = f.left + e.FormLeft() + e.width / 2, y = f.top + e.FormTop() + (dy ? dy : e.height / 2);
    ASSERT_TRUE(t.h.Do([&](Client& cl) {
      for (int k = 0; k < (twice ? 2 : 1); ++k) {
        cl.desktop.MouseDown(x, y, kButtonLeft, 0, t.h.clock.NowMs());
        cl.desktop.MouseUp(x, y, kButtonLeft, 0);
      }
    }));
  }
  // A spot of the table no element covers.
  void MoveOverTable() { t.MoveOverTable(480, 560); }
  StubPath path{/*with_opener=*/true};
  TableScript t;
};

// --- Clicks ---------------------------------------------------------------

TEST_F(ButtonBar, EveryButtonDoesWhatItsClickSays) {
  struct Case {
    int button;
    int clicks;
    const char* form;  // the window it shows, or nullptr
    bool shown;
  } cases[] = {
      {1, 1, "Talk", true},    {1, 2, "Talk", false},  {3, 1, "VosSet", true}, {3, 2, "VosSet", false},
      {5, 1, "Score", true},   {5, 2, "Score", false}, {6, 1, "Hero", true},   {6, 2, "Hero", false},
      {8, 1, "frmExit", true}, {8, 2, "frmExit", false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.button) + " clicked " + std::to_string(k.clicks));
    for (int i = 0; i < k.clicks; ++i) t.Click(Button(k.button));
    EXPECT_EQ(Shown(k.form), k.shown);
    int copies = 0;
    for (const auto& f : c().desktop.Forms()) copies += f->name == k.form;
    EXPECT_EQ(copies, 1) << "never made twice";
    if (k.shown) {
      const std::vector<Form*> order = c().desktop.FormsBackToFront();
      EXPECT_GT(std::find(order.begin(), order.end(), c().desktop.FindForm(k.form)) - order.begin(),
                std::find(order.begin(), order.end(), &c().MainForm) - order.begin())
          << "in front of the table";
      const Form& f = *c().desktop.FindForm(k.form);
      EXPECT_GE(f.left, c().MainForm.left);
      EXPECT_LE(f.left + f.width, c().MainForm.left + c().MainForm.width);
      t.Click(Button(k.button));  // closed again for the next case
    }
  }
}

TEST_F(ButtonBar, SendStartHideAndRulesButtons) {
  // Send: the input line goes out as a chat line.
  c().MainForm.At("Chat").caption = "hello";
  const size_t before = t.h.server.ReceivedCount();
  t.Click(Button(0));
  const auto chat = t.SentOfType(19, 1, before);
  ASSERT_EQ(chat.size(), 1u);
  EXPECT_NE(std::string(chat[0].body.begin(), chat[0].body.end()).find("hello"), std::string::npos);

  // Start: one continue, however often it is pressed while latched.
  t.Click(Button(2));
  t.Click(Button(2));
  EXPECT_FALSE(c().buttons.StartShown);
  t.h.RunFor(2000);
  size_t continues = 0;
  for (const ServerPacket& p : t.SentOfType(16, 1, before)) continues += p.value[3] == 1;
  EXPECT_EQ(continues, 1u);

  // Rules: the desktop's opener gets the page's address.
  t.Click(Button(7));
  EXPECT_EQ(WaitForFile(path.Args()), std::string("http://") + kGameCentreAddress + "/gameinfo/qarvu/index.php\n");

  // Hide: the window minimised, its floating windows hidden.
  t.Click(Button(6));
  t.Click(Button(4));
  EXPECT_EQ(c().MainForm.window_state, WindowState::kMinimized);
  EXPECT_FALSE(Shown("Hero"));
}

TEST_F(ButtonBar, WithoutAnOpenerTheRulesButtonSaysNothing) {
  StubPath empty{/*with_opener=*/false};
  const std::string trace_before = t.h.TraceText();
  const std::string status = c().MainForm.At("Sysmsg", 0).caption;
  t.Click(Button(7));
  t.h.RunFor(1000);
  EXPECT_FALSE(t.h.ended);
  EXPECT_EQ(t.h.TraceText().find("msgbox", trace_before.size()), std::string::npos);
  EXPECT_EQ(c().MainForm.At("Sysmsg", 0).caption, status);
}

// --- Hover pictures and tooltips -------------------------------------------

TEST_F(ButtonBar, HoverLightsAButtonWithItsTooltipAndTheTableRestoresIt) {
  const char* tooltips[] = {"发送信息，快捷键为回车键", "点击打开聊天窗口", "点击开始新一局游戏",
                            "游戏的基本设置", "最小化窗口，快捷键为F1", "可以查看当前牌局详细结果",
                            "可以查看本次游戏的所有牌局详细结果", "点击这里了解游戏规则", "退出游戏"};
  const int normal[] = {0, 2, 4, 8, 10, 12, 14, 16, 18};
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE("button " + std::to_string(i));
    t.Hover(Button(i));
    EXPECT_TRUE(c().buttons.HoverShown[i]);
    EXPECT_EQ(PictureOf(i), Entry(normal[i] + 1));
    EXPECT_EQ(Button(i).tooltip, tooltips[i]);
    MoveOverTable();
    EXPECT_FALSE(c().buttons.HoverShown[i]);
    EXPECT_EQ(PictureOf(i), Entry(normal[i]));
  }
}

TEST_F(ButtonBar, TheStartButtonLooksLikeContinueOnceAHandWasDealtOrStartPressed) {
  struct Case {
    const char* when;
    std::function<void()> step;
    int normal;
  } cases[] = {
      {"before the first hand", [] {}, 4},
      {"after the start click", [&] { c().buttons.StartShown = false; }, 6},
      {"before the first hand again", [&] { c().buttons.StartShown = true; }, 4},
      {"once a hand was dealt", [&] { ASSERT_TRUE(t.Deliver(HandStartMsg(kRight, {1, 1, 1, 1}))); }, 6},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.when);
    k.step();
    t.Hover(Button(2));
    EXPECT_EQ(PictureOf(2), Entry(k.normal + 1));
    MoveOverTable();
    EXPECT_EQ(PictureOf(2), Entry(k.normal));
  }
}

TEST_F(ButtonBar, MovingFromButtonToButtonKeepsBothLitUntilTheTable) {
  t.Hover(Button(5));
  t.Hover(Button(6));
  EXPECT_EQ(PictureOf(5), Entry(13));
  EXPECT_EQ(PictureOf(6), Entry(15));
  MoveOverTable();
  EXPECT_EQ(PictureOf(5), Entry(12));
  EXPECT_EQ(PictureOf(6), Entry(14));
}

// --- The profile card --------------------------------------------------------

TEST_F(ButtonBar, TheProfileCardShowsThePlayerUnderThePointer) {
  ProfileFields bob;
  bob.account = "bob";
  bob.nick = "老鲍";
  bob.gender = 1;
  bob.location = "成都";
  bob.points = 1234;
  bob.credit = 99;
  bob.logins = 17;
  bob.disconnects = 2;
  bob.wins = 9;
  bob.losses = 8;
  ASSERT_TRUE(t.Deliver(ProfileMsg(kRight, bob)));
  struct Case {
    int v;
    std::vector<std::string> values;
  } cases[] = {
      {3, {"老鲍", "男", "成都", "1234", "99", "17", "2", "9", "8"}},
      {2, {"carol昵称", "女", "", "0", "0", "0", "0", "0", "0"}},
      {0, {"alice昵称", "男", "", "0", "0", "0", "0", "0", "0"}},
  };
  const char* titles[] = {"玩家昵称", "性    别", "所 在 地", "积    分", "信 用 度",
                          "登录次数", "掉线次数", "胜场次数", "败场次数"};
  for (const Case& k : cases) {
    SCOPED_TRACE("portrait " + std::to_string(k.v));
    t.Hover(c().MainForm.At("Tou", k.v));
    Form& card = LoadProfileCard(c());
    ASSERT_TRUE(card.visible);
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(card.At("Title", i).caption, titles[i]);
      EXPECT_EQ(card.At("Inf", i).caption, k.values[i]);
    }
    const Element& tou = c().MainForm.At("Tou", k.v);
    EXPECT_EQ(card.left, std::min(c().MainForm.left + tou.FormLeft() + tou.width, c().MainForm.width - card.width))
        << "beside the portrait";
    MoveOverTable();
    EXPECT_FALSE(card.visible) << "the table hides it";
  }
}

TEST_F(ButtonBar, AnEmptySeatOrAnEmptyNickLeavesTheCardAsItIs) {
  ProfileFields nobody;
  nobody.account = "dave";
  nobody.nick = "";
  ASSERT_TRUE(t.Deliver(ProfileMsg(8, nobody)));  // dave: an empty nick
  ASSERT_TRUE(t.Deliver(PlayerLeftMsg("carol")));
  for (int v : {1, 2}) {
    SCOPED_TRACE("portrait " + std::to_string(v));
    t.Hover(c().MainForm.At("Tou", v));
    EXPECT_FALSE(Shown("Information"));
  }
  t.Hover(c().MainForm.At("Tou", 3));  // bob
  ASSERT_TRUE(Shown("Information"));
  t.Hover(c().MainForm.At("Tou", 2));  // straight onto carol's empty seat
  EXPECT_TRUE(Shown("Information"));
  EXPECT_EQ(LoadProfileCard(c()).At("Inf", 0).caption, "bob昵称");
}

TEST_F(ButtonBar, AnUnterminatedNickShowsItsThirtyTwoBytesOnly) {
  ProfileFields bob;
  bob.account = "bob";
  bob.nick = std::string(40, 'x');  // runs over the field's end: no zero byte
  ASSERT_TRUE(t.Deliver(ProfileMsg(kRight, bob)));
  t.Hover(c().MainForm.At("Tou", 3));
  EXPECT_EQ(LoadProfileCard(c()).At("Inf", 0).caption, std::string(32, 'x'));
}

// --- The floating windows -----------------------------------------------------

TEST_F(ButtonBar, EachFloatingWindowIsDraggedByAPressAnywhereAndClosedWithImage1) {
  struct Case {
    const char* form;
    std::function<void()> show;
    const char* part;
  } cases[] = {
      {"Score", [&] { t.Click(Button(5)); }, "ID"},
      {"Hero", [&] { t.Click(Button(6)); }, "Tou"},
      {"Information", [&] { t.Hover(c().MainForm.At("Tou", 1)); }, "Inf"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.form);
    k.show();
    Form& f = *c().desktop.FindForm(k.form);
    ASSERT_TRUE(f.visible);
    const Element& part = f.At(k.part, 0);
    const double x = f.left + part.FormLeft() + 2, y = f.top + part.FormTop() + 2;
    ASSERT_TRUE(t.h.Do([&](Client& cl) { cl.desktop.MouseDown(x, y, kButtonLeft, 0, 0); }));
    EXPECT_EQ(c().desktop.moving, &f);
    c().desktop.moving = nullptr;  // the window system's move is over
    ClickOn(f, f.At("Image1"));
    EXPECT_FALSE(f.visible);
  }
}

TEST_F(ButtonBar, AClickOnTheTableHidesTheSixFloatingWindows) {
  ASSERT_TRUE(t.h.Do([](Client& cl) { TogglePhraseList(cl, PhraseList::kText); }));
  for (int b : {1, 3, 5, 6, 8}) t.Click(Button(b));
  for (const char* name : {"Talk", "huifu", "Score", "Hero", "VosSet", "frmExit"}) ASSERT_TRUE(Shown(name)) << name;
  t.ClickTable(30, 450, kButtonLeft);  // beside every window
  for (const char* name : {"Talk", "huifu", "Score", "Hero", "VosSet", "frmExit"}) EXPECT_FALSE(Shown(name)) << name;
}

TEST_F(ButtonBar, WindowsOnShowStayInViewWhenTheMainWindowMoves) {
  c().desktop.screen_width = 1280;
  t.Click(Button(6));
  t.Hover(c().MainForm.At("Tou", 1));
  Form& hero = LoadHeroBoard(c());
  Form& card = LoadProfileCard(c());
  ASSERT_TRUE(hero.visible && card.visible);
  for (double left : {500.0, -300.0}) {
    SCOPED_TRACE(left);
    c().MainForm.left = left;
    ASSERT_TRUE(c().desktop.on_form_moved);
    c().desktop.on_form_moved(c().MainForm);  // as the window system reports it
    const double from = std::max(0.0, left), to = std::min(1280.0, left + c().MainForm.width);
    for (const Form* f : {&hero, &card}) {
      EXPECT_GE(f->left, from) << f->name;
      EXPECT_LE(f->left + f->width, to) << f->name;
    }
  }
}

// --- Bad input ------------------------------------------------------------------

// Hands 3 and 1 are in the file, in that order; hand 2 is missing.
TEST_F(ButtonBar, AHistoryWithHandsMissingOrOutOfOrderShowsOnlyTheHandAskedFor) {
  classIniFile file;
  file.INIFileName = c().options.program_dir + "/info.kb";
  for (int hand : {3, 1}) {
    ResultLists lists;
    lists[0] = {"hand " + std::to_string(hand)};
    WriteHistoryEntry(file, hand, lists);
  }
  Form& hero = LoadHeroBoard(c());
  for (int hand = 1; hand <= 3; ++hand) hero.At("Num").items.push_back(std::to_string(hand));
  t.Click(Button(6));
  const Element& num = hero.At("Num");
  const std::vector<std::string>& state = LoadScoreBoard(c()).At("State", 0).items;
  struct Case {
    int line;
    std::vector<std::string> shown;
  } cases[] = {{2, {"hand 3"}}, {1, {}}, {0, {"hand 1"}}, {1, {}}};
  for (const Case& k : cases) {
    SCOPED_TRACE("line " + std::to_string(k.line));
    if (!hero.visible) t.Click(Button(6));
    ClickOn(hero, num, kBoxTextInset + (k.line + 0.5) * ListLineHeight(num), /*twice=*/true);
    EXPECT_TRUE(Shown("Score"));
    EXPECT_EQ(state, k.shown);
    Form& score = LoadScoreBoard(c());
    ClickOn(score, score.At("Image1"));
  }
  EXPECT_FALSE(t.h.ended);
}

// A click on any button while the leave packet's wait lets events in.
TEST_F(ButtonBar, AButtonClickDuringTheResetToIdleLeavesTheClientIdle) {
  for (int b = 0; b < 9; ++b) {
    SCOPED_TRACE("button " + std::to_string(b));
    TableScript table;
    ASSERT_TRUE(table.SeatAt(kOwn));
    Client& cl = table.c();
    table.Click(cl.MainForm.At("AnNiu", 8));
    Timer click(cl.loop, "click");
    click.SetInterval(100);
    click.OnTimer = [&] {
      click.SetEnabled(false);
      table.Click(cl.MainForm.At("AnNiu", b));
    };
    click.SetEnabled(true);
    const Form& exit = *cl.desktop.FindForm("frmExit");
    const Element& ok = exit.At("pbCloseMe");
    const double x = exit.left + ok.FormLeft() + 5, y = exit.top + ok.FormTop() + 5;
    table.h.Do([&](Client& k) {
      k.desktop.MouseDown(x, y, kButtonLeft, 0, table.h.clock.NowMs());
      k.desktop.MouseUp(x, y, kButtonLeft, 0);
    });
    EXPECT_FALSE(click.Enabled()) << "the click came during the wait";
    EXPECT_EQ(cl.MainForm.window_state, WindowState::kMinimized);
    for (const auto& f : cl.desktop.Forms()) {
      EXPECT_TRUE(f.get() == &cl.MainForm || !f->visible) << f->name;
    }
    EXPECT_EQ(cl.game.players[1].Nick, "");
    EXPECT_EQ(cl.game.juNum, 0);
  }
}

}  // namespace
}  // namespace tess::test
