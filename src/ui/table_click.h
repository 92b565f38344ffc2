// A click on the table area (Pic1 on the full layout, Pic2 on the reduced
// one) hides the floating windows that lie over it: the chat log Talk, the
// quick-phrase window huifu, the result boards Score and Hero, the sound
// settings VosSet and the leave confirmation frmExit.
#pragma once

namespace tess {

struct Client;

void Pic1_Click(Client& c);
// Sets the click handlers of Pic1 and Pic2.
void InstallTableClick(Client& c);

}  // namespace tess
