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

// Message type 7 for a seated client.
void OnClaimResult(Client& c);
// kind: 4 chow, 8 pung, 16 kong on the discard, 32 concealed kong, 64 added
// kong, 128 win; seat: a SeatMask; tiles: the three tile words.
void ApplyClaim(Client& c, int kind, int seat, const std::array<int16_t, 3>& tiles);

}  // namespace tess
