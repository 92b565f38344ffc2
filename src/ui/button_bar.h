// The button bar below the table, AnNiu(0..8): 0 send, 1 chat log, 2 start
// / continue (back to the lobby once another player's departure ended the
// game), 3 sound settings, 4 hide (F1's twin), 5 this hand's results, 6
// every hand's results, 7 the rules page, 8 leave. A click is ignored while
// the button's latch (ButtonLatched) is set.
//
// Each button has a normal and a highlighted picture (ButtonPictures
// entries 2i and 2i + 1 for buttons 0 and 1, 2i + 2 and 2i + 3 for 3-8;
// button 2 shows the start pair 4/5 until the first hand, while StartShown
// is set, and the continue pair 6/7 after). The pointer on a button lights
// it and gives it its tooltip; the pointer back on the table (Pic1) puts
// every lit button back to normal, lowers a raised hand tile and hides the
// profile card.
#pragma once

#include <string>

namespace tess {

struct Client;

void OnButtonClick(Client& c, int index);
// The pointer over button `index`.
void OnButtonHover(Client& c, int index);
// The pointer over the table background at table point (x, y).
void OnTableMouseMove(Client& c, double x, double y);
// The address of the rules page on the game centre's web server.
std::string RulesPageAddress();
// Hooks AnNiu(0..8) to OnButtonClick and OnButtonHover, Pic1's moves to
// OnTableMouseMove and the history board's lists. After the table is built
// and the hand input installed.
void InstallButtonBar(Client& c);

}  // namespace tess
