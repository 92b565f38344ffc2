// The table window's smaller design-time pictures: the frames, plates and
// marks that sit on the cloth and on the wooden bar around the play area,
// the quick-phrase and chat-log buttons, the other-players-left notice's
// buttons and the empty chat bubble. Each drawing returns a canvas of
// exactly the size stated here, in the wood-and-gold look of the table.
#pragma once

#include <string>

#include "canvas.h"

namespace picgen {

// 82 x 80: the notice-page frame `Bird`, shown until the page loads over
// it: a gold-rimmed lacquer panel with a red-dragon tile and the game's
// name.
Canvas DrawBannerFrame();

// 394 x 39: the strip behind the table location and the two quick-phrase
// buttons, in the wood of the bar, with a recess for the location text
// from x 118 on. Opaque; shown stretched to its element.
Canvas DrawLocationStrip();

// 81 x 38: the countdown clock plate, an alarm clock on the left and a
// plain dark window for the digits from x 45 to x 76.
Canvas DrawClockPlate();

// 40 x 30: the ready mark, a green stamp with a tick and "准备".
Canvas DrawReadyMark();

// 73 x 130: the wild-tile box, "宝牌" at the top and a slot for the
// 36 x 56 tile at (20, 55).
Canvas DrawWildTileBox();

// 36 x 16: the dealer mark, "庄" on a lacquer plate.
Canvas DrawDealerMark();

// 25 x 33: the chat-log label, a speech balloon on a bar button.
Canvas DrawChatLabel();

// 57 x 13: a quick-phrase button with a short caption.
Canvas DrawPhraseButton(const std::string& caption);

// 70 x 30: the buttons of the other-players-left notice, jade for the
// confirming one and wood for the other.
Canvas DrawNoticeButton(const std::string& caption, bool confirm);

// 131 x 102: the empty chat bubble, its tail up and to the left towards the
// speaker's portrait.
Canvas DrawChatBubble();

}  // namespace picgen
