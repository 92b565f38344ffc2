#include "ui/sdl_input.h"

#include <SDL_keyboard.h>
#include <SDL_mouse.h>
#include <gtest/gtest.h>

#include "ui/elements.h"

namespace tess {
namespace {

TEST(KeyCodeFromSdl, MapsToTheToolkitsKeyNumbers) {
  struct Case {
    SDL_Keycode sdl;
    int code;
  };
  const Case cases[] = {
      {SDLK_a, 'A'},         {SDLK_z, 'Z'},          {SDLK_0, '0'},          {SDLK_9, '9'},
      {SDLK_F1, 112},        {SDLK_F10, 121},        {SDLK_F12, 123},        {SDLK_ESCAPE, 27},
      {SDLK_RETURN, 13},     {SDLK_KP_ENTER, 13},    {SDLK_BACKSPACE, 8},    {SDLK_TAB, 9},
      {SDLK_SPACE, 32},      {SDLK_LALT, 18},        {SDLK_RALT, 18},        {SDLK_LSHIFT, 16},
      {SDLK_RCTRL, 17},      {SDLK_LEFT, 37},        {SDLK_DOWN, 40},        {SDLK_DELETE, 46},
      {SDLK_KP_0, 96},       {SDLK_KP_9, 105},       {SDLK_F13, 0},          {SDLK_CAPSLOCK, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyCodeFromSdl(c.sdl), c.code) << SDL_GetKeyName(c.sdl);
}

TEST(SdlInput, ShiftStateAndButtons) {
  EXPECT_EQ(ShiftFromSdl(KMOD_NONE), 0);
  EXPECT_EQ(ShiftFromSdl(KMOD_RSHIFT), kShiftKey);
  EXPECT_EQ(ShiftFromSdl(KMOD_LCTRL | KMOD_RALT), kCtrlKey | kAltKey);
  EXPECT_EQ(ShiftFromSdl(KMOD_NUM), 0);
  EXPECT_EQ(ButtonFromSdl(SDL_BUTTON_LEFT), kButtonLeft);
  EXPECT_EQ(ButtonFromSdl(SDL_BUTTON_RIGHT), kButtonRight);
  EXPECT_EQ(ButtonFromSdl(SDL_BUTTON_MIDDLE), kButtonMiddle);
  EXPECT_EQ(ButtonFromSdl(SDL_BUTTON_X1), 0);
  EXPECT_EQ(ButtonsFromSdlState(SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), kButtonLeft | kButtonRight);
  EXPECT_EQ(ButtonsFromSdlState(SDL_BUTTON_X2MASK), 0);
}

}  // namespace
}  // namespace tess
