// The end of a hand: the four per-seat results (type 9) and, for a won
// hand, the settlement (type 17). Four results of 0 are a drawn hand,
// shown by the client itself; otherwise the settlement shows the score
// breakdown in the result board, applies the money to the players'
// profiles, adds the hand to the history board and the history file and
// starts the continue countdown (15 s, 5 s in automatic mode, none for a
// spectator). Continuing clears the table and tells the server, once.
#pragma once

#include <array>
#include <cstdint>

#include "scoring/result_view.h"
#include "scoring/score_breakdown.h"

namespace tess {

struct Client;

struct SettlementState {
  HandResultState result;
  ResultView view;  // what the result board shows
  std::array<double, kSeatCount> HandMoney{};     // this hand, per ViewSeat
  std::array<double, kSeatCount> RunningMoney{};  // since start-up
  int16_t ResultCount = 0;                        // type-9 messages of this hand so far
  bool HandUnsettled = false;                     // from the new hand to its first result
  bool ReadyPressed = false;
};

void OnHandResult(Client& c);
void OnSettlement(Client& c);
void SettleHand(Client& c);
// The continue button: the table cleared and one type-16 packet, however
// often it is pressed before the next hand.
void ContinueToNextHand(Client& c);
// Tick task 7 on with `seconds` shown.
void StartContinueCountdown(Client& c, int seconds);
// The result board shows the view: its lists and colours.
void ShowResultView(Client& c);
// Hand n of the history file into the result board (n = 0: nothing).
void ShowHistoryHand(Client& c, int n);
// The per-hand part of the results cleared (the hand's money, the count of
// results, column 16 of the result table).
void ResetHandResults(Client& c);

}  // namespace tess
