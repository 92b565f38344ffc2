// Action offers and their buttons. The server says in message 6 what the
// local player may do: pass, 报 (declare), 摆 (place winds), pung, one of
// three kongs or win. The offer lights the matching Operation buttons
// (0 报/摆, 1 pung, 2 kong, 3 win, 4 pass) and starts the turn countdown;
// a click turns into a type-7 claim. Before a claim is sent its tiles are
// staged into the next meld group of custom(0).mj, which the server's
// confirmation (claims.h) then lays out. A kong with several candidates is
// chosen with the Gang buttons, stacked upward above the action buttons.
//
// Every sender queues its packet (the tick sends it) with Seat =
// custom(0).Seat; tile words travel as (code AND &HFFF) OR &H2000, 0 where
// there is none. Each offer can be answered once: the first click clears
// every offered mark, and TurnActed keeps a second pass from being sent.
#pragma once

namespace tess {

struct Client;

// Message type 6, for the local seat only.
void OnActionOffer(Client& c);
// A click on Operation(index): ignored unless offered, the link is up and
// the offer is not yet answered.
void Operation_Click(Client& c, int index);
// A click on Gang(index): the kong of candidate `index`.
void Gang_Click(Client& c, int index);
// Collects the kong candidates into KongChoices and, with one, claims it;
// with several, shows the Gang buttons and halves the countdown. While the
// automatic player acts (TurnState 3) it claims the first candidate.
void ChooseKong(Client& c);

// The claim senders. The index ones take the mj index of the first of the
// tiles concerned (the added tile for SendAddedKong) and leave it in
// KongChoices(0), where the confirmation looks for it; an index whose
// tiles are not all concealed tiles sends nothing.
void SendPung(Client& c, int code);
void SendKongFromDiscard(Client& c, int i);
void SendConcealedKong(Client& c, int i);
void SendAddedKong(Client& c, int i);
void SendWin(Client& c);
// What the senders stage into the local seat's next meld group
// mj(MeldCursor - 2 .. MeldCursor) for the confirmation to lay out; a
// spectator's twin stages the watched player's claims the same way. A
// pung: copies of the first concealed pair of `code`, and the centre
// discard. A kong (kind 16 on the discard, 32 concealed) or an added kong:
// the entries from i, left in KongChoices(0); false, staging nothing, when
// they are not all concealed tiles or the group has no room.
void StagePung(Client& c, int code);
bool StageKong(Client& c, int i, int kind);
bool StageAddedKong(Client& c, int i);
// The pass packet (type 7, kind 1) unless the offer has been answered.
void PassOnOffer(Client& c);

// Every Operation button disabled, hidden and greyed (button 0: the greyed
// 报 while nobody declared, else the greyed 摆 while the local seat does
// not place winds yet).
void ResetActionButtons(Client& c);
// The turn countdown off, its counter zeroed, Number and Time_Img hidden.
void StopTurnCountdown(Client& c);

}  // namespace tess
