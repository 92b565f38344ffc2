#include "ui/picture_decode.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <vector>

namespace tess {
namespace {

int AppendBytes(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

// A GIF89a of `width` x `height` with colour indices `pixels` into
// `palette` (0xRRGGBB) and `transparent` as the transparent index (-1: none).
std::vector<uint8_t> MakeGif(int width, int height, const std::vector<uint8_t>& pixels,
                             const std::vector<uint32_t>& palette, int transparent) {
  std::vector<uint8_t> out;
  int err = 0;
  GifFileType* gif = EGifOpen(&out, AppendBytes, &err);
  EXPECT_NE(gif, nullptr);
  std::vector<GifColorType> colors(4);
  for (size_t i = 0; i < palette.size() && i < colors.size(); ++i)
    colors[i] = GifColorType{static_cast<GifByteType>(palette[i] >> 16), static_cast<GifByteType>(palette[i] >> 8),
                             static_cast<GifByteType>(palette[i])};
  ColorMapObject* map = GifMakeMapObject(4, colors.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, width, height, 2, 0, map);
  GraphicsControlBlock gcb{};
  gcb.TransparentColor = transparent < 0 ? NO_TRANSPARENT_COLOR : transparent;
  GifByteType ext[4];
  EGifGCBToExtension(&gcb, ext);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
  EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
  std::vector<GifPixelType> row(width);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) row[x] = pixels[y * width + x];
    EGifPutLine(gif, row.data(), width);
  }
  EGifCloseFile(gif, &err);
  GifFreeMapObject(map);
  return out;
}

TEST(DecodePicture, GifWithTransparentColour) {
  // 3 x 2: red green blue / transparent red red.
  auto bytes = MakeGif(3, 2, {1, 2, 3, 0, 1, 1}, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, 0);
  PictureRef p = DecodePicture(bytes.data(), bytes.size(), 217);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->id, 217);
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  ASSERT_EQ(p->argb.size(), 6u);
  EXPECT_EQ(p->argb[0], 0xFFFF0000u);
  EXPECT_EQ(p->argb[1], 0xFF00FF00u);
  EXPECT_EQ(p->argb[2], 0xFF0000FFu);
  EXPECT_EQ(p->argb[3] >> 24, 0u) << "the transparent index has alpha 0";
  EXPECT_EQ(p->argb[5], 0xFFFF0000u);
}

TEST(DecodePicture, Png) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 32, SDL_PIXELFORMAT_ARGB8888);
  ASSERT_NE(s, nullptr);
  static_cast<uint32_t*>(s->pixels)[0] = 0xFF123456;
  static_cast<uint32_t*>(s->pixels)[1] = 0x80FFFFFF;
  std::vector<uint8_t> buf(4096);
  SDL_RWops* rw = SDL_RWFromMem(buf.data(), static_cast<int>(buf.size()));
  ASSERT_EQ(IMG_SavePNG_RW(s, rw, 0), 0);
  size_t size = static_cast<size_t>(SDL_RWtell(rw));
  SDL_RWclose(rw);
  SDL_FreeSurface(s);

  PictureRef p = DecodePicture(buf.data(), size, 5);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->argb, (std::vector<uint32_t>{0xFF123456u, 0x80FFFFFFu}));
}

TEST(DecodePicture, BytesThatAreNoPictureGiveNull) {
  const uint8_t junk[] = {'G', 'I', 'F', '8', '9', 'a', 0, 1, 2};
  EXPECT_EQ(DecodePicture(junk, sizeof junk, 1), nullptr);
  EXPECT_EQ(DecodePicture(junk, 0, 1), nullptr);
  EXPECT_EQ(DecodePicture(nullptr, 10, 1), nullptr);
  auto gif = MakeGif(2, 2, {1, 1, 1, 1}, {0, 0xFFFFFF}, -1);
  gif.resize(gif.size() / 2);  // cut in the middle of the image data
  EXPECT_EQ(DecodePicture(gif.data(), gif.size(), 1), nullptr);
}

Picture Solid(int w, int h, uint32_t argb) {
  Picture p;
  p.width = w, p.height = h;
  p.argb.assign(static_cast<size_t>(w) * h, argb);
  return p;
}

uint32_t At(const Picture& p, int x, int y) { return p.argb[static_cast<size_t>(y) * p.width + x]; }

TEST(PaintPicture, NearestScalesAPartIntoTheTargetRectangle) {
  // Source 4 x 1: A B C D; paint its middle two pixels doubled at (1, 1).
  Picture src = Solid(4, 1, 0);
  src.argb = {0xFF0000A0, 0xFF0000B0, 0xFF0000C0, 0xFF0000D0};
  Picture dest = Solid(6, 4, 0xFF000000);
  PaintPicture(dest, {1, 1, 4, 2}, src, {1, 0, 2, 1}, Sampling::kNearest);
  EXPECT_EQ(At(dest, 0, 1), 0xFF000000u);
  EXPECT_EQ(At(dest, 1, 1), 0xFF0000B0u);
  EXPECT_EQ(At(dest, 2, 2), 0xFF0000B0u);
  EXPECT_EQ(At(dest, 3, 1), 0xFF0000C0u);
  EXPECT_EQ(At(dest, 4, 2), 0xFF0000C0u);
  EXPECT_EQ(At(dest, 5, 1), 0xFF000000u);
  EXPECT_EQ(At(dest, 1, 3), 0xFF000000u);
}

TEST(PaintPicture, ClipsToBothPicturesAndSkipsEmptyRectangles) {
  Picture src = Solid(2, 2, 0xFFFFFFFF);
  Picture dest = Solid(3, 3, 0xFF000000);
  PaintPicture(dest, {2, 2, 2, 2}, src, {0, 0, 2, 2}, Sampling::kNearest);  // hangs off the corner
  EXPECT_EQ(At(dest, 2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(At(dest, 1, 1), 0xFF000000u);

  Picture d2 = Solid(3, 3, 0xFF000000);
  PaintPicture(d2, {0, 0, 3, 3}, src, {1, 0, 2, 2}, Sampling::kNearest);  // half outside the source
  EXPECT_EQ(At(d2, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(At(d2, 2, 0), 0xFF000000u) << "samples from beyond the source are skipped";

  Picture d3 = Solid(3, 3, 0xFF000000);
  PaintPicture(d3, {0, 0, 0, 3}, src, {0, 0, 2, 2}, Sampling::kNearest);
  PaintPicture(d3, {0, 0, 3, 3}, src, {0, 0, 2, -1}, Sampling::kBilinear);
  EXPECT_EQ(d3.argb, Solid(3, 3, 0xFF000000).argb);
}

TEST(PaintPicture, BlendsByAlphaAndBilinearMixesNeighbours) {
  Picture half_red = Solid(1, 1, 0x80FF0000);
  Picture dest = Solid(1, 1, 0xFF0000FF);
  PaintPicture(dest, {0, 0, 1, 1}, half_red, {0, 0, 1, 1}, Sampling::kNearest);
  EXPECT_EQ(dest.argb[0], 0xFF80007Fu);

  Picture clear = Solid(1, 1, 0x00FFFFFF);
  PaintPicture(dest, {0, 0, 1, 1}, clear, {0, 0, 1, 1}, Sampling::kNearest);
  EXPECT_EQ(dest.argb[0], 0xFF80007Fu) << "a transparent pixel changes nothing";

  // 2 x 1 black, white stretched to 4 x 1: the inner pixels mix.
  Picture ramp = Solid(2, 1, 0xFF000000);
  ramp.argb[1] = 0xFFFFFFFF;
  Picture wide = Solid(4, 1, 0xFF00FF00);
  PaintPicture(wide, {0, 0, 4, 1}, ramp, {0, 0, 2, 1}, Sampling::kBilinear);
  EXPECT_EQ(wide.argb[0], 0xFF000000u);
  EXPECT_EQ(wide.argb[1], 0xFF404040u);
  EXPECT_EQ(wide.argb[2], 0xFFBFBFBFu);
  EXPECT_EQ(wide.argb[3], 0xFFFFFFFFu);
}

TEST(PaintOnto, StoresANewCanvasAndLeavesTheOldOneAlone) {
  PictureRef canvas;
  auto white = std::make_shared<Picture>(Solid(1, 1, 0xFFFFFFFF));
  PaintOnto(canvas, 3, 2, {0, 0, 1, 1}, white, {0, 0, 1, 1}, Sampling::kNearest);
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->id, -1);
  EXPECT_EQ(canvas->width, 3);
  EXPECT_EQ(canvas->height, 2);
  EXPECT_EQ(canvas->argb, (std::vector<uint32_t>{0xFFFFFFFF, 0, 0, 0, 0, 0}));

  PictureRef first = canvas;
  PaintOnto(canvas, 3, 2, {2, 1, 1, 1}, white, {0, 0, 1, 1}, Sampling::kNearest);
  EXPECT_NE(canvas, first);
  EXPECT_EQ(first->argb[5], 0u) << "the old canvas is unchanged";
  EXPECT_EQ(canvas->argb, (std::vector<uint32_t>{0xFFFFFFFF, 0, 0, 0, 0, 0xFFFFFFFF}));

  PaintOnto(canvas, 3, 2, {0, 0, 1, 1}, nullptr, {0, 0, 1, 1}, Sampling::kNearest);
  EXPECT_EQ(canvas->argb[5], 0xFFFFFFFFu);
  PaintOnto(canvas, 3, 2, {1, 0, 1, 1}, canvas, {2, 1, 1, 1}, Sampling::kNearest);
  EXPECT_EQ(canvas->argb[1], 0xFFFFFFFFu) << "a canvas can be painted from itself";
}

}  // namespace
}  // namespace tess
