// The profile card `Information`: a player's nickname, gender, location,
// points, credit, logins, disconnects, wins and losses, in the value labels
// Inf(0..8) beside their titles Title(0..8). The pointer on a seated
// player's portrait Tou(v) fills it and shows it beside that portrait; on
// an empty seat's portrait (no nickname) the card stays as it is. The
// pointer back on the table hides it (ui/button_bar.h). Made on first use;
// dragged by a press anywhere on it, closed with its Image1.
#pragma once

namespace tess {

struct Client;
class Form;

Form& LoadProfileCard(Client& c);
// The pointer over portrait Tou(v), v = 0..3.
void Tou_MouseMove(Client& c, int v);
// Hooks Tou(0..3) to Tou_MouseMove. After the table's portraits are loaded.
void InstallProfileCard(Client& c);

}  // namespace tess
