#include "catalogue.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "avatars.h"
#include "bubbles.h"
#include "buttons.h"
#include "dice.h"
#include "emblems.h"
#include "frame.h"
#include "form_extras.h"
#include "style.h"
#include "tiles.h"
#include "ui/resources.h"

namespace picgen {
namespace {

// Where the pictures are mostly shown, for the colour of their soft edges.
const Rgba kOnBar = style::kPanel;
const Rgba kOnCloth = style::kFelt;
const Rgba kOnWindow = Hex(0xE9E2D0);
const Rgba kOnBubble = style::kWhite;
const Rgba kOnTitleBar = Hex(0x6A1E10);
const Rgba kOnRecess = Hex(0x1E0F06);  // the dark recesses of the bar

// The nine button pairs of the bar, in identifier order.
const char* const kBarCaptions[9] = {"聊天", "开始", "继续", "设置", "隐藏", "战绩", "记录", "规则", "退出"};

void Add(std::vector<PictureSpec>& out, int id, int w, int h, std::string label, Rgba matte,
         bool transparency, std::function<Canvas()> draw) {
  out.push_back({"GIF", id, w, h, std::move(label), matte, transparency, std::move(draw)});
}

void AddButtonBar(std::vector<PictureSpec>& out) {
  Add(out, 101, 48, 30, "send 发送", kOnBar, true, [] { return DrawBarButton(48, 30, "发送", BarLook::kNormal); });
  Add(out, 102, 48, 30, "send 发送 grey", kOnBar, true, [] { return DrawBarButton(48, 30, "发送", BarLook::kGreyed); });
  for (int k = 0; k < 9; ++k) {
    const std::string caption = kBarCaptions[k];
    for (int lit = 0; lit < 2; ++lit) {
      const BarLook look = lit ? BarLook::kHighlighted : BarLook::kNormal;
      const std::string suffix = lit ? " lit" : "";
      Add(out, 103 + 2 * k + lit, 55, 31, "bar " + caption + suffix, kOnBar, true,
          [caption, look] { return DrawBarButton(55, 31, caption, look); });
      Add(out, 381 + 2 * k + lit, 43, 24, "small " + caption + suffix, kOnBar, true,
          [caption, look] { return DrawBarButton(43, 24, caption, look); });
    }
  }
  // Withhold and give-up.
  const char* const extra[2] = {"扣牌", "放弃"};
  for (int k = 0; k < 2; ++k) {
    const std::string caption = extra[k];
    for (int lit = 0; lit < 2; ++lit) {
      const BarLook look = lit ? BarLook::kHighlighted : BarLook::kNormal;
      Add(out, 411 + 2 * k + lit, 55, 31, "extra " + caption + (lit ? " lit" : ""), kOnBar, true,
          [caption, look] { return DrawBarButton(55, 31, caption, look); });
    }
  }
}

void AddOrnaments(std::vector<PictureSpec>& out) {
  Add(out, 123, 82, 80, "emblem 徽标", kOnCloth, true, [] { return DrawEmblem(); });
  Add(out, 124, 82, 80, "emblem 降级", kOnCloth, true, [] { return DrawLevelBadge(false); });
  Add(out, 125, 82, 80, "emblem 升级", kOnCloth, true, [] { return DrawLevelBadge(true); });
  for (int seat = 0; seat < 4; ++seat) {
    Add(out, 126 + seat, 77, 77, "compass seat" + std::to_string(seat), kOnCloth, true,
        [seat] { return DrawCompass(seat); });
  }
}

void AddDialogButtons(std::vector<PictureSpec>& out) {
  struct Dialog {
    int id, w, h;
    const char* caption;
    DialogTone tone;
    bool lit;
  };
  const Dialog dialogs[8] = {
      {130, 70, 29, "确定", DialogTone::kBlue, false}, {131, 70, 29, "确定", DialogTone::kBlue, true},
      {132, 70, 29, "取消", DialogTone::kRed, false},  {133, 70, 29, "取消", DialogTone::kRed, true},
      {134, 64, 26, "关闭", DialogTone::kRed, false},  {135, 64, 26, "开启", DialogTone::kGreen, false},
      {136, 64, 26, "普通话", DialogTone::kBlue, false}, {137, 64, 26, "方言", DialogTone::kBlue, false},
  };
  for (const Dialog& d : dialogs) {
    Add(out, d.id, d.w, d.h, std::string("dialog ") + d.caption + (d.lit ? " lit" : ""), kOnWindow, true,
        [d] { return DrawDialogButton(d.w, d.h, d.caption, d.tone, d.lit); });
  }
}

void AddTallButtons(std::vector<PictureSpec>& out) {
  const char* const actions[5] = {"吃", "碰", "杠", "胡", "过"};
  const TallLook looks[3] = {TallLook::kPlain, TallLook::kLit, TallLook::kRed};
  const char* const look_names[3] = {"plain", "lit", "red"};
  for (int a = 0; a < 5; ++a) {
    for (int l = 0; l < 3; ++l) {
      const std::string glyph = actions[a];
      const TallLook look = looks[l];
      Add(out, 141 + 3 * a + l, 50, 71, "action " + glyph + " " + look_names[l], kOnCloth, true,
          [glyph, look] { return DrawTallButton(glyph, look); });
    }
  }
  const char* const declare[2] = {"报", "摆"};
  for (int k = 0; k < 2; ++k) {
    const std::string glyph = declare[k];
    Add(out, 421 + 2 * k, 50, 71, "declare " + glyph + " gold", kOnCloth, true,
        [glyph] { return DrawTallButton(glyph, TallLook::kGold); });
    Add(out, 422 + 2 * k, 50, 71, "declare " + glyph + " silver", kOnCloth, true,
        [glyph] { return DrawTallButton(glyph, TallLook::kSilver); });
  }
}

void AddDice(std::vector<PictureSpec>& out) {
  for (int v = 1; v <= 6; ++v) {
    Add(out, 160 + v, 50, 56, "dice " + std::to_string(v), kOnCloth, true, [v] { return DrawDieFace(v); });
  }
  for (int f = 0; f < kRollingFrames; ++f) {
    Add(out, 167 + f, 50, 50, "rolling " + std::to_string(f), kOnCloth, true, [f] { return DrawRollingDie(f); });
  }
}

void AddClaimCaptions(std::vector<PictureSpec>& out) {
  // Chow, pung, kong, concealed kong, red-dragon kong, wild-tile kong, open
  // kong, win. The caption is sized to its length.
  const char* const captions[8] = {"吃", "碰", "杠", "暗杠", "红中杠", "宝杠", "明杠", "胡"};
  const int widths[4] = {0, 56, 84, 96};
  const int heights[4] = {0, 48, 46, 42};
  for (int k = 0; k < 8; ++k) {
    const std::string text = captions[k];
    const int chars = static_cast<int>(text.size() / 3);  // three UTF-8 bytes a character
    const int w = widths[chars], h = heights[chars];
    Add(out, 183 + k, w, h, "claim " + text, kOnBubble, true, [text, w, h] { return DrawClaimCaption(text, w, h); });
  }
}

void AddAvatars(std::vector<PictureSpec>& out) {
  for (int n = 0; n < kAvatarCount; ++n) {
    const int id = n < 10 ? 191 + n : 391 + n;
    const std::string code = (n < 10 ? "m" : "w") + std::to_string(n % 10 + 1);
    Add(out, id, 85, 90, "avatar " + code, kOnCloth, true, [n] { return DrawAvatar(n); });
  }
}

std::string TileName(int index) {
  static const char* const kHonours[9] = {"东", "南", "西", "北", "中", "发", "白", "立背", "卧背"};
  static const char* const kSuits[3] = {"条", "万", "筒"};
  if (index < 9) return kHonours[index];
  return std::to_string((index - 9) % 9 + 1) + kSuits[(index - 9) / 9];
}

void AddTiles(std::vector<PictureSpec>& out) {
  for (int group = 0; group < kTileGroups; ++group) {
    const PictureSize size = TilePictureSize(group);
    for (int index = 0; index < kPicturesPerGroup; ++index) {
      Add(out, 201 + kPicturesPerGroup * group + index, size.width, size.height,
          "tiles" + std::to_string(group) + " " + TileName(index), kOnCloth, true,
          [group, index] { return DrawTilePicture(group, index); });
    }
  }
}

void AddBubbles(std::vector<PictureSpec>& out) {
  // Withhold, follow the dealer, report, lay out; one bubble for each of
  // ViewSeats 1, 2, 3.
  const struct {
    int first;
    const char* text;
  } kinds[4] = {{415, "扣牌！"}, {418, "跟庄！"}, {425, "报！"}, {428, "摆！"}};
  for (const auto& kind : kinds) {
    for (int seat = 1; seat <= 3; ++seat) {
      const std::string text = kind.text;
      Add(out, kind.first + seat - 1, 131, 102, "bubble " + text + " seat" + std::to_string(seat), kOnCloth, true,
          [text, seat] { return DrawSpeechBubble(text, seat); });
    }
  }
}

void AddForm(std::vector<PictureSpec>& out) {
  auto form = [&out](int id, int w, int h, std::string label, Rgba matte, bool transparency,
                     std::function<Canvas()> draw) {
    out.push_back({"FORM", id, w, h, "form " + std::move(label), matte, transparency, std::move(draw)});
  };
  form(tess::kFormTableLarge, 1024, 768, "table 1024x768", kOnCloth, false, [] { return DrawTableBackground(1.0f); });
  form(tess::kFormTableSmall, 800, 600, "table 800x600", kOnCloth, false, [] { return DrawTableBackground(0.78125f); });
  form(tess::kFormSkin, 46, 220, "skin", kOnTitleBar, false, [] { return DrawSkin(); });
  const ChromeLook looks[3] = {ChromeLook::kNormal, ChromeLook::kHover, ChromeLook::kPressed};
  const char* const names[3] = {"normal", "hover", "pressed"};
  for (int k = 0; k < 3; ++k) {
    const ChromeLook look = looks[k];
    form(tess::kFormCloseNormal + k, 16, 16, std::string("close ") + names[k], kOnTitleBar, true,
         [look] { return DrawCloseButton(look); });
  }
  for (int k = 0; k < 3; ++k) {
    const ChromeLook look = looks[k];
    form(tess::kFormMinNormal + k, 16, 16, std::string("minimise ") + names[k], kOnTitleBar, true,
         [look] { return DrawMinimiseButton(look); });
  }
  form(tess::kFormIcon, 32, 32, "icon", kOnTitleBar, true, [] { return DrawIcon(); });
  form(tess::kFormBanner, 82, 80, "banner", kOnRecess, true, [] { return DrawBannerFrame(); });
  form(tess::kFormLocation, 394, 39, "location", kOnBar, false, [] { return DrawLocationStrip(); });
  form(tess::kFormClock, 81, 38, "clock", kOnCloth, true, [] { return DrawClockPlate(); });
  form(tess::kFormReady, 40, 30, "ready", kOnCloth, true, [] { return DrawReadyMark(); });
  form(tess::kFormWildBox, 73, 130, "wild-tile box", kOnCloth, true, [] { return DrawWildTileBox(); });
  form(tess::kFormDealer, 36, 16, "dealer", kOnCloth, true, [] { return DrawDealerMark(); });
  form(tess::kFormChatLabel, 25, 33, "chat label", kOnBar, true, [] { return DrawChatLabel(); });
  form(tess::kFormPhrases, 57, 13, "phrases 常用语", kOnBar, true, [] { return DrawPhraseButton("常用语"); });
  form(tess::kFormVoicePhrases, 57, 13, "phrases 语音", kOnBar, true, [] { return DrawPhraseButton("语音"); });
  form(tess::kFormNoticeOk, 70, 30, "notice 确定", kOnWindow, true, [] { return DrawNoticeButton("确定", true); });
  form(tess::kFormNoticeCancel, 70, 30, "notice 取消", kOnWindow, true, [] { return DrawNoticeButton("取消", false); });
  form(tess::kFormChatBubble, 131, 102, "chat bubble", kOnCloth, true, [] { return DrawChatBubble(); });
}

}  // namespace

std::vector<PictureSpec> Catalogue() {
  std::vector<PictureSpec> out;
  AddButtonBar(out);
  AddOrnaments(out);
  AddDialogButtons(out);
  AddTallButtons(out);
  AddDice(out);
  AddClaimCaptions(out);
  AddAvatars(out);
  AddTiles(out);
  AddBubbles(out);
  AddForm(out);
  std::sort(out.begin(), out.end(), [](const PictureSpec& a, const PictureSpec& b) {
    return std::tie(a.id, a.type) < std::tie(b.id, b.type);
  });
  return out;
}

}  // namespace picgen
