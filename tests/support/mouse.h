// The mouse as the window system hands it to a client in the test's
// process: moves, presses and releases at points of display elements, in
// screen coordinates, through the Desktop's event path.
#pragma once

#include "support/client_harness.h"
#include "ui/elements.h"

namespace tess::test {

// Down and up (after a move there) on a part of `e` no other element
// covers; its centre when every part is covered.
void ClickElement(ClientHarness& h, const Element& e, int button = kButtonLeft);
// A move to the centre of `e`.
void HoverElement(ClientHarness& h, const Element& e);
// A move to table point (x, y) of the table area Pic1, or a click there.
void MoveOverTable(ClientHarness& h, double x, double y);
void ClickTable(ClientHarness& h, double x, double y, int button);

}  // namespace tess::test
