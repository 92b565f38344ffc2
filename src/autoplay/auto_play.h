// The two automatic players that take the local turn when its countdown
// runs out. The full one (AutoPlayTurn, in automatic mode) takes an offered
// win, declares a kong or claims a pung when the hand evaluation says so,
// and otherwise passes and discards the tile the evaluation picks. The
// plain one (TimeoutPlayTurn) passes on any offer and discards the tile
// just drawn. Both act through the same packets and display operations as
// the player's own clicks. Each run is traced ({"ev":"autoplay","full":B}).
#pragma once

namespace tess {

struct Client;

void AutoPlayTurn(Client& c);
void TimeoutPlayTurn(Client& c);
// An offered kong is left alone: its first possible form would set aside
// the hand's single wild tile.
bool HoldSingleWild(Client& c);

}  // namespace tess
