// Drawing the display elements of a Desktop with an SDL_Renderer.
//
// ScenePainter draws the main form at the target's origin and every other
// shown, non-minimised form on top of it at its screen position relative to
// the main form, back to front, each form with its opacity. A form is drawn
// as: back colour, `picture` and `canvas` at its top left, then its shown
// elements in Elements() order, each clipped to itself and to its
// containers. Positions are rounded to whole pixels when drawn.
//
// Element drawing: a non-transparent back colour first; the picture at the
// element's top left (scaled to the element with `stretch`); the text of a
// label, text box or list box in the fore colour, with the CJK font at
// font_size points shown as font_size * 96 / 72 pixels, aligned within the
// element and, with word_wrap, broken to its width (ui/text_wrap.h). A list
// box shows one item a line, the selected one highlighted. A missing font
// leaves text undrawn; nothing here fails loudly.
//
// Pictures become textures cached by Picture (the cache keeps a reference,
// so an address is never reused while cached); a picture that no element or
// form refers to any more is dropped at the next Paint, as are text lines
// not drawn by it. A stretched picture is scaled once per size it is drawn
// at (linear filtering) and kept while it is drawn at that size; opaque
// pictures are copied, not blended. Textures belong to the SDL_Renderer
// given at construction: the painter must be destroyed before it.
//
// What a frame costs is mostly pixels, so nothing is drawn that cannot be
// seen: the elements, back colour and pictures of a form that lie behind an
// element covering the whole form opaquely (the table picture), and the
// black ground behind a main form that fills the target.
//
// The Desktop's tooltip, when it has text, is drawn last, over everything,
// on a pale ground beside the pointer and kept inside the target.
//
// DrawableStateHash digests everything Paint reads, so a caller can redraw
// only when the hash changes.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

#include "ui/elements.h"

namespace tess {

// The font every text is drawn with.
inline constexpr const char* kCjkFontPath = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

// A position or size held as a double, in the whole pixels it is drawn at.
int WholePixels(double v);

// Pixel height of a font of `points` on the 96-dpi screen a desktop toolkit
// assumes (at least 1).
int FontPixels(double points);

// A digest of the drawable state of `desktop` as seen from `main`.
uint64_t DrawableStateHash(const Desktop& desktop, const Form& main);

class ScenePainter {
 public:
  // `renderer` must outlive the painter. Requires TTF_Init.
  explicit ScenePainter(SDL_Renderer* renderer);
  ~ScenePainter();
  ScenePainter(const ScenePainter&) = delete;
  ScenePainter& operator=(const ScenePainter&) = delete;

  // Clears the renderer's target to black and draws `desktop` onto it with
  // `main` at (0, 0).
  void Paint(const Desktop& desktop, const Form& main);

 private:
  struct CachedTexture {
    std::shared_ptr<const void> keep;  // the Picture, held so its address stays unique
    SDL_Texture* texture = nullptr;
    int width = 0, height = 0;
    uint64_t frame = 0;   // last Paint that used or referred to it
    bool opaque = false;  // a picture with no transparent pixel
  };
  using TextKey = std::tuple<int, bool, uint32_t, std::string>;  // pixels, bold, colour, text
  using ScaledKey = std::tuple<const Picture*, int, int>;          // picture, width, height

  void PaintForm(const Form& form, int ox, int oy);
  void PaintTooltip(const Desktop& desktop, const Form& main);
  void PaintElement(const Element& e, int ox, int oy, const SDL_Rect& form_clip);
  // The part of `e` shown: its box within its containers and `form_clip`.
  static SDL_Rect ElementClip(const Element& e, int ox, int oy, const SDL_Rect& form_clip);
  // Whether `e` is shown and paints every pixel of `form_clip` opaquely.
  bool Hides(const Element& e, int ox, int oy, const SDL_Rect& form_clip);
  void PaintText(const Element& e, const SDL_Rect& box, const SDL_Rect& clip);
  void DrawPicture(const PictureRef& pic, const SDL_Rect& dest, bool stretch);
  const CachedTexture* PictureTexture(const PictureRef& pic);
  // `pic` (whose texture is `natural`) scaled to width x height.
  const CachedTexture* ScaledTexture(const PictureRef& pic, const CachedTexture& natural, int width, int height);
  // A texture of 0xAARRGGBB rows, `pitch` bytes apart.
  SDL_Texture* MakeTexture(const uint32_t* argb, int pitch, int width, int height, bool opaque);
  const CachedTexture* TextTexture(TTF_Font* font, int px, bool bold, uint32_t rgb, const std::string& text);
  TTF_Font* Font(int px, bool bold);
  void Evict();

  SDL_Renderer* renderer_;
  uint64_t frame_ = 0;
  std::unordered_map<const Picture*, CachedTexture> pictures_;
  std::map<ScaledKey, CachedTexture> scaled_;  // stretched pictures, at the sizes drawn
  std::map<TextKey, CachedTexture> texts_;
  std::map<std::pair<int, bool>, TTF_Font*> fonts_;  // nullptr: could not be opened
  std::unordered_map<const Form*, CachedTexture> form_layers_;  // translucent forms
};

}  // namespace tess
