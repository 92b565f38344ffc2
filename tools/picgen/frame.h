// The main window's own pictures: the table background in both layouts,
// the skin the window frame is cut from, the title-bar buttons and the icon.
#pragma once

#include "canvas.h"

namespace picgen {

// The table: 1024 x 768 at scale 1, 800 x 600 at scale 0.78125. The cloth
// above, the wooden bar with the recesses for the ticker, the chat line,
// the name plate and the own avatar below.
Canvas DrawTableBackground(float scale);

// 46 x 220 pixels (690 x 3300 twips at 15 twips per pixel): the title bar
// in the top 20 rows (corners in columns 0-7 and 38-45, a stretchable middle
// in 8-15), the side edges in rows 20-211 (columns 0-7 and 38-45) and the
// bottom edge in rows 212-219, cut as the window frame needs it.
Canvas DrawSkin();

enum class ChromeLook { kNormal, kHover, kPressed };

// 16 x 16 title-bar buttons.
Canvas DrawCloseButton(ChromeLook look);
Canvas DrawMinimiseButton(ChromeLook look);

// 32 x 32 window icon: a red-dragon tile.
Canvas DrawIcon();

}  // namespace picgen
