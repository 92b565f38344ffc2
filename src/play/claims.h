// Claims on the table. The server confirms every claim (pung, the three
// kongs, win; chow for completeness) to every client with message 7, and
// ApplyClaim carries it out: the claimed tiles leave the seat's concealed
// tiles for a meld group of its mj list and are laid beside its hand, the
// claimed discard leaves the centre, a kong makes the next draw a
// replacement from the back of the wall, and the first win is recorded.
// Another seat's claim is announced with a speech bubble, its caption and
// the claimer's voice; the local seat's was announced by its own click and
// its tiles were staged by the senders (offers.h), so here they are only
// laid out and taken out of the concealed row.
//
// Meld groups: the local seat's at mj 1-3, 4-6, ...; another seat's at
// 2-4, 5-7, ... (the group's last entry is the old first concealed one).
// A kong's fourth tile has no entry, only its picture. A claim the seat's
// record cannot hold (too few concealed tiles, no room for the group) is a
// protocol fault (HandlerFault).
#pragma once

#include <array>
#include <cstdint>

namespace tess {

struct Client;

// The kinds of a claim (value(0) of message 7).
inline constexpr int kChow = 4, kPung = 8, kKongFromDiscard = 16, kConcealedKong = 32, kAddedKong = 64,
                     kWin = 128;

// Message type 7 for a seated client.
void OnClaimResult(Client& c);
// kind: one of the kinds above (others change nothing but the restacking);
// seat: a SeatMask; tiles: the three tile words. `watching`: a spectator's
// table, where an added kong of the red dragon or of the wild tile is
// announced too (captions 4 and 5, clips "04" and "05").
void ApplyClaim(Client& c, int kind, int seat, const std::array<int16_t, 3>& tiles, bool watching = false);

}  // namespace tess
