// The spectator's twins of the four turn handlers, called by the
// dispatcher instead of the seated ones while the client watches. Each
// does on the table what the seated handler does, with the watched
// player's seat as the local one, and differs in this:
// - nothing is offered and nothing is played automatically: no button, no
//   turn countdown (the seated handlers start neither; offers to a
//   spectator are ignored, offers.h);
// - a discard takes no 报/摆 mark, places no wind and shows no bubble, and
//   the watched player's own discard is taken out of its hand here, as no
//   click laid it out;
// - a claim of the watched player is staged as the claim senders stage the
//   local player's before the confirmation lays it out; an added kong of
//   the red dragon is announced with caption 4 and voice "04.wav", one of
//   the wild tile with caption 5 and "05.wav";
// - they pause the whole client with a blocking wait (EventLoop::
//   WaitBlocking: nothing else is handled meanwhile, the window keeps
//   painting): 0.8 s after a deal batch or a draw, 1 s after a discard,
//   2 s after a claim and its voice.
#pragma once

namespace tess {

struct Client;

inline constexpr int kWatchedDealPauseMs = 800;
inline constexpr int kWatchedDiscardPauseMs = 1000;
inline constexpr int kWatchedClaimPauseMs = 2000;

void OnSpectatorDeal(Client& c);     // type 1
void OnSpectatorDiscard(Client& c);  // type 2
void OnSpectatorDraw(Client& c);     // type 5
void OnSpectatorClaim(Client& c);    // type 7

}  // namespace tess
