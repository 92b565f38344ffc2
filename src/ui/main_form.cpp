#include "ui/main_form.h"

namespace tess {
namespace {

struct Design {
  ElementKind kind;
  const char* name;
  int index;  // -1 outside a control array
  double left, top, width, height;
  bool visible;
};

constexpr ElementKind kPic = ElementKind::kPictureBox;
constexpr ElementKind kImg = ElementKind::kImage;
constexpr ElementKind kLbl = ElementKind::kLabel;

// Table elements, back to front, all on Pic1. Positions are the reference
// layout's; start-up places them again for the screen.
constexpr Design kTable[] = {
    {kImg, "imgLocation", -1, 632, 654, 394, 39, true},
    {kImg, "Korbi", -1, 900, 90, 73, 130, false},
    {kImg, "KB_Image", -1, 920, 145, 36, 56, false},
    {kLbl, "Label3", -1, 914, 160, 100, 16, true},
    {kImg, "ZhiNan", -1, 474, 345, 77, 77, false},
    {kLbl, "Host", -1, 6, 192, 36, 16, false},
    {kLbl, "Zhuang", -1, 45, 192, 20, 16, false},
    {kImg, "Tou", 0, 10, 666, 85, 90, true},
    {kLbl, "Nid", 0, 181, 700, 130, 16, true},
    {kLbl, "Cash", 0, 181, 724, 130, 16, true},
    {kLbl, "Level", 0, 181, 744, 130, 16, true},
    {kImg, "OK", 0, 460, 610, 40, 30, false},
    {kImg, "BaiBao_img", 0, 0, 0, 36, 50, false},
    {kImg, "MJ_Image", 0, 0, 0, 36, 50, false},
    {kImg, "SZ_Image", 0, 0, 0, 50, 56, false},
    {kImg, "Sai_Image", 0, 400, 284, 50, 56, false},
    {kImg, "Sai_Image", 1, 560, 284, 50, 56, false},
    {kImg, "Operation", 0, 358, 461, 50, 71, false},
    {kImg, "Chi", 0, 0, 0, 40, 56, false},
    {kImg, "Gang", 0, 0, 0, 40, 62, false},
    {kImg, "imgKoupai", 0, 0, 0, 55, 31, false},
    {kImg, "imgKoupai", 1, 0, 0, 55, 31, false},
    {kImg, "Speak", 0, 0, 0, 131, 102, false},
    {kImg, "Speak", 1, 0, 0, 131, 102, false},
    {kImg, "Speak", 2, 0, 0, 131, 102, false},
    {kImg, "tsSpeak", 0, 0, 0, 131, 102, false},
    {kImg, "tsSpeak", 1, 0, 0, 131, 102, false},
    {kImg, "tsSpeak", 2, 0, 0, 131, 102, false},
    {kImg, "speakFeng", -1, 0, 0, 131, 102, false},
    {kImg, "Words", -1, 0, 0, 96, 48, false},
    {kImg, "Time_Img", -1, 900, 220, 81, 38, false},
    {kLbl, "Number", -1, 948, 225, 24, 24, false},
    {kLbl, "Sysmsg", 0, 312, 696, 281, 13, true},
    {kLbl, "Sysmsg", 1, 312, 709, 281, 13, true},
    {kImg, "Lbchat", -1, 594, 694, 25, 33, true},
    {ElementKind::kTextBox, "Chat", -1, 318, 729, 244, 18, true},
    {kImg, "imgword1", -1, 640, 659, 57, 13, true},
    {kImg, "imgword2", -1, 640, 675, 57, 13, true},
    {kLbl, "Location", -1, 760, 668, 200, 18, true},
    {kImg, "AnNiu", 0, 573, 730, 50, 30, true},
    {kImg, "Bird", -1, 936, 680, 82, 80, true},
    {ElementKind::kBrowser, "WebBrowser1", -1, 938, 682, 82, 80, false},
};

// On the form, over the frame.
constexpr Design kChrome[] = {
    {kPic, "Skin", -1, 0, 0, 46, 220, false},
    {kImg, "ImgIcon", -1, 3, 3, 16, 16, true},
    {kLbl, "lcaption", -1, 20, 2, 200, 16, true},
    {kLbl, "LbMove", -1, 19, 0, 900, 20, true},
    {kImg, "ImgClose", 0, 0, 2, 16, 16, true},
    {kImg, "ImgClose", 1, 0, 2, 16, 16, false},
    {kImg, "ImgClose", 2, 0, 2, 16, 16, false},
    {kImg, "ImgClose", 3, 0, 2, 16, 16, false},
    {kImg, "ImgMin", 0, 0, 2, 16, 16, true},
    {kImg, "ImgMin", 1, 0, 2, 16, 16, false},
    {kImg, "ImgMin", 2, 0, 2, 16, 16, false},
    {kImg, "ImgMin", 3, 0, 2, 16, 16, false},
};

Element& Make(Form& f, const Design& d) {
  Element& e = f.Add(d.kind, d.name, d.index);
  e.left = d.left;
  e.top = d.top;
  e.width = d.width;
  e.height = d.height;
  e.visible = d.visible;
  e.stretch = d.kind == kImg;
  return e;
}

}  // namespace

void DesignMainForm(Form& main) {
  main.caption = kMainCaption;
  main.width = 1024;
  main.height = 768;
  main.back_color = 0x1E5A32;

  // The frame's pieces lie behind the table pictures: where the table fills
  // the window, it covers them.
  for (const Design& d : kChrome) Make(main, d);
  Element& pic2 = main.Add(kPic, "Pic2");
  pic2.width = 800;
  pic2.height = 600;
  pic2.visible = false;
  Element& pic1 = main.Add(kPic, "Pic1");
  pic1.width = 1024;
  pic1.height = 768;
  pic1.back_transparent = false;
  pic1.back_color = 0x1E5A32;

  for (const Design& d : kTable) Make(main, d).container = &pic1;
  // The claim captions differ in size; each is shown at its own.
  Element& words = main.At("Words");
  words.stretch = false;
  words.auto_size = true;

  Element& caption = main.At("lcaption");
  caption.caption = kMainCaption;
  caption.fore_color = 0xFFFFFF;
  caption.font_bold = true;
  for (int i = 0; i < 2; ++i) {
    Element& line = main.At("Sysmsg", i);
    line.fore_color = 0xFFFF80;
    line.font_size = 9;
  }
  Element& chat = main.At("Chat");
  chat.back_transparent = false;
  chat.back_color = 0xFFFFFF;
  Element& number = main.At("Number");
  number.font_size = 14;
  number.font_bold = true;
  number.alignment = AlignText::kCenter;
  main.At("Location").fore_color = 0xFFFFFF;
  main.At("Label3").fore_color = 0xFFFFFF;
  for (const char* name : {"Nid", "Cash", "Level"}) main.At(name, 0).fore_color = 0xFFFFFF;
  main.At("Zhuang").fore_color = 0xFFFF00;
}

}  // namespace tess
