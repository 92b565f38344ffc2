// The automatic player's three decisions about the local hand: which
// concealed tile to discard, whether to claim a discard as a pung, and
// whether to declare an offered kong. Each compares hand evaluations
// (scoring/hand_analysis.h); they change only the evaluation tables, the
// stored codes' reduction to 8 bits, and ClaimPartner. Sending and display
// are the automatic player's business.
#pragma once

#include <cstdint>

#include "scoring/hand_analysis.h"
#include "table/game_state.h"

namespace tess {

// The tile code of the concealed tile whose removal leaves the best hand:
// per tile, the other three suits plus its own suit without it, +6000 for a
// tile of DropSuit while the hand holds all three numbered suits. Equal
// totals keep the earlier tile; an empty hand gives the entry before
// HandStart. Throws HandlerFault when the concealed range lies outside
// mj(0..20).
int16_t ChooseDiscard(AnalysisState& a, GameState& gs);

// Whether claiming `tile` as a pung improves its suit by more than 150
// (the pair becoming a meld against the hand as it is). Sets ClaimPartner
// to the tile's own code. Throws HandlerFault when `tile` is no tile or the
// hand does not hold two copies of it: the server offered a pung the hand
// cannot make.
bool ShouldClaimPung(AnalysisState& a, GameState& gs, int tile);

// Whether the hand is connected well enough to declare an offered kong: the
// four suits scored without their meld bonus total more than -100.
bool ShouldDeclareKong(AnalysisState& a, GameState& gs);

}  // namespace tess
