// The built-in pictures: every catalogue identifier and every form picture
// must decode as a GIF of its stated size; anything else must be absent.
#include "ui/resources.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tess {
namespace {

struct Size {
  int width = 0;
  int height = 0;
};

// The catalogue's stated sizes; the claim captions (183-190) and the
// rolling-die frames (167-176) are "various"/"about" and only need to decode.
Size StatedSize(int id) {
  if (id <= 102) return {48, 30};
  if (id <= 120) return {55, 31};
  if (id <= 125) return {82, 80};
  if (id <= 129) return {77, 77};
  if (id <= 133) return {70, 29};
  if (id <= 137) return {64, 26};
  if (id <= 155) return {50, 71};
  if (id <= 166) return {50, 56};
  if (id <= 190) return {};
  if (id <= 200) return {85, 90};
  if (id <= 236) return {50, 58};
  if (id <= 272) return {59, 46};
  if (id <= 308) return {34, 37};
  if (id <= 344) return {59, 46};
  if (id <= 380) return {50, 77};
  if (id <= 398) return {43, 24};
  if (id <= 410) return {85, 90};
  if (id <= 414) return {55, 31};
  if (id <= 420) return {131, 102};
  if (id <= 424) return {50, 71};
  return {131, 102};
}

std::vector<int> CatalogueIds() {
  std::vector<int> ids;
  for (auto [first, last] : {std::pair{101, 120}, {123, 137}, {141, 155}, {161, 176}, {183, 398}, {401, 430}}) {
    for (int id = first; id <= last; ++id) ids.push_back(id);
  }
  return ids;
}

struct Reader {
  std::span<const uint8_t> bytes;
  size_t at = 0;
};

int ReadFromSpan(GifFileType* gif, GifByteType* out, int n) {
  auto* r = static_cast<Reader*>(gif->UserData);
  const size_t take = std::min(static_cast<size_t>(n), r->bytes.size() - r->at);
  std::memcpy(out, r->bytes.data() + r->at, take);
  r->at += take;
  return static_cast<int>(take);
}

// Decodes the whole file; returns false with a reason when giflib fails.
bool Decode(std::span<const uint8_t> bytes, Size& size, std::string& why) {
  Reader reader{bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadFromSpan, &error);
  if (gif == nullptr) {
    why = GifErrorString(error);
    return false;
  }
  const bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1;
  if (ok) {
    size = {gif->SWidth, gif->SHeight};
    const GifImageDesc& d = gif->SavedImages[0].ImageDesc;
    if (d.Left != 0 || d.Top != 0 || d.Width != gif->SWidth || d.Height != gif->SHeight) {
      why = "first frame does not cover the picture";
      DGifCloseFile(gif, &error);
      return false;
    }
  } else {
    why = GifErrorString(gif->Error);
  }
  DGifCloseFile(gif, &error);
  return ok;
}

TEST(ResourcesTest, EveryCatalogueIdentifierIsAGifOfItsStatedSize) {
  const std::vector<int> ids = CatalogueIds();
  ASSERT_EQ(ids.size(), 312u);
  for (int id : ids) {
    SCOPED_TRACE("GIF " + std::to_string(id));
    const std::span<const uint8_t> bytes = FindResource("GIF", id);
    ASSERT_FALSE(bytes.empty());
    Size size;
    std::string why;
    ASSERT_TRUE(Decode(bytes, size, why)) << why;
    const Size stated = StatedSize(id);
    if (stated.width == 0) {
      EXPECT_GT(size.width, 0);
      EXPECT_GT(size.height, 0);
      EXPECT_LE(size.width, 131);  // must fit inside the bubble it is shown on
    } else {
      EXPECT_EQ(size.width, stated.width);
      EXPECT_EQ(size.height, stated.height);
    }
  }
}

TEST(ResourcesTest, RollingFramesAreAboutFiftyPixels) {
  for (int id = 167; id <= 176; ++id) {
    SCOPED_TRACE("GIF " + std::to_string(id));
    Size size;
    std::string why;
    ASSERT_TRUE(Decode(FindResource("GIF", id), size, why)) << why;
    EXPECT_NEAR(size.width, 50, 5);
    EXPECT_NEAR(size.height, 50, 5);
  }
}

TEST(ResourcesTest, FormPicturesDecodeAtTheirSizes) {
  const struct {
    int id;
    Size size;
  } cases[] = {
      {kFormTableLarge, {1024, 768}}, {kFormTableSmall, {800, 600}}, {kFormSkin, {46, 220}},
      {kFormCloseNormal, {16, 16}},   {kFormCloseHover, {16, 16}},   {kFormClosePressed, {16, 16}},
      {kFormMinNormal, {16, 16}},     {kFormMinHover, {16, 16}},     {kFormMinPressed, {16, 16}},
      {kFormIcon, {32, 32}},          {kFormBanner, {82, 80}},       {kFormLocation, {394, 39}},
      {kFormClock, {81, 38}},         {kFormReady, {40, 30}},        {kFormWildBox, {73, 130}},
      {kFormDealer, {36, 16}},        {kFormChatLabel, {25, 33}},    {kFormPhrases, {57, 13}},
      {kFormVoicePhrases, {57, 13}},  {kFormNoticeOk, {70, 30}},     {kFormNoticeCancel, {70, 30}},
      {kFormChatBubble, {131, 102}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("FORM " + std::to_string(c.id));
    Size size;
    std::string why;
    ASSERT_TRUE(Decode(FindResource(kFormResourceType, c.id), size, why)) << why;
    EXPECT_EQ(size.width, c.size.width);
    EXPECT_EQ(size.height, c.size.height);
  }
}

TEST(ResourcesTest, UnknownTypesAndIdentifiersFindNothing) {
  const struct {
    const char* type;
    int id;
  } cases[] = {
      {"GIF", 100}, {"GIF", 121}, {"GIF", 122}, {"GIF", 138}, {"GIF", 140}, {"GIF", 156},
      {"GIF", 160}, {"GIF", 177}, {"GIF", 182}, {"GIF", 399}, {"GIF", 400}, {"GIF", 431},
      {"GIF", 0},   {"GIF", -1},  {"GIF", kFormTableLarge},  {"gif", 201}, {"", 201},
      {"FORM", 201}, {"FORM", 500}, {"FORM", kFormChatBubble + 1}, {"WAVE", 201},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(FindResource(c.type, c.id).empty()) << c.type << " " << c.id;
  }
}

TEST(ResourcesTest, DistinctIdentifiersHoldDistinctPictures) {
  // Normal and highlighted buttons, the four compass turns and the tile
  // groups must not be copies of one another.
  for (auto [a, b] : {std::pair{103, 104}, {126, 127}, {128, 129}, {141, 142}, {201, 345}, {237, 309}, {191, 401}}) {
    const auto x = FindResource("GIF", a), y = FindResource("GIF", b);
    EXPECT_FALSE(x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin())) << a << " vs " << b;
  }
}

}  // namespace
}  // namespace tess
