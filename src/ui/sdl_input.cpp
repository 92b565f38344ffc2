#include "ui/sdl_input.h"

#include <SDL_mouse.h>

#include "ui/elements.h"

namespace tess {
namespace {

struct KeyPair {
  SDL_Keycode sdl;
  int code;
};

constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, kKeyBack},   {SDLK_TAB, kKeyTab},          {SDLK_RETURN, kKeyReturn},
    {SDLK_KP_ENTER, kKeyReturn},  {SDLK_ESCAPE, kKeyEscape},    {SDLK_SPACE, kKeySpace},
    {SDLK_LSHIFT, kKeyShift},     {SDLK_RSHIFT, kKeyShift},     {SDLK_LCTRL, kKeyControl},
    {SDLK_RCTRL, kKeyControl},    {SDLK_LALT, kKeyAlt},         {SDLK_RALT, kKeyAlt},
    {SDLK_PAGEUP, kKeyPageUp},    {SDLK_PAGEDOWN, kKeyPageDown}, {SDLK_END, kKeyEnd},
    {SDLK_HOME, kKeyHome},        {SDLK_LEFT, kKeyLeft},        {SDLK_UP, kKeyUp},
    {SDLK_RIGHT, kKeyRight},      {SDLK_DOWN, kKeyDown},        {SDLK_INSERT, kKeyInsert},
    {SDLK_DELETE, kKeyDelete},    {SDLK_KP_0, kKeyNumpad0},     {SDLK_KP_1, kKeyNumpad0 + 1},
    {SDLK_KP_2, kKeyNumpad0 + 2}, {SDLK_KP_3, kKeyNumpad0 + 3}, {SDLK_KP_4, kKeyNumpad0 + 4},
    {SDLK_KP_5, kKeyNumpad0 + 5}, {SDLK_KP_6, kKeyNumpad0 + 6}, {SDLK_KP_7, kKeyNumpad0 + 7},
    {SDLK_KP_8, kKeyNumpad0 + 8}, {SDLK_KP_9, kKeyNumpad0 + 9},
};

}  // namespace

int KeyCodeFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return kKeyA + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return kKey0 + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return kKeyF1 + (key - SDLK_F1);
  for (const KeyPair& k : kNamedKeys)
    if (k.sdl == key) return k.code;
  return 0;
}

int ShiftFromSdl(Uint16 mod) {
  int shift = 0;
  if (mod & KMOD_SHIFT) shift |= kShiftKey;
  if (mod & KMOD_CTRL) shift |= kCtrlKey;
  if (mod & KMOD_ALT) shift |= kAltKey;
  return shift;
}

int ButtonFromSdl(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return kButtonLeft;
    case SDL_BUTTON_RIGHT: return kButtonRight;
    case SDL_BUTTON_MIDDLE: return kButtonMiddle;
    default: return 0;
  }
}

int ButtonsFromSdlState(Uint32 state) {
  int buttons = 0;
  if (state & SDL_BUTTON_LMASK) buttons |= kButtonLeft;
  if (state & SDL_BUTTON_RMASK) buttons |= kButtonRight;
  if (state & SDL_BUTTON_MMASK) buttons |= kButtonMiddle;
  return buttons;
}

}  // namespace tess
