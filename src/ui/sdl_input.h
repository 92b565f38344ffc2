// Translation of SDL's input values into the codes the display elements
// take (ui/elements.h): key codes, shift state and mouse buttons. Pure
// functions; they need no SDL initialisation.
#pragma once

#include <SDL_keycode.h>
#include <SDL_stdinc.h>

namespace tess {

// The KeyCode of an SDL key, or 0 for a key that has none.
int KeyCodeFromSdl(SDL_Keycode key);
// ShiftState bits of an SDL modifier mask (either Shift, Ctrl or Alt key).
int ShiftFromSdl(Uint16 mod);
// The MouseButton of an SDL button number, or 0 for other buttons.
int ButtonFromSdl(Uint8 button);
// MouseButton bits of an SDL button-state mask (SDL_BUTTON_LMASK, ...).
int ButtonsFromSdlState(Uint32 state);

}  // namespace tess
