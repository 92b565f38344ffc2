#include "ui/window_frame.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/client.h"
#include "ui/picture_decode.h"
#include "ui/resources.h"
#include "ui/title_bar.h"

namespace tess {
namespace {

constexpr double Px(double twips) { return twips / kTwipsPerPixel; }

PaintRect PxRect(double x, double y, double width, double height) {
  return PaintRect{Px(x), Px(y), Px(width), Px(height)};
}

int Whole(double pixels) { return static_cast<int>(std::lround(pixels)); }

// The toolkit keeps picture boxes, windows of their own, in front of the
// labels and images lying on the same form; bringing to front or sending to
// back reorders only within each of the two layers. Elements here share one
// z-order, so after such a move the form's own labels and images are put
// back behind everything else, keeping their order.
void KeepLabelsAndImagesBehind(Form& f) {
  std::vector<Element*> light;
  for (const auto& e : f.Elements())
    if (!e->container && (e->kind == ElementKind::kLabel || e->kind == ElementKind::kImage)) light.push_back(e.get());
  for (auto it = light.rbegin(); it != light.rend(); ++it) f.SendToBack(**it);
}

// The reduced layout's table: Pic1 cleared, then Pic2's 800 x 600 picture
// copied onto it at its top left.
void CopySmallTable(Form& f) {
  Element& pic1 = f.At("Pic1");
  const PictureRef& small = f.At("Pic2").picture;
  pic1.picture = nullptr;
  if (!small) return;
  const PaintRect whole{0, 0, static_cast<double>(small->width), static_cast<double>(small->height)};
  PaintOnto(pic1.picture, Whole(pic1.width), Whole(pic1.height), whole, small, whole, Sampling::kNearest);
}

// The pictures the form's elements are designed with.
constexpr struct {
  const char* name;
  int index;
  int id;
} kFormPictures[] = {
    {"Pic1", -1, kFormTableLarge},   {"Pic2", -1, kFormTableSmall},  {"Skin", -1, kFormSkin},
    {"ImgClose", 1, kFormCloseNormal}, {"ImgClose", 2, kFormCloseHover}, {"ImgClose", 3, kFormClosePressed},
    {"ImgMin", 1, kFormMinNormal},   {"ImgMin", 2, kFormMinHover},   {"ImgMin", 3, kFormMinPressed},
    {"Bird", -1, kFormBanner},       {"imgLocation", -1, kFormLocation}, {"Time_Img", -1, kFormClock},
    {"OK", 0, kFormReady},           {"Korbi", -1, kFormWildBox},    {"Host", -1, kFormDealer},
    {"Lbchat", -1, kFormChatLabel},  {"imgword1", -1, kFormPhrases}, {"imgword2", -1, kFormVoicePhrases},
    {"Speak", 0, kFormChatBubble},   {"Speak", 1, kFormChatBubble},  {"Speak", 2, kFormChatBubble},
};

}  // namespace

PictureRef LoadFormPicture(int id) {
  const auto bytes = FindResource(kFormResourceType, id);
  return bytes.empty() ? nullptr : DecodePicture(bytes.data(), bytes.size(), id);
}

bool ShowFormPicture(Element& e, int id) {
  PictureRef p = LoadFormPicture(id);
  if (!p) return false;
  e.SetPicture(std::move(p));
  return true;
}

void SetUpMainWindow(Client& c) {
  Form& f = c.MainForm;
  for (const auto& [name, index, id] : kFormPictures) ShowFormPicture(f.At(name, index), id);
  if (PictureRef icon = LoadFormPicture(kFormIcon)) f.icon = std::move(icon);
  InstallTitleBar(c);
  c.desktop.on_form_moved = [&c](Form&) { KeepSecondaryWindowsInView(c); };
}

Form& CenteredOverMain(Client& c, Form& f) {
  f.left = c.MainForm.left + (c.MainForm.width - f.width) / 2;
  f.top = c.MainForm.top + (c.MainForm.height - f.height) / 2;
  KeepInView(c, f);
  return f;
}

void KeepInView(Client& c, Form& f) {
  const Form& main = c.MainForm;
  const double left = std::max(0.0, main.left), top = std::max(0.0, main.top);
  const double right = std::min<double>(c.desktop.screen_width, main.left + main.width);
  const double bottom = std::min<double>(c.desktop.screen_height, main.top + main.height);
  f.left = std::max(left, std::min(f.left, right - f.width));
  f.top = std::max(top, std::min(f.top, bottom - f.height));
}

void KeepSecondaryWindowsInView(Client& c) {
  for (const auto& f : c.desktop.Forms())
    if (f.get() != &c.MainForm && f->visible) KeepInView(c, *f);
}

void FitWindowToScreen(Client& c) {
  Form& f = c.MainForm;
  Element& pic1 = f.At("Pic1");
  const int sw = c.desktop.screen_width, sh = c.desktop.screen_height;
  if (sh <= 768) {
    f.height = sh;
    f.top = 0;
    pic1.height = f.height;
    pic1.top = 0;
  } else {
    f.height = Px(11940);
    f.top = 0;
    PaintFrame(c);
    pic1.height = f.height - Px(420);
    pic1.top = Px(300);
  }
  if (sw <= 1024) {
    f.width = sw;
    f.left = 0;
    pic1.width = f.width;
    pic1.left = 0;
  } else {
    f.width = Px(15600);
    f.left = 0;
    PaintFrame(c);
    pic1.width = f.width - Px(240);
    pic1.left = Px(120);
  }
  if (sh < 768 || sw < 1024) {
    c.game.ScaleX = c.game.ScaleY = kReducedScale;
    CopySmallTable(f);
    f.SendToBack(pic1);
    KeepLabelsAndImagesBehind(f);
    // Given as they stand: these two are not scaled.
    Element& host = f.At("Host");
    host.left = 6;
    host.top = 192;
    Element& dealer = f.At("Zhuang");
    dealer.left = 45;
    dealer.top = 192;
    for (int i = 0; i < 2; ++i) f.At("Sysmsg", i).font_size = 8;
  } else {
    c.game.ScaleX = c.game.ScaleY = 1.0f;
  }
}

void PaintFrame(Client& c) {
  Form& f = c.MainForm;
  // The window's inner size in twips.
  const double W = f.width * kTwipsPerPixel, H = f.height * kTwipsPerPixel;
  const PictureRef& skin = f.At("Skin").picture;
  // Destination and source in Skin (690 x 3300 twips); the edges stretch.
  const struct {
    PaintRect to, from;
  } pieces[] = {
      {PxRect(0, 0, 120, 300), PxRect(0, 0, 120, 300)},
      {PxRect(120, 0, W - 240, 300), PxRect(120, 0, 120, 300)},
      {PxRect(W - 120, 0, 120, 300), PxRect(570, 0, 120, 300)},
      {PxRect(0, 300, 120, H - 420), PxRect(0, 300, 120, 2880)},
      {PxRect(W - 120, 300, 120, H - 420), PxRect(570, 300, 120, 2880)},
      {PxRect(0, H - 120, 120, 120), PxRect(0, 3180, 120, 120)},
      {PxRect(120, H - 120, W - 240, 120), PxRect(120, 3180, 120, 120)},
      {PxRect(W - 120, H - 120, 120, 120), PxRect(570, 3180, 120, 120)},
  };
  for (const auto& p : pieces) PaintOnto(f.canvas, Whole(f.width), Whole(f.height), p.to, skin, p.from, Sampling::kNearest);

  if (f.icon) {
    Element& icon = f.At("ImgIcon");
    icon.SetPicture(f.icon);
    icon.stretch = true;
    icon.left = icon.top = Px(50);
    icon.width = icon.height = Px(240);
  }
  Element& close = f.At("ImgClose", 0);
  close.left = f.width - close.width - Px(70);
  close.top = Px(25);
  close.SetPicture(f.At("ImgClose", 1).picture);
  f.BringToFront(close);
  Element& minimise = f.At("ImgMin", 0);
  minimise.left = close.left - minimise.width - Px(30);
  minimise.top = Px(25);
  minimise.SetPicture(f.At("ImgMin", 1).picture);
  f.BringToFront(minimise);
  KeepLabelsAndImagesBehind(f);
  Element& strip = f.At("LbMove");
  strip.left = Px(290);
  strip.top = 0;
  strip.width = minimise.left - Px(290);
  strip.height = close.height + Px(50);
  Element& caption = f.At("lcaption");
  caption.left = Px(300);
  caption.top = Px(25);
  caption.fore_color = 0xFFFFFF;
}

}  // namespace tess
