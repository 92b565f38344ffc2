#include "ui/scene_dump.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/mini_json.h"

namespace tess {
namespace {

namespace fs = std::filesystem;
using test::JsonReader;
using test::JsonValue;

// The element record named `name` (and `index`) in a parsed dump.
const JsonValue* FindElement(const JsonValue& doc, const std::string& name, double index = -1) {
  for (const JsonValue& e : doc["elements"].items) {
    bool same_index = index < 0 ? e["index"].IsNull() : e["index"].number == index;
    if (e["name"].text == name && same_index) return &e;
  }
  return nullptr;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

struct SceneFixture : ::testing::Test {
  Desktop desktop;
  Form& main = desktop.AddForm("MainForm");
  Form& score = desktop.AddForm("Score");

  void SetUp() override {
    main.caption = "Tessaly";
    main.width = 1024, main.height = 768, main.visible = true;
    score.caption = "结果";
    score.left = 273.4375;
    score.window_state = WindowState::kMinimized;

    Element& pic1 = main.Add(ElementKind::kPictureBox, "Pic1");
    pic1.width = 1024, pic1.height = 768;
    Element& tile = main.Add(ElementKind::kImage, "MJ_Image", 0);
    tile.container = &pic1;
    tile.left = 273.4375, tile.top = 11.71875, tile.width = 50, tile.height = 58;
    auto face = std::make_shared<Picture>();
    face->id = 217;
    tile.picture = face;
    Element& second = main.Load("MJ_Image", 1);
    second.picture = std::make_shared<Picture>();  // composed at run time
    Element& sys = main.Add(ElementKind::kListBox, "Sysmsg", 0);
    sys.items = {"正在连接服务器...", "say \"hi\"\\"};
    sys.fore_color = 0xFF0000;
    sys.enabled = false;
    main.BringToFront(tile);
  }
};

TEST_F(SceneFixture, JsonListsFormsAndElementsAsHeld) {
  auto doc = JsonReader::Parse(SceneJson(desktop));
  ASSERT_TRUE(doc.has_value()) << SceneJson(desktop);
  EXPECT_EQ((*doc)["screen"]["width"].number, 1024);

  const auto& forms = (*doc)["forms"].items;
  ASSERT_EQ(forms.size(), 2u);
  EXPECT_EQ(forms[0]["form"].text, "MainForm");
  EXPECT_EQ(forms[0]["caption"].text, "Tessaly");
  EXPECT_TRUE(forms[0]["visible"].boolean);
  EXPECT_EQ(forms[0]["window_state"].text, "normal");
  EXPECT_EQ(forms[0]["z"].number, 0);
  EXPECT_EQ(forms[1]["caption"].text, "结果");
  EXPECT_EQ(forms[1]["left"].number, 273.4375);
  EXPECT_EQ(forms[1]["window_state"].text, "minimized");
  EXPECT_EQ(forms[1]["z"].number, 1);

  ASSERT_EQ((*doc)["elements"].items.size(), 4u);
  const JsonValue* pic1 = FindElement(*doc, "Pic1");
  const JsonValue* tile = FindElement(*doc, "MJ_Image", 0);
  const JsonValue* second = FindElement(*doc, "MJ_Image", 1);
  const JsonValue* sys = FindElement(*doc, "Sysmsg", 0);
  ASSERT_TRUE(pic1 && tile && second && sys);
  EXPECT_TRUE((*pic1)["index"].IsNull());
  EXPECT_TRUE((*pic1)["picture"].IsNull());
  EXPECT_TRUE((*pic1)["container"].IsNull());
  EXPECT_EQ((*pic1)["kind"].text, "picturebox");

  EXPECT_EQ((*tile)["form"].text, "MainForm");
  EXPECT_EQ((*tile)["left"].number, 273.4375) << "unrounded";
  EXPECT_EQ((*tile)["top"].number, 11.71875);
  EXPECT_EQ((*tile)["width"].number, 50);
  EXPECT_EQ((*tile)["picture"].number, 217);
  EXPECT_EQ((*tile)["container"].text, "Pic1");
  EXPECT_TRUE((*tile)["container_index"].IsNull());
  EXPECT_EQ((*tile)["z"].number, 3) << "brought to the front";
  EXPECT_TRUE((*tile)["visible"].boolean);
  EXPECT_TRUE((*tile)["shown"].boolean);

  EXPECT_FALSE((*second)["visible"].boolean) << "a loaded element starts hidden";
  EXPECT_EQ((*second)["picture"].number, -1);
  EXPECT_EQ((*second)["z"].number, 1);

  EXPECT_FALSE((*sys)["enabled"].boolean);
  EXPECT_EQ((*sys)["forecolor"].number, 0xFF0000);
  ASSERT_EQ((*sys)["items"].items.size(), 2u);
  EXPECT_EQ((*sys)["items"].items[0].text, "正在连接服务器...");
  EXPECT_EQ((*sys)["items"].items[1].text, "say \"hi\"\\");

  for (const JsonValue& e : (*doc)["elements"].items)
    for (const char* key : {"form", "name", "index", "left", "top", "width", "height", "visible", "enabled", "picture",
                            "caption", "items", "forecolor", "z"})
      EXPECT_TRUE(e.Has(key)) << e["name"].text << " lacks " << key;
}

TEST_F(SceneFixture, FileIsWrittenWholeAndFailureIsReported) {
  const fs::path path = fs::temp_directory_path() / ("tess_scene_" + std::to_string(getpid()) + ".json");
  ASSERT_TRUE(WriteSceneFile(desktop, path.string()));
  EXPECT_TRUE(JsonReader::Parse(ReadFile(path)).has_value());
  EXPECT_FALSE(fs::exists(path.string() + ".tmp"));
  fs::remove(path);
  EXPECT_FALSE(WriteSceneFile(desktop, "/nonexistent-dir/scene.json"));
}

TEST_F(SceneFixture, HookDumpsOnSigusr1InsideTheLoopAndAtTheEnd) {
  const fs::path path = fs::temp_directory_path() / ("tess_hook_" + std::to_string(getpid()) + ".json");
  VirtualClock clock;
  EventLoop loop(clock);
  setenv("TESSALY_SCENE", path.c_str(), 1);
  {
    SceneDumpHook hook(desktop, loop);
    unsetenv("TESSALY_SCENE");
    ASSERT_TRUE(hook.Active());
    ASSERT_EQ(raise(SIGUSR1), 0);
    EXPECT_FALSE(fs::exists(path)) << "the signal handler itself writes nothing";
    loop.DoEvents();
    ASSERT_TRUE(fs::exists(path));
    auto doc = JsonReader::Parse(ReadFile(path));
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ((*doc)["forms"].items[0]["caption"].text, "Tessaly");
    main.caption = "changed";
  }
  auto last = JsonReader::Parse(ReadFile(path));
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ((*last)["forms"].items[0]["caption"].text, "changed") << "written again at the end";
  fs::remove(path);

  SceneDumpHook idle(desktop, loop);
  EXPECT_FALSE(idle.Active());
}

}  // namespace
}  // namespace tess
