// Opening a web address in the user's browser through the desktop's own
// opener, `xdg-open`, looked up on PATH at each call.
//
// The opener runs in a process of its own, detached from this one: the
// call returns as soon as that process is started, never waits for the
// browser, and leaves no child behind to be reaped. The opener's output
// goes nowhere; its standard input is /dev/null. The PATH lookup is
// offered on its own too.
#pragma once

#include <string>

namespace tess {

// The first executable `name` in the directories of PATH; "" when none.
std::string FindOnPath(const std::string& name);

// Starts `xdg-open url`. False, with nothing started, when PATH holds no
// executable `xdg-open` or no process could be made; whether the opener
// then finds a browser is not reported.
bool OpenUrlWithDesktop(const std::string& url);

}  // namespace tess
