// The spectator's table. A spectator is sent the four players' profiles
// (type 20) by seat mask; it keeps them until the fourth has come and then
// builds the watched table at once: the watched player (found by the user
// id the command line put into players(0)) takes the local seat, the other
// three take their places around it, the dealer and the break of the wall
// come from the round information (type 41), and every seat's portrait,
// name, coins and level are shown on the table and the result boards.
#pragma once

namespace tess {

struct Client;

// The seat-information step of a spectator: stores the message being
// dispatched in the first free of the four slots. Returns false before the
// fourth (the handler stops there); with the fourth, builds the watched
// table, frees the slots for the next table and returns true (the handler
// goes on with the fourth message as for a seated player).
bool StoreWatchedSeatInfo(Client& c);

// The watched table from the four stored messages. No profile with the
// watched user id: the seats stay as they are, the dealer, wall and
// profiles are still set up. A seat byte that fits no place around the
// watched seat leaves its profile unplaced.
void BuildSpectatorTable(Client& c);

}  // namespace tess
