// The button bar below the table: each button's click, ignored while its
// latch (ButtonLatched) is set. 0 send and 1 chat belong to the chat; 2
// start/continue (back to the lobby once another player's departure ended
// the game), 3 sound settings, 4 hide, 5 this hand's results, 6 every
// hand's results, 8 leave.
#pragma once

namespace tess {

struct Client;

void OnButtonClick(Client& c, int index);
// Hooks buttons 2-8 to OnButtonClick. After the table is built.
void InstallButtonBar(Client& c);

}  // namespace tess
