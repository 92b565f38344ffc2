#include "ui/scene_painter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>
#include <type_traits>

#include "ui/text_wrap.h"

namespace tess {
namespace {

constexpr uint32_t kHighlightBack = 0x000080;  // selected line of a list box
constexpr uint32_t kHighlightFore = 0xFFFFFF;
constexpr int kTextInset = 2;                 // text boxes and list boxes

void SetColor(SDL_Renderer* r, uint32_t rgb) {
  SDL_SetRenderDrawColor(r, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, 255);
}

SDL_Rect Intersect(const SDL_Rect& a, const SDL_Rect& b) {
  SDL_Rect out{0, 0, 0, 0};
  if (!SDL_IntersectRect(&a, &b, &out)) return SDL_Rect{0, 0, 0, 0};
  return out;
}

SDL_Rect ElementBox(const Element& e, int ox, int oy) {
  return SDL_Rect{ox + WholePixels(e.FormLeft()), oy + WholePixels(e.FormTop()), WholePixels(e.width),
                  WholePixels(e.height)};
}

// A digest of the fields fed to it, one word per field. Every step is a
// bijection of the running value, so a change of any one scalar field always
// changes the digest; a text enters by its length and its std::hash.
struct Digest {
  uint64_t h = 0x9E3779B97F4A7C15ull;
  void Word(uint64_t w) { h = (std::rotl(h, 5) ^ w) * 0x517CC1B727220A95ull; }
  template <class T>
    requires(std::is_scalar_v<T> && sizeof(T) <= sizeof(uint64_t))
  void Add(T v) {
    uint64_t w = 0;
    std::memcpy(&w, &v, sizeof v);
    Word(w);
  }
  void Add(const std::string& s) {
    Word(s.size());
    Word(std::hash<std::string_view>{}(s));
  }
};

}  // namespace

int WholePixels(double v) { return static_cast<int>(std::lround(v)); }

int FontPixels(double points) { return std::max(1, WholePixels(points * 96 / 72)); }

uint64_t DrawableStateHash(const Desktop& desktop, const Form& main) {
  Digest d;
  d.Add(&main);
  for (const Form* f : desktop.FormsBackToFront()) {
    d.Add(f);
    d.Add(f->visible);
    d.Add(f->window_state);
    for (double v : {f->left, f->top, f->width, f->height, f->opacity}) d.Add(v);
    d.Add(f->back_color);
    d.Add(f->picture.get());
    d.Add(f->canvas.get());
    d.Add(f->Elements().size());
    for (const auto& p : f->Elements()) {
      const Element& e = *p;
      d.Add(&e);
      d.Add(e.container);
      d.Add(e.kind);
      for (double v : {e.left, e.top, e.width, e.height, e.font_size}) d.Add(v);
      d.Add(e.visible);
      d.Add(e.picture.get());
      d.Add(e.stretch);
      d.Add(e.caption);
      d.Add(e.items.size());
      for (const std::string& s : e.items) d.Add(s);
      d.Add(e.list_index);
      d.Add(e.fore_color);
      d.Add(e.back_color);
      d.Add(e.back_transparent);
      d.Add(e.font_bold);
      d.Add(e.alignment);
      d.Add(e.word_wrap);
    }
  }
  d.Add(desktop.tooltip.text);
  d.Add(desktop.tooltip.x);
  d.Add(desktop.tooltip.y);
  return d.h;
}

ScenePainter::ScenePainter(SDL_Renderer* renderer) : renderer_(renderer) {}

ScenePainter::~ScenePainter() {
  for (auto& [k, c] : pictures_) SDL_DestroyTexture(c.texture);
  for (auto& [k, c] : scaled_) SDL_DestroyTexture(c.texture);
  for (auto& [k, c] : texts_) SDL_DestroyTexture(c.texture);
  for (auto& [k, c] : form_layers_) SDL_DestroyTexture(c.texture);
  for (auto& [k, font] : fonts_)
    if (font) TTF_CloseFont(font);
}

void ScenePainter::Paint(const Desktop& desktop, const Form& main) {
  ++frame_;
  // Keep the textures of every picture still referred to, shown or not.
  auto touch = [&](const PictureRef& p) {
    if (auto it = pictures_.find(p.get()); p && it != pictures_.end()) it->second.frame = frame_;
  };
  for (const auto& f : desktop.Forms()) {
    touch(f->picture);
    touch(f->canvas);
    for (const auto& e : f->Elements()) touch(e->picture);
  }

  SDL_SetRenderTarget(renderer_, nullptr);
  SDL_RenderSetClipRect(renderer_, nullptr);
  int tw = 0, th = 0;
  SDL_GetRendererOutputSize(renderer_, &tw, &th);
  // The main form, when drawn, covers the target from its origin.
  const bool main_covers = main.visible && main.window_state != WindowState::kMinimized &&
                           WholePixels(main.width) >= tw && WholePixels(main.height) >= th;
  if (!main_covers) {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
  }

  std::vector<const Form*> order{&main};
  for (const Form* f : desktop.FormsBackToFront())
    if (f != &main) order.push_back(f);
  for (const Form* f : order) {
    if (!f->visible || f->window_state == WindowState::kMinimized) continue;
    int ox = WholePixels(f->left) - WholePixels(main.left), oy = WholePixels(f->top) - WholePixels(main.top);
    int w = WholePixels(f->width), h = WholePixels(f->height);
    if (f->opacity >= 1 || w <= 0 || h <= 0 || !SDL_RenderTargetSupported(renderer_)) {
      PaintForm(*f, ox, oy);
      continue;
    }
    // A translucent form is drawn into a layer of its own, which is then
    // blended as a whole.
    CachedTexture& layer = form_layers_[f];
    if (layer.texture && (layer.width != w || layer.height != h)) {
      SDL_DestroyTexture(layer.texture);
      layer.texture = nullptr;
    }
    if (!layer.texture) {
      layer.texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w, h);
      layer.width = w;
      layer.height = h;
    }
    layer.frame = frame_;
    if (!layer.texture || SDL_SetRenderTarget(renderer_, layer.texture) != 0) {
      PaintForm(*f, ox, oy);
      continue;
    }
    SDL_RenderSetClipRect(renderer_, nullptr);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 0);
    SDL_RenderClear(renderer_);
    PaintForm(*f, 0, 0);
    SDL_SetRenderTarget(renderer_, nullptr);
    SDL_RenderSetClipRect(renderer_, nullptr);
    SDL_SetTextureBlendMode(layer.texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureAlphaMod(layer.texture, static_cast<Uint8>(std::clamp(WholePixels(f->opacity * 255), 0, 255)));
    SDL_Rect dest{ox, oy, w, h};
    SDL_RenderCopy(renderer_, layer.texture, nullptr, &dest);
  }
  PaintTooltip(desktop, main);
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_RenderPresent(renderer_);
  Evict();
}

void ScenePainter::PaintTooltip(const Desktop& desktop, const Form& main) {
  if (desktop.tooltip.text.empty()) return;
  // Drawn as a label of its own, on a pale ground, sized to its text.
  Element tip;
  tip.kind = ElementKind::kLabel;
  tip.caption = desktop.tooltip.text;
  tip.back_transparent = false;
  tip.back_color = 0xFFFFE1;
  tip.fore_color = 0x000000;
  const int px = FontPixels(tip.font_size);
  int w = 0, h = px;
  if (TTF_Font* font = Font(px, false)) TTF_SizeUTF8(font, tip.caption.c_str(), &w, &h);
  tip.width = w + 8;
  tip.height = h + 4;
  tip.left = desktop.tooltip.x - main.left + 4;
  tip.top = desktop.tooltip.y - main.top + 2;
  int tw = 0, th = 0;
  SDL_GetRendererOutputSize(renderer_, &tw, &th);
  // Kept inside the window.
  tip.left = std::max(0.0, std::min(tip.left - 4, tw - tip.width));
  tip.top = std::max(0.0, std::min(tip.top - 2, th - tip.height));
  PaintElement(tip, 0, 0, SDL_Rect{0, 0, tw, th});
}

void ScenePainter::PaintForm(const Form& form, int ox, int oy) {
  int tw = 0, th = 0;
  SDL_GetRendererOutputSize(renderer_, &tw, &th);
  SDL_Rect form_rect{ox, oy, WholePixels(form.width), WholePixels(form.height)};
  SDL_Rect clip = Intersect(form_rect, SDL_Rect{0, 0, tw, th});
  if (clip.w <= 0 || clip.h <= 0) return;
  // What lies behind the frontmost element that hides the whole form (the
  // table picture) is never seen, and not drawn.
  const auto& elements = form.Elements();
  size_t first = elements.size();
  while (first > 0 && !Hides(*elements[first - 1], ox, oy, clip)) --first;
  if (first > 0) {
    --first;
  } else {
    SDL_RenderSetClipRect(renderer_, &clip);
    SetColor(renderer_, form.back_color);
    SDL_RenderFillRect(renderer_, &clip);
    for (const PictureRef* p : {&form.picture, &form.canvas})
      if (*p) DrawPicture(*p, SDL_Rect{ox, oy, (*p)->width, (*p)->height}, false);
  }
  for (size_t i = first; i < elements.size(); ++i)
    if (elements[i]->ShownOnForm()) PaintElement(*elements[i], ox, oy, clip);
}

SDL_Rect ScenePainter::ElementClip(const Element& e, int ox, int oy, const SDL_Rect& form_clip) {
  SDL_Rect clip = Intersect(ElementBox(e, ox, oy), form_clip);
  for (const Element* c = e.container; c && clip.w > 0; c = c->container)
    clip = Intersect(clip, ElementBox(*c, ox, oy));
  return clip;
}

bool ScenePainter::Hides(const Element& e, int ox, int oy, const SDL_Rect& form_clip) {
  const SDL_Rect box = ElementBox(e, ox, oy);
  if (box.w < form_clip.w || box.h < form_clip.h || !e.ShownOnForm()) return false;
  const SDL_Rect clip = ElementClip(e, ox, oy, form_clip);
  if (!SDL_RectEquals(&clip, &form_clip)) return false;
  if (!e.back_transparent || e.kind == ElementKind::kBrowser) return true;
  const CachedTexture* t = e.picture ? PictureTexture(e.picture) : nullptr;
  return t && t->opaque && (e.stretch || (t->width >= box.w && t->height >= box.h));
}

void ScenePainter::PaintElement(const Element& e, int ox, int oy, const SDL_Rect& form_clip) {
  SDL_Rect box = ElementBox(e, ox, oy);
  SDL_Rect clip = ElementClip(e, ox, oy, form_clip);
  if (clip.w <= 0 || clip.h <= 0) return;
  SDL_RenderSetClipRect(renderer_, &clip);
  if (!e.back_transparent || e.kind == ElementKind::kBrowser) {
    SetColor(renderer_, e.back_color);
    SDL_RenderFillRect(renderer_, &box);
  }
  if (e.picture) {
    SDL_Rect natural{box.x, box.y, e.picture->width, e.picture->height};
    DrawPicture(e.picture, e.stretch ? box : natural, e.stretch);
  }
  if (e.kind == ElementKind::kLabel || e.kind == ElementKind::kTextBox || e.kind == ElementKind::kListBox ||
      e.kind == ElementKind::kBrowser)
    PaintText(e, box, clip);
}

void ScenePainter::PaintText(const Element& e, const SDL_Rect& box, const SDL_Rect& clip) {
  const int px = FontPixels(e.font_size);
  TTF_Font* font = Font(px, e.font_bold);
  if (!font) return;
  const int inset = e.kind == ElementKind::kLabel ? 0 : kTextInset;
  const int width = box.w - 2 * inset;
  std::vector<std::string> lines;
  if (e.kind == ElementKind::kListBox) {
    lines = e.items;
  } else {
    auto width_of = [font](std::string_view s) {
      int w = 0, h = 0;
      TTF_SizeUTF8(font, std::string(s).c_str(), &w, &h);
      return w;
    };
    lines = BreakLines(e.caption, e.word_wrap ? width : 0, width_of);
  }
  const int skip = TTF_FontLineSkip(font);
  int y = box.y + inset;
  for (size_t i = 0; i < lines.size() && y < clip.y + clip.h; ++i, y += skip) {
    uint32_t fore = e.fore_color;
    if (e.kind == ElementKind::kListBox && static_cast<int>(i) == e.list_index) {
      SetColor(renderer_, kHighlightBack);
      SDL_Rect bar{box.x, y, box.w, skip};
      SDL_RenderFillRect(renderer_, &bar);
      fore = kHighlightFore;
    }
    const CachedTexture* t = TextTexture(font, px, e.font_bold, fore, lines[i]);
    if (!t) continue;
    int x = box.x + inset;
    if (e.alignment == AlignText::kCenter) x += (width - t->width) / 2;
    if (e.alignment == AlignText::kRight) x += width - t->width;
    SDL_Rect dest{x, y, t->width, t->height};
    SDL_RenderCopy(renderer_, t->texture, nullptr, &dest);
  }
}

void ScenePainter::DrawPicture(const PictureRef& pic, const SDL_Rect& dest, bool stretch) {
  const CachedTexture* t = PictureTexture(pic);
  if (t && stretch && (dest.w != t->width || dest.h != t->height)) t = ScaledTexture(pic, *t, dest.w, dest.h);
  if (t) SDL_RenderCopy(renderer_, t->texture, nullptr, &dest);
}

const ScenePainter::CachedTexture* ScenePainter::PictureTexture(const PictureRef& pic) {
  if (!pic || pic->width <= 0 || pic->height <= 0 ||
      pic->argb.size() < static_cast<size_t>(pic->width) * pic->height)
    return nullptr;
  auto it = pictures_.find(pic.get());
  if (it == pictures_.end()) {
    const bool opaque = std::all_of(pic->argb.begin(), pic->argb.end(), [](uint32_t px) { return px >> 24 == 0xFF; });
    SDL_Texture* tex = MakeTexture(pic->argb.data(), pic->width * 4, pic->width, pic->height, opaque);
    if (!tex) return nullptr;
    it = pictures_.emplace(pic.get(), CachedTexture{pic, tex, pic->width, pic->height, 0, opaque}).first;
  }
  it->second.frame = frame_;
  return &it->second;
}

const ScenePainter::CachedTexture* ScenePainter::ScaledTexture(const PictureRef& pic, const CachedTexture& natural,
                                                               int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  ScaledKey key{pic.get(), width, height};
  auto it = scaled_.find(key);
  if (it == scaled_.end()) {
    // Scaled once, smoothly, then copied like any picture of that size.
    SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pic->argb.data()), pic->width,
                                                           pic->height, 32, pic->width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* to = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Texture* tex = nullptr;
    if (from && to && SDL_SoftStretchLinear(from, nullptr, to, nullptr) == 0)
      tex = MakeTexture(static_cast<const uint32_t*>(to->pixels), to->pitch, width, height, natural.opaque);
    SDL_FreeSurface(from);
    SDL_FreeSurface(to);
    if (!tex) return nullptr;
    it = scaled_.emplace(key, CachedTexture{pic, tex, width, height, 0, natural.opaque}).first;
  }
  it->second.frame = frame_;
  return &it->second;
}

SDL_Texture* ScenePainter::MakeTexture(const uint32_t* argb, int pitch, int width, int height, bool opaque) {
  // An opaque picture is copied, not blended, and in the frame's own format
  // (the alpha byte unread): the table's background alone is most of the
  // window. Others are blended.
  SDL_Texture* tex = SDL_CreateTexture(renderer_, opaque ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_STATIC, width, height);
  if (!tex) return nullptr;
  SDL_UpdateTexture(tex, nullptr, argb, pitch);
  SDL_SetTextureBlendMode(tex, opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
  return tex;
}

const ScenePainter::CachedTexture* ScenePainter::TextTexture(TTF_Font* font, int px, bool bold, uint32_t rgb,
                                                             const std::string& text) {
  if (text.empty()) return nullptr;
  TextKey key{px, bold, rgb, text};
  auto it = texts_.find(key);
  if (it == texts_.end()) {
    SDL_Color color{static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8), static_cast<Uint8>(rgb), 255};
    SDL_Surface* s = TTF_RenderUTF8_Blended(font, text.c_str(), color);
    if (!s) return nullptr;
    SDL_Texture* tex = SDL_CreateTextureFromSurface(renderer_, s);
    int w = s->w, h = s->h;
    SDL_FreeSurface(s);
    if (!tex) return nullptr;
    SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_BLEND);
    it = texts_.emplace(std::move(key), CachedTexture{nullptr, tex, w, h, 0}).first;
  }
  it->second.frame = frame_;
  return &it->second;
}

TTF_Font* ScenePainter::Font(int px, bool bold) {
  auto key = std::make_pair(px, bold);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  TTF_Font* font = TTF_OpenFontIndex(kCjkFontPath, px, 0);
  if (font && bold) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
  fonts_.emplace(key, font);
  return font;
}

void ScenePainter::Evict() {
  auto drop = [this](auto& cache) {
    std::erase_if(cache, [this](auto& entry) {
      if (entry.second.frame == frame_) return false;
      SDL_DestroyTexture(entry.second.texture);
      return true;
    });
  };
  drop(pictures_);
  drop(scaled_);
  drop(texts_);
  drop(form_layers_);
}

}  // namespace tess
