// Chat at the table, through the scripted server on virtual time: the
// input line, private remarks, quick phrases, the received lines in the
// log and ticker, the floating windows, and untrusted chat input.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "chat/chat_log.h"
#include "chat/chat_text.h"
#include "chat/quick_phrases.h"
#include "core/client.h"
#include "core/ini_file.h"
#include "core/leave.h"
#include "platform/gbk.h"
#include "support/table_steps.h"

namespace tess::test {
namespace {

constexpr uint8_t kOwnMask = 1;   // seat index 0
constexpr uint8_t kLeftMask = 8;  // ViewSeat 1: seat index 3
constexpr uint8_t kTopMask = 4;   // ViewSeat 2
constexpr uint8_t kRightMask = 2;  // ViewSeat 3

std::string Times(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::vector<uint8_t> Hex(std::string_view hex) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return out;
}

// A logged-in client and its server, with the steps the tests take.
class ChatTable {
 public:
  // Logs in and seats the four players: "小林" (title "雀圣") here, "Bob"
  // left, "Cara" top, "Dan" right.
  bool Seat() {
    if (!h.LogIn()) return false;
    Client& cl = c();
    cl.TimerKeepAlive.SetEnabled(false);
    const uint8_t masks[] = {kOwnMask, kLeftMask, kTopMask, kRightMask};
    const char* nicks[] = {"小林", "Bob", "Cara", "Dan"};
    for (int v = 0; v < kSeatCount; ++v) {
      cl.game.custom[v].Seat = masks[v];
      cl.game.players[v].Nick = nicks[v];
    }
    cl.game.players[0].Title = "雀圣";
    cl.game.players[1].Title = "新手";
    PlayerInfo& bob = cl.game.players[1];
    bob.VoiceId = "10", bob.Gender = 1, bob.VoiceByte = 3;
    PlayerInfo& me = cl.game.players[0];
    me.VoiceId = "20", me.Gender = 0, me.VoiceByte = 2;
    sent_from = h.server.ReceivedCount();
    return true;
  }

  Client& c() { return *h.client; }
  Element& ChatBox() { return c().MainForm.At("Chat"); }
  std::vector<std::string>& Log() { return LoadTalkWindow(c()).At("Text1").items; }

  void Type(const std::string& text) {
    h.Do([&](Client& cl) {
      cl.desktop.focus = &ChatBox();
      cl.desktop.TypeText(text);
    });
  }
  void Key(int key) {
    h.Do([&](Client& cl) {
      cl.desktop.focus = &ChatBox();
      cl.desktop.KeyDown(key, 0);
    });
  }
  // A left click in the middle of `e`, routed as the renderer routes it.
  void Click(const Element& e) {
    const double x = e.form->left + e.FormLeft() + e.width / 2, y = e.form->top + e.FormTop() + e.height / 2;
    h.Do([&](Client& cl) {
      cl.desktop.MouseDown(x, y, kButtonLeft, 0, h.loop.NowMs());
      cl.desktop.MouseUp(x, y, kButtonLeft, 0);
    });
  }
  // The type-19 packets the server has received since the seating.
  std::vector<ServerPacket> SentChats() {
    h.RunFor(300);
    std::vector<ServerPacket> out;
    for (const ServerPacket& p : ReceivedFrom(h, sent_from))
      if (p.type == kTypeChat) out.push_back(p);
    return out;
  }
  static std::string TextOf(const ServerPacket& p) { return GbkToUtf8(p.TextAt(16, 200)); }

  // The server relays a chat line; runs until the client has taken it.
  bool Receive(const std::vector<uint8_t>& body, uint8_t seat, std::array<int16_t, 4> value = {}) {
    ServerPacket p;
    p.type = kTypeChat;
    p.seat = seat;
    p.value = value;
    p.Bytes(16, body);
    const int32_t read_before = c().packets.RecvReadPos;
    if (!h.server.Send(p)) return false;
    return h.RunUntil([&] { return h.ended || c().packets.RecvReadPos != read_before; }, 2000) && !h.ended;
  }
  bool Receive(const std::string& utf8, uint8_t seat, std::array<int16_t, 4> value = {}) {
    const std::string gbk = Utf8ToGbk(utf8);
    return Receive(std::vector<uint8_t>(gbk.begin(), gbk.end()), seat, value);
  }

  std::vector<std::string> VoiceFiles() {
    std::vector<std::string> files;
    for (const TraceEvent& e : TraceEvents(h))
      if (e.ev == "sound" && e.fields["file"].text.rfind("../common/mj/", 0) == 0) files.push_back(e.fields["file"].text);
    return files;
  }

  ClientHarness h;
  size_t sent_from = 0;
};

class ChatTest : public ::testing::Test, public ChatTable {
 protected:
  void SetUp() override { ASSERT_TRUE(Seat()); }
};

// --- Sending -----------------------------------------------------------

TEST(Chat, EnterAndTheSendButton) {
  enum Op { kTypeText, kEnter, kSendButton, kWait, kPortrait, kKey };
  struct Step {
    Op op;
    std::string text = {};
    int n = 0;  // ms to wait, portrait ViewSeat or key code
  };
  struct Sent {
    std::string text;
    int16_t target;
    bool operator==(const Sent&) const = default;
  };
  struct Case {
    const char* what;
    bool spectator;
    std::vector<Step> steps;
    std::vector<Sent> sent;
    bool too_fast;
    std::string chat_after;
  };
  const Case cases[] = {
      {"two Enters within 800 ms: the second warns and drops its text",
       false,
       {{kTypeText, "hi"}, {kEnter}, {kWait, "", 500}, {kTypeText, "again"}, {kEnter}},
       {{"小林说道: hi", 0}},
       true,
       ""},
      {"an Enter 800 ms after the last one sends",
       false,
       {{kTypeText, "hi"}, {kEnter}, {kWait, "", 800}, {kTypeText, "again"}, {kEnter}},
       {{"小林说道: hi", 0}, {"小林说道: again", 0}},
       false,
       ""},
      {"the send button within 800 ms sends",
       false,
       {{kTypeText, "hi"}, {kEnter}, {kTypeText, "again"}, {kSendButton}},
       {{"小林说道: hi", 0}, {"小林说道: again", 0}},
       false,
       ""},
      {"a second Enter on an empty line warns of nothing",
       false,
       {{kTypeText, "hi"}, {kEnter}, {kEnter}},
       {{"小林说道: hi", 0}},
       false,
       ""},
      {"a spectator's Enter sends nothing and says nothing", true, {{kTypeText, "hi"}, {kEnter}}, {}, false, "hi"},
      {"a spectator's send button sends", true, {{kTypeText, "hi"}, {kSendButton}}, {{"小林说道: hi", 0}}, false, ""},
      {"the private remark's prefix alone sends nothing", false, {{kPortrait, "", 1}, {kEnter}}, {}, false, ""},
      {"only spaces send nothing", false, {{kTypeText, "   "}, {kEnter}}, {}, false, ""},
      {"a private remark to the left seat",
       false,
       {{kPortrait, "", 1}, {kTypeText, "你好"}, {kEnter}},
       {{"小林对Bob说: 你好", kLeftMask}},
       false,
       ""},
      {"a second portrait moves the remark to its player",
       false,
       {{kPortrait, "", 1}, {kTypeText, "hi"}, {kPortrait, "", 2}, {kEnter}},
       {{"小林对Cara说: hi", kTopMask}},
       false,
       ""},
      {"Backspace after the prefix edits the remark",
       false,
       {{kPortrait, "", 3}, {kTypeText, "hix"}, {kKey, "", kKeyBack}, {kEnter}},
       {{"小林对Dan说: hi", kRightMask}},
       false,
       ""},
      {"Backspace into the prefix drops it: the line goes to everyone",
       false,
       {{kPortrait, "", 1}, {kTypeText, "hi"}, {kKey, "", kKeyLeft}, {kKey, "", kKeyLeft}, {kKey, "", kKeyBack},
        {kEnter}},
       {{"小林说道: hi", 0}},
       false,
       ""},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    ChatTable t;
    ASSERT_TRUE(t.Seat());
    t.c().game.IsSpectator = cs.spectator;
    for (const Step& st : cs.steps) {
      switch (st.op) {
        case kTypeText: t.Type(st.text); break;
        case kEnter: t.Key(kKeyReturn); break;
        case kSendButton: t.Click(t.c().MainForm.At("AnNiu", 0)); break;
        case kWait: t.h.RunFor(st.n); break;
        case kPortrait: t.Click(t.c().MainForm.At("Tou", st.n)); break;
        case kKey: t.Key(st.n); break;
      }
    }
    std::vector<Sent> sent;
    for (const ServerPacket& p : t.SentChats()) sent.push_back({ChatTable::TextOf(p), p.value[1]});
    EXPECT_EQ(sent, cs.sent);
    EXPECT_EQ(std::count(t.Log().begin(), t.Log().end(), "（发送消息太快！）"), cs.too_fast ? 1 : 0);
    EXPECT_EQ(t.ChatBox().caption, cs.chat_after);
  }
}

TEST_F(ChatTest, PacketsGoOutByteForByteInGbk) {
  // Quick phrases of our own, written as the program's file is (GBK).
  classIniFile ini;
  ini.INIFileName = h.home_dir + "/chat.ini";
  ASSERT_TRUE(ini.WriteIniKey("Phrase2", "num", "3"));
  for (const char* k : {"1", "2"}) ASSERT_TRUE(ini.WriteIniKey("Phrase2", k, "x"));
  ASSERT_TRUE(ini.WriteIniKey("Phrase2", "3", "好牌！真是高手。"));

  Type("大家好");
  Key(kKeyReturn);
  h.RunFor(800);
  Click(c().MainForm.At("Tou", 1));
  Type("你好");
  Click(c().MainForm.At("AnNiu", 0));
  Click(c().MainForm.At("imgword2"));
  const Element& voices = LoadPhraseWindow(c()).At("List2");
  ASSERT_TRUE(voices.ShownOnForm());
  const double x = voices.form->left + voices.FormLeft() + 20;
  const double y = voices.form->top + voices.FormTop() + kBoxTextInset + 2.5 * ListLineHeight(voices);  // line 3
  h.Do([&](Client& cl) {
    for (int i = 0; i < 2; ++i) {
      cl.desktop.MouseDown(x, y, kButtonLeft, 0, h.loop.NowMs());
      cl.desktop.MouseUp(x, y, kButtonLeft, 0);
    }
  });

  struct Expected {
    const char* what;
    const char* body_hex;  // GBK, independently encoded
    std::array<int16_t, 4> value;
  };
  const Expected expected[] = {
      {"an ordinary line", "d0a1c1d6cbb5b5c03a20b4f3bcd2bac3", {0, 0, 0, 0}},
      {"a private remark to the left seat", "d0a1c1d6b6d4426f62cbb53a20c4e3bac3", {0, kLeftMask, 0, 0}},
      {"voice phrase 3", "d0a1c1d6cbb5b5c03a20bac3c5c6a3a1d5e6cac7b8dfcad6a1a3", {1, 0, 97, 3}},
  };
  const std::vector<ServerPacket> sent = SentChats();
  ASSERT_EQ(sent.size(), std::size(expected));
  for (size_t i = 0; i < sent.size(); ++i) {
    SCOPED_TRACE(expected[i].what);
    ServerPacket want;
    want.type = kTypeChat;
    want.seat = kOwnMask;
    want.value = expected[i].value;
    want.Bytes(16, Hex(expected[i].body_hex));
    want.tag = sent[i].tag;
    EXPECT_EQ(sent[i], want);
  }
  // The local player hears the phrase in the local voice.
  EXPECT_EQ(VoiceFiles(), std::vector<std::string>{"../common/mj/v002002a3.wav"});
  EXPECT_FALSE(LoadPhraseWindow(c()).visible);
  EXPECT_EQ(c().desktop.focus, &ChatBox());
}

TEST_F(ChatTest, ALongLineIsCutTo100CharactersOnTheWire) {
  Type(Times("牌", 120));
  Key(kKeyReturn);
  const std::vector<ServerPacket> sent = SentChats();
  ASSERT_EQ(sent.size(), 1u);
  // "小林说道: " is 6 characters: 94 of the typed ones follow.
  EXPECT_EQ(TextOf(sent[0]), "小林说道: " + Times("牌", 94));
}

// --- Receiving ---------------------------------------------------------

TEST_F(ChatTest, ReceivedLinesInTheLogAndTheTicker) {
  struct Case {
    const char* what;
    std::string text;
    uint8_t seat;
    std::string shown;
    int16_t flash;
  };
  const Case cases[] = {
      {"a private remark to me, on my client", "[新手]Bob对小林说: 你好", kLeftMask, "[新手]Bob对你说: 你好", 8},
      {"my own line back from the server", "[雀圣]小林说道: 大家好", kOwnMask, "你说道: 大家好", 0},
      {"a system notice keeps my name", "系统提示：小林的金币不够", kTopMask, "系统提示：小林的金币不够", 8},
      {"only the first plain nick", "[新手]Bob说道: 小林，小林", kLeftMask, "[新手]Bob说道: 你，小林", 8},
      {"filtered to nothing", "他妈的婊子养的", kLeftMask, "", 8},
      {"a seat mask of no seat counts as seat 0", "[新手]Bob说道: hi", 0, "[新手]Bob说道: hi", 0},
      {"a mask of several seats counts as its highest", "[新手]Bob说道: hi", 0x0F, "[新手]Bob说道: hi", 8},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    c().tick.ChatFlash = 0;
    ASSERT_TRUE(Receive(cs.text, cs.seat));
    ASSERT_FALSE(Log().empty());
    EXPECT_EQ(Log().back(), cs.shown);
    EXPECT_EQ(c().MainForm.At("Sysmsg", 1).caption, cs.shown);
    EXPECT_EQ(c().tick.ChatFlash, cs.flash);
    EXPECT_EQ(LoadTalkWindow(c()).At("Text1").top_index, static_cast<int>(Log().size()) - 1);
  }
}

// Before the profiles arrive the local nick is empty: it names nobody, and
// no "你" is put into the line.
TEST_F(ChatTest, AnEmptyLocalNickChangesNothing) {
  c().game.players[0].Nick.clear();
  c().game.players[0].Title.clear();
  ASSERT_TRUE(Receive("[]说道: hi", kOwnMask));
  EXPECT_EQ(Log().back(), "[]说道: hi");
}

TEST_F(ChatTest, HundredDoubleByteCharactersWithNoZeroByteFillFiveLogLines) {
  const std::string gbk = Utf8ToGbk(Times("牌", 100));
  ASSERT_EQ(gbk.size(), 200u);  // bytes 16-215: no zero byte anywhere
  const size_t before = Log().size();
  ASSERT_TRUE(Receive(std::vector<uint8_t>(gbk.begin(), gbk.end()), kLeftMask));
  const std::vector<std::string> lines(Log().begin() + static_cast<long>(before), Log().end());
  EXPECT_EQ(lines, (std::vector<std::string>{Times("牌", 23), " " + Times("牌", 23), " " + Times("牌", 23),
                                             " " + Times("牌", 23), " " + Times("牌", 8)}));
  EXPECT_EQ(c().MainForm.At("Sysmsg", 1).caption, Times("牌", 45));

  ASSERT_TRUE(Receive(Times("x", 30), kLeftMask));
  EXPECT_EQ(Log().back(), Times("x", 30));
  EXPECT_EQ(c().MainForm.At("Sysmsg", 1).caption, Times("x", 30));
}

TEST_F(ChatTest, TheTickerShowsTheLastTwoLines) {
  h.Do([](Client& cl) { ClearStatusLines(cl); });
  const char* expected[][2] = {{"a", ""}, {"a", "b"}, {"b", "c"}, {"c", "d"}};
  for (const auto& lines : expected) {
    ASSERT_TRUE(Receive(std::string(lines[1][0] ? lines[1] : lines[0]), kLeftMask));
    EXPECT_EQ(c().MainForm.At("Sysmsg", 0).caption, lines[0]);
    EXPECT_EQ(c().MainForm.At("Sysmsg", 1).caption, lines[1]);
  }
}

TEST_F(ChatTest, TheLogIsEmptiedAtTheFirstKeyPressAfter100Lines) {
  h.Do([&](Client& cl) {
    while (Log().size() < 100) AddChatLogLine(cl, "line");
  });
  Key('A');
  EXPECT_EQ(Log().size(), 100u);
  h.Do([](Client& cl) { AddChatLogLine(cl, "one more"); });
  Key('A');
  EXPECT_TRUE(Log().empty());
}

TEST_F(ChatTest, TheLogIsEmptiedWhenTheClientReturnsToIdle) {
  ASSERT_TRUE(Receive("[新手]Bob说道: hi", kLeftMask));
  ASSERT_FALSE(Log().empty());
  h.Do([](Client& cl) { ResetToIdle(cl); });
  EXPECT_TRUE(Log().empty());
}

// --- Untrusted input ---------------------------------------------------

TEST(Chat, BadChatInputShowsWhatItCanAndNeverReachesOutside) {
  struct Case {
    const char* what;
    std::vector<uint8_t> body;
    uint8_t seat;
    std::array<int16_t, 4> value;
    std::string last_line;
    std::vector<std::string> voices;
  };
  std::vector<uint8_t> lone_lead(200, 'x');
  lone_lead.back() = 0xB0;
  const Case cases[] = {
      {"lead bytes throughout, no zero byte", std::vector<uint8_t>(244, 0xB0), kLeftMask, {}, " " + Times("鞍", 8), {}},
      {"a lone lead byte at the end", lone_lead, kLeftMask, {}, " " + Times("x", 15) + std::string(kGbkUndecodable), {}},
      {"voice phrase 0", {'h', 'i'}, kLeftMask, {1, 0, 97, 0}, "hi", {"v001013a0.wav"}},
      {"voice phrase 65535 (its low byte)", {'h', 'i'}, kLeftMask, {1, 0, 97, -1}, "hi", {"v001013a255.wav"}},
      {"a voice letter that names no recording", {'h', 'i'}, kLeftMask, {1, 0, 0, 3}, "hi", {}},
      {"my own voice phrase is not played again", {'h', 'i'}, kOwnMask, {1, 0, 97, 3}, "hi", {}},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    ChatTable t;
    ASSERT_TRUE(t.Seat());
    ASSERT_TRUE(t.Receive(cs.body, cs.seat, cs.value));
    EXPECT_EQ(t.Log().back(), cs.last_line);
    std::vector<std::string> in_voice_dir;  // the names, each in the voice folder
    for (const std::string& name : cs.voices) in_voice_dir.push_back("../common/mj/" + name);
    EXPECT_EQ(t.VoiceFiles(), in_voice_dir);
    EXPECT_EQ(TraceTexts(t.h, "msgbox"), std::vector<std::string>{});
  }
}

TEST(ChatIni, IsReadAsFarAsItGoes) {
  struct Case {
    const char* what;
    std::string file;  // empty: no file
    size_t phrases;
  };
  const Case cases[] = {
      {"no file", "", 0},
      {"as many keys as num", "[Phrase1]\nnum=2\n1=a\n2=b\n", 2},
      {"num larger than its keys", "[Phrase1]\nnum=5\n1=a\n2=b\n", 2},
      {"num far larger than any list", "[Phrase1]\nnum=2147483647\n1=a\n", 1},
      {"num past every number", "[Phrase1]\nnum=99999999999999999999\n1=a\n", 0},
      {"num negative", "[Phrase1]\nnum=-3\n1=a\n", 0},
      {"num not a number", "[Phrase1]\nnum=many\n1=a\n", 0},
      {"a gap in the keys", "[Phrase1]\nnum=3\n1=a\n3=c\n", 1},
      {"no num", "[Phrase1]\n1=a\n", 0},
  };
  const std::string dir = (std::filesystem::temp_directory_path() / "tessaly-chat-ini").string();
  std::filesystem::create_directories(dir);
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    const std::string path = dir + "/chat.ini";
    std::filesystem::remove(path);
    if (!cs.file.empty()) {
      FILE* f = std::fopen(path.c_str(), "wb");
      ASSERT_NE(f, nullptr);
      std::fwrite(cs.file.data(), 1, cs.file.size(), f);
      std::fclose(f);
    }
    EXPECT_EQ(ReadPhrases(path, "Phrase1").size(), cs.phrases);
    EXPECT_TRUE(ReadPhrases(path, "Phrase2").empty());
  }
  std::filesystem::remove_all(dir);
}

TEST(ChatIni, TheShippedPhrasesAreReadWhole) {
  const std::vector<std::string> text = ReadPhrases(TESSALY_SHIPPED_CHAT_INI, "Phrase1");
  const std::vector<std::string> voice = ReadPhrases(TESSALY_SHIPPED_CHAT_INI, "Phrase2");
  EXPECT_EQ(text.size(), 10u);
  EXPECT_EQ(voice.size(), 6u);
  for (const auto* list : {&text, &voice})
    for (const std::string& p : *list) {
      EXPECT_EQ(p.find(kGbkUndecodable), std::string::npos) << p;  // GBK in the file, read as such
      EXPECT_EQ(FilterChat(p), p);
      EXPECT_EQ(WrapForLog("小林说道: " + p).size(), 1u) << "fits one log line: " << p;
    }
}

// --- The floating windows ----------------------------------------------

TEST_F(ChatTest, TheChatLogOpensOverTheTableAndCloses) {
  Form& talk = LoadTalkWindow(c());
  EXPECT_FALSE(talk.visible);
  struct Step {
    const char* what;
    std::function<void()> act;
    bool shown;
  };
  const Step steps[] = {
      {"Lbchat", [&] { Click(c().MainForm.At("Lbchat")); }, true},
      {"Lbchat again", [&] { Click(c().MainForm.At("Lbchat")); }, false},
      {"AnNiu(1)", [&] { Click(c().MainForm.At("AnNiu", 1)); }, true},
      {"a click on the table", [&] { Click(c().MainForm.At("Pic1")); }, false},
      {"Alt, C on the table", [&] { h.Do([](Client& cl) { cl.desktop.focus = &cl.MainForm.At("Pic1");
                                                          cl.desktop.KeyDown(kKeyAlt, 0);
                                                          cl.desktop.KeyDown(kKeyC, 0); }); }, true},
      {"C, Alt in the log", [&] { Click(talk.At("Text1"));
                                  h.Do([](Client& cl) { cl.desktop.KeyDown(kKeyC, 0);
                                                        cl.desktop.KeyDown(kKeyAlt, 0); }); }, true},
      {"Alt, X, C in the log", [&] { h.Do([](Client& cl) { for (int k : {int(kKeyAlt), int('X'), int(kKeyC)})
                                                             cl.desktop.KeyDown(k, 0); }); }, true},
      {"Alt, C in the log", [&] { h.Do([](Client& cl) { cl.desktop.KeyDown(kKeyAlt, 0);
                                                        cl.desktop.KeyDown(kKeyC, 0); }); }, false},
      {"AnNiu(1) again", [&] { Click(c().MainForm.At("AnNiu", 1)); }, true},
      {"its label", [&] { Click(talk.At("Label1")); }, false},
  };
  for (const Step& st : steps) {
    SCOPED_TRACE(st.what);
    st.act();
    EXPECT_EQ(talk.visible, st.shown);
    if (talk.visible) {
      EXPECT_TRUE(talk.topmost);
      EXPECT_EQ(c().desktop.FormsBackToFront().back(), &talk);
    }
  }
}

TEST(ChatWindows, ArePlacedOverTheTableOnBothLayouts) {
  struct Case {
    int screen_w, screen_h;
    double left, top;
  };
  for (const Case& cs : {Case{1024, 768, 1024 * 0.30, 768 * 0.66}, Case{800, 600, 800 * 0.22, 600 * 0.60}}) {
    SCOPED_TRACE(cs.screen_w);
    ClientHarness h;
    h.client->desktop.screen_width = cs.screen_w;
    h.client->desktop.screen_height = cs.screen_h;
    ASSERT_TRUE(h.LogIn());
    Client& c = *h.client;
    h.Do([](Client& cl) { OpenChatLog(cl); });
    const Form& talk = LoadTalkWindow(c);
    EXPECT_DOUBLE_EQ(talk.left, cs.left);
    EXPECT_DOUBLE_EQ(talk.top, cs.top);
    EXPECT_LE(talk.top + talk.height, c.MainForm.top + c.MainForm.height) << "inside the table window";
    h.Do([](Client& cl) { TogglePhraseList(cl, PhraseList::kText); });
    const Form& phrases = LoadPhraseWindow(c);
    EXPECT_DOUBLE_EQ(phrases.left, cs.left);
    EXPECT_DOUBLE_EQ(phrases.top, cs.top);
  }
}

// With its own frame (a large screen), a drag on the title strip hides the
// floating chat windows.
TEST(ChatWindows, HideWhileTheWindowIsDragged) {
  ClientHarness h;
  h.client->desktop.screen_width = 1280;
  h.client->desktop.screen_height = 1024;
  ASSERT_TRUE(h.LogIn());
  Client& c = *h.client;
  h.Do([](Client& cl) {
    TogglePhraseList(cl, PhraseList::kVoice);
    OpenChatLog(cl);
  });
  ASSERT_TRUE(LoadTalkWindow(c).visible && LoadPhraseWindow(c).visible);
  const Element& strip = c.MainForm.At("LbMove");
  const double x = c.MainForm.left + strip.FormLeft() + 5, y = c.MainForm.top + strip.FormTop() + 5;
  h.Do([&](Client& cl) { cl.desktop.MouseDown(x, y, kButtonLeft, 0, 0); });
  EXPECT_EQ(c.desktop.moving, &c.MainForm);
  EXPECT_FALSE(LoadTalkWindow(c).visible);
  EXPECT_FALSE(LoadPhraseWindow(c).visible);
}

TEST_F(ChatTest, TheQuickPhraseButtonsShowTheirListOrHideTheWindow) {
  Form& phrases = LoadPhraseWindow(c());
  Form& talk = LoadTalkWindow(c());
  struct Step {
    const char* button;
    bool shown, text_list, voice_list;
  };
  const Step steps[] = {
      {"imgword1", true, true, false},
      {"imgword1", false, true, false},
      {"imgword2", true, false, true},
      {"imgword1", true, true, false},
      {"Pic1", false, true, false},
  };
  for (const Step& st : steps) {
    SCOPED_TRACE(testing::Message() << "step " << (&st - steps) << " " << st.button);
    h.Do([](Client& cl) { OpenChatLog(cl); });
    Click(c().MainForm.At(st.button));
    EXPECT_EQ(phrases.visible, st.shown);
    EXPECT_EQ(phrases.At("List1").visible, st.text_list);
    EXPECT_EQ(phrases.At("List2").visible, st.voice_list);
    if (st.shown) {
      EXPECT_FALSE(talk.visible) << "the quick phrases hide the log";
    }
  }
}

TEST_F(ChatTest, AnEmptyVoiceListSendsNothing) {
  Click(c().MainForm.At("imgword2"));  // no chat.ini in the program directory
  const Element& voices = LoadPhraseWindow(c()).At("List2");
  EXPECT_TRUE(voices.items.empty());
  h.Do([](Client& cl) { SendPhrase(cl, PhraseList::kVoice, 0); });
  EXPECT_TRUE(SentChats().empty());
  EXPECT_TRUE(VoiceFiles().empty());
}

}  // namespace
}  // namespace tess::test
