// Discards on the table. A discard is first shown large in the centre,
// face up, while the discarder's voice names it; the next draw lays it on
// its owner's pile in rows of eight, where it blinks; a claim may take it
// instead. Two marks travel with a discard: 报 (the seat declared: its hand
// is fixed) and 摆 (the seat sets its winds aside, each shown again in the
// seat's row of placed winds); a third, 跟庄 (follows the dealer), shows
// a speech bubble.
#pragma once

namespace tess {

struct Client;

// Message type 2: a seat discarded.
void OnDiscard(Client& c);
// Message type 2 as the seated handler (watching false) and the
// spectator's twin (true) show it: the discard sound, the tile in the
// centre with the discarder's voice, the seen count. Seated, the 报/摆
// marks are taken, placed winds go to their row and the marks and
// follow-the-dealer get their bubbles; watching, none of these, and the
// watched player's own discard, which no click laid out, is taken out of
// its hand here.
void ShowDiscardMessage(Client& c, bool watching);
// The local player's discard already showing in `slot`: to the centre, and
// placed as a wind while the local seat places winds.
void ShowOwnDiscard(Client& c, int slot, int code);
// LastDiscardSlot onto LastDiscarder's pile; it blinks three times unless
// `blink` is off (a restored pile).
void LayDiscardOnPile(Client& c, bool blink = true);

}  // namespace tess
