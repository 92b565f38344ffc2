// Modal message boxes: a small window with a text and an OK button.
//
// ShowMessageBox returns when the user presses OK (processing events
// meanwhile, as a modal dialog does), or at once when the box is in
// automatic mode (TESSALY_MESSAGEBOX=auto: headless runs and tests). Every
// box is written to the trace either way.
#pragma once

#include <string>

#include "platform/event_loop.h"
#include "platform/trace.h"
#include "ui/elements.h"

namespace tess {

struct MessageBoxHost {
  EventLoop& loop;
  Desktop& desktop;
  Trace& trace;
  bool automatic = false;  // answer OK at once
};

// Shows `text` (UTF-8) under `title` (empty: no title) and waits for OK.
void ShowMessageBox(MessageBoxHost& host, const std::string& text, const std::string& title = "");

}  // namespace tess
