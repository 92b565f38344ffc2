// The result board of one hand (`Score`, "战绩板": per seat a name, an
// avatar, the breakdown column State(v) and its final line State(v + 4))
// and the board of every hand of this game (`Hero`, "英雄榜": the hand
// numbers Num, one result list Grade(v) per seat, the totals sumScore(v)).
// Both are created on first use, float in front of the table, close with
// their Image1 and are dragged by pressing anywhere on them.
#pragma once

namespace tess {

struct Client;
class Form;

Form& LoadScoreBoard(Client& c);
Form& LoadHeroBoard(Client& c);
// The window centred over the table and shown in front.
void ShowCentred(Client& c, Form& f);
// Names and avatars of ViewSeat v on both boards, from its profile.
void ShowSeatOnBoards(Client& c, int v);
// Hero's hand lines emptied (a new game at this table).
void ClearHeroLists(Client& c);

}  // namespace tess
