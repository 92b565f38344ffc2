// The picture tables, ShowTilePicture and the empty table's layout after
// start-up, on the full layout (1024 x 768) and the reduced one (800 x 600).
#include "table/table_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/screen_start.h"
#include "table/pictures.h"

namespace tess::test {
namespace {

constexpr double kS = 0.78125;

TEST(PictureTables, ButtonSetFollowsTheLayoutScale) {
  const struct {
    double scale;
    int entry, id;
  } cases[] = {
      {1.0, 0, 101}, {1.0, 1, 102}, {1.0, 2, 103},  {1.0, 4, 105},  {1.0, 19, 120},
      {kS, 0, 101},  {kS, 1, 102},  {kS, 2, 381},   {kS, 4, 383},   {kS, 19, 398},
  };
  for (const auto& k : cases) {
    PictureTables t;
    FillPictureTables(t, k.scale);
    EXPECT_EQ(t.ButtonPictures[k.entry], k.id) << "scale " << k.scale << " entry " << k.entry;
  }
}

TEST(PictureTables, AvatarCodesSelectTheirPortraits) {
  PictureTables t;
  FillPictureTables(t, 1.0);
  const struct {
    const char* code;
    int entry, id;
  } cases[] = {
      {"w3", 12, 403}, {"m12", 0, 191}, {"m3", 2, 193}, {"m10", 9, 200}, {"w10", 19, 410},
      {"w11", 10, 401}, {"m", 0, 191}, {"", 0, 191}, {"m0", 0, 191},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.code);
    const int entry = AvatarEntry(k.code);
    EXPECT_EQ(entry, k.entry);
    ASSERT_GE(entry, 0);
    ASSERT_LT(entry, 20);
    EXPECT_EQ(t.AvatarPictures[entry], k.id);
  }
}

std::vector<const Picture*> SlotPictures(const Form& f) {
  std::vector<const Picture*> out;
  for (const Element* e : f.Array("MJ_Image")) out.push_back(e->picture.get());
  return out;
}

TEST(ShowTilePicture, ShowsBacksAndIgnoresIndicesOutOfRange) {
  auto h = StartedOn(1024, 768);
  Client& c = *h->client;
  const Form& f = c.MainForm;
  ASSERT_EQ(f.Array("MJ_Image").size(), 136u);
  const auto before = SlotPictures(f);
  for (auto [slot, index] : {std::pair{136, 0}, {0, 180}, {-1, 0}, {0, -1}, {1000, 1000}}) {
    ShowTilePicture(c, slot, index);
    EXPECT_EQ(SlotPictures(f), before) << slot << "," << index;
  }
  EXPECT_FALSE(f.At("MJ_Image", 0).visible);

  const struct {
    int index, id;
  } backs[] = {{7, 208}, {8, 209}};  // a standing back, a lying back
  for (const auto& b : backs) {
    ShowTilePicture(c, 5, b.index);
    const Element& slot = f.At("MJ_Image", 5);
    ASSERT_NE(slot.picture, nullptr);
    EXPECT_EQ(slot.picture->id, b.id);
    EXPECT_TRUE(slot.visible);
  }
}

struct Expected {
  const char* name;
  int index;
  double left, top;  // full layout; reduced = times 0.78125
};

// Reference positions of the empty table.
constexpr Expected kPositions[] = {
    {"Tou", 0, 10, 666},       {"Tou", 1, 7, 15},         {"Tou", 2, 350, 15},      {"Tou", 3, 693, 15},
    {"Nid", 2, 509, 15},       {"Cash", 2, 509, 40},      {"Level", 2, 509, 64},    {"Nid", 0, 181, 700},
    {"Nid", 1, 165, 15},       {"Nid", 3, 852, 15},       {"AnNiu", 0, 573, 730},   {"AnNiu", 1, 648, 699},
    {"AnNiu", 2, 718, 699},    {"AnNiu", 3, 788, 699},    {"AnNiu", 4, 858, 699},   {"AnNiu", 5, 648, 731},
    {"AnNiu", 6, 718, 731},    {"AnNiu", 7, 788, 731},    {"AnNiu", 8, 858, 731},   {"Operation", 0, 358, 461},
    {"Operation", 1, 408, 461}, {"Operation", 2, 458, 461}, {"Operation", 3, 508, 461}, {"Operation", 4, 558, 461},
    {"OK", 1, 60, 280},        {"OK", 3, 900, 280},       {"Korbi", -1, 900, 90},   {"KB_Image", -1, 920, 145},
    {"Time_Img", -1, 900, 220}, {"Chat", -1, 318, 729},   {"Bird", -1, 936, 680},   {"Location", -1, 760, 668},
    {"imgword2", -1, 640, 675}, {"imgLocation", -1, 632, 654},
};

class TableLayoutTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { h_ = StartedOn(Reduced() ? 800 : 1024, Reduced() ? 600 : 768); }
  bool Reduced() const { return GetParam(); }
  double Scale() const { return Reduced() ? kS : 1.0; }
  Client& c() { return *h_->client; }
  const Element& At(const char* name, int index = -1) { return c().MainForm.At(name, index); }
  std::unique_ptr<ClientHarness> h_;
};

TEST_P(TableLayoutTest, ElementsStandAtTheirScaledReferencePositions) {
  for (const Expected& e : kPositions) {
    SCOPED_TRACE(std::string(e.name) + "(" + std::to_string(e.index) + ")");
    EXPECT_DOUBLE_EQ(At(e.name, e.index).left, e.left * Scale());
    EXPECT_DOUBLE_EQ(At(e.name, e.index).top, e.top * Scale());
  }
}

TEST_P(TableLayoutTest, EdgeCasesOfTheLayout) {
  if (Reduced()) {
    EXPECT_DOUBLE_EQ(At("Tou", 2).left, 273.4375);
    EXPECT_DOUBLE_EQ(At("Tou", 2).top, 11.71875);
    EXPECT_DOUBLE_EQ(At("Nid", 2).left, 397.65625);
    // The ticker lines: Top = 696 x scale - 2, Height = (26 x scale + 4) / 2.
    EXPECT_DOUBLE_EQ(At("Sysmsg", 0).top, 541.75);
    EXPECT_DOUBLE_EQ(At("Sysmsg", 0).height, 12.15625);
    EXPECT_DOUBLE_EQ(At("Sysmsg", 1).top, 541.75 + 12.15625);
    // The countdown digits sit 2 unscaled pixels further right.
    EXPECT_DOUBLE_EQ(At("Number").left, At("Time_Img").left + 48 * kS + 2);
    EXPECT_EQ(At("Number").font_size, 12);
    EXPECT_EQ(At("Cash", 1).font_size, 8);
    EXPECT_EQ(At("Level", 0).font_size, 8);
  } else {
    EXPECT_DOUBLE_EQ(At("Sysmsg", 0).top, 696);
    EXPECT_DOUBLE_EQ(At("Sysmsg", 0).height, 13);
    EXPECT_DOUBLE_EQ(At("Sysmsg", 1).top, 709);
    EXPECT_DOUBLE_EQ(At("Number").left, 948);
  }
  for (int i = 0; i < 2; ++i) {
    EXPECT_DOUBLE_EQ(At("Sysmsg", i).left, 312 * Scale());
    EXPECT_DOUBLE_EQ(At("Sysmsg", i).width, 281 * Scale());
    EXPECT_TRUE(At("Sysmsg", i).visible);
  }
  EXPECT_DOUBLE_EQ(At("AnNiu", 0).width, 50 * Scale());
  EXPECT_DOUBLE_EQ(At("AnNiu", 8).width, 60 * Scale());
  EXPECT_DOUBLE_EQ(At("Operation", 4).width, 50 * Scale());
}

TEST_P(TableLayoutTest, StartStateOfTheElements) {
  // The banner page is placed over the banner but stays hidden.
  const Element& page = At("WebBrowser1");
  EXPECT_FALSE(page.visible);
  EXPECT_DOUBLE_EQ(page.left, At("Bird").left + 2);
  EXPECT_DOUBLE_EQ(page.top, At("Bird").top + 2);
  EXPECT_DOUBLE_EQ(page.width, At("Bird").width);
  EXPECT_TRUE(At("Bird").visible);
  // Button 2 shows the start picture and ignores clicks.
  ASSERT_NE(At("AnNiu", 2).picture, nullptr);
  EXPECT_EQ(At("AnNiu", 2).picture->id, Reduced() ? 383 : 105);
  EXPECT_TRUE(c().buttons.ButtonLatched[2]);
  for (int i : {0, 1, 3, 8}) EXPECT_FALSE(c().buttons.ButtonLatched[i]) << i;
  EXPECT_EQ(At("AnNiu", 8).picture->id, Reduced() ? 397 : 119);  // exit, entry 18
  for (int i = 0; i < 5; ++i) {
    EXPECT_FALSE(At("Operation", i).visible);
    EXPECT_FALSE(At("Operation", i).enabled);
  }
  EXPECT_EQ(At("Operation", 0).picture->id, 422);
  EXPECT_EQ(At("Operation", 1).picture->id, 144);  // plain pung
  EXPECT_FALSE(At("KB_Image").visible);
  EXPECT_FALSE(At("ZhiNan").visible);
  for (int v = 1; v < 4; ++v) {
    EXPECT_TRUE(At("Tou", v).visible);
    EXPECT_FALSE(At("OK", v).visible);
  }
  EXPECT_EQ(c().MainForm.Array("BaiBao_img").size(), 16u);
  EXPECT_EQ(At("SZ_Image", 15).picture->id, 176);
  // The bubbles and the claim caption are pictures, shown whole.
  for (int v = 0; v < 3; ++v) EXPECT_EQ(At("tsSpeak", v).kind, ElementKind::kImage) << v;
  Element& words = c().MainForm.At("Words");
  ASSERT_TRUE(ShowResourcePicture(c(), words, c().pictures.ClaimPictures[7]));
  EXPECT_EQ(words.width, words.picture->width);
  EXPECT_EQ(words.height, words.picture->height);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TableLayoutTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Reduced" : "Full"; });

}  // namespace
}  // namespace tess::test
