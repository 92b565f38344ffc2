// The colours the whole picture set shares, so that tiles, buttons and the
// table read as one game.
#pragma once

#include "canvas.h"

namespace picgen::style {

// Table.
inline const Rgba kFelt = Hex(0x1F6B43);       // the cloth, where most pictures lie
inline const Rgba kFeltDark = Hex(0x10462A);
inline const Rgba kPanel = Hex(0x4A2A17);      // the wooden bar under the table
inline const Rgba kPanelDark = Hex(0x2B170C);

// Tiles.
inline const Rgba kIvory = Hex(0xFBF7EA);
inline const Rgba kIvoryShade = Hex(0xE4D9BC);
inline const Rgba kIvorySide = Hex(0xD2C39E);
inline const Rgba kBack = Hex(0x17804C);
inline const Rgba kBackDark = Hex(0x0C5230);
inline const Rgba kTileLine = Hex(0x3E3524);

// Inks of the tile faces.
inline const Rgba kInkRed = Hex(0xC8161E);
inline const Rgba kInkGreen = Hex(0x117A3A);
inline const Rgba kInkBlue = Hex(0x1C4C9C);
inline const Rgba kInkNavy = Hex(0x14244F);

// Buttons and ornaments.
inline const Rgba kGold = Hex(0xF2C54B);
inline const Rgba kGoldDark = Hex(0x9A6A12);
inline const Rgba kCream = Hex(0xFFF6D8);
inline const Rgba kLacquer = Hex(0xB3201C);
inline const Rgba kLacquerDark = Hex(0x6B0E0C);
inline const Rgba kSilver = Hex(0xC9CDD3);
inline const Rgba kSilverDark = Hex(0x6D737C);
inline const Rgba kInkBlack = Hex(0x201A14);
inline const Rgba kWhite = Hex(0xFFFFFF);

}  // namespace picgen::style
