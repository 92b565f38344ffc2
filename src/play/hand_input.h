// The local player's hand input, all by mouse. Moving the pointer over a
// concealed tile raises it by 10 pixels (and lowers the one raised before);
// moving onto the table background lowers it again. A left or right click
// on a concealed tile while a discard is due discards it at once; after a
// 报 or 摆 discard has locked the hand only the newest tile can be. A right
// click beside the hand passes while the pass button is on show. After a
// win, a click turns up another seat's concealed kong or a wall tile the
// reveal named (reveal.h).
//
// The discard sequence sends the pass packet first when the offer is still
// open, then the discard (type 2, value(1) the mark: 0 plain, 1 under 报,
// 2 a wind placed under 摆; value(3) = (code AND &HFFF) OR &H4000), shows
// the tile in the centre and closes the gap in the hand.
#pragma once

namespace tess {

struct Client;

// Slot shows one of the local player's concealed tiles.
bool IsMyHandSlot(const Client& c, int slot);
// The mj index of that concealed tile; -1 if none.
int HandIndexOfSlot(const Client& c, int slot);

// Window events of the table.
void MJ_Image_MouseMove(Client& c, int index);
void MJ_Image_MouseDown(Client& c, int index, int button);
// The pointer over the table background at (x, y), table coordinates;
// called by the button bar's table move (ui/button_bar.h), which Pic1's
// moves go to.
void Pic1_MouseMove(Client& c, double x, double y);
// Pic1_MouseUp and Pic2_MouseUp (the same handler).
void Pic_MouseUp(Client& c, int button);

// The local discard of the concealed tile in `slot` (free form, or locked:
// HandLocked and Placing(0) stay as they are). Also the automatic player's.
void DiscardTile(Client& c, int slot, bool locked);

// The local seat's concealed entry e (HandStart <= e < HandStart +
// HandCount) laid out as its discard: face up in the centre, the gap closed
// and the rest sorted; nothing is sent. The discard sequence ends with it,
// and a spectator lays out the watched player's discards with it.
void LayOutOwnDiscard(Client& c, int e);

// Hooks the table's tiles, its background's button releases and the action
// and kong buttons to the handlers above and those of offers.h. After the
// table's elements are all loaded.
void InstallHandInput(Client& c);

}  // namespace tess
