// The scene dump: the whole Desktop as one JSON document, for black-box
// tests and bug reports.
//
// Format (one object; numbers are the program's values, unrounded, in the
// shortest form that reads back exactly; colours are 0xRRGGBB integers):
//
//   {"screen": {"width": 1024, "height": 768},
//    "tooltip": {"text": "…" | "", "x": 112, "y": 718},
//    "forms": [
//      {"form": "MainForm", "caption": "Tessaly", "left": 0, "top": 0,
//       "width": 1024, "height": 768, "visible": true,
//       "window_state": "normal" | "minimized", "opacity": 1,
//       "topmost": false, "z": 0}, ...],
//    "elements": [
//      {"form": "MainForm", "name": "MJ_Image", "index": 5 | null,
//       "kind": "picturebox" | "image" | "label" | "listbox" | "textbox" | "browser",
//       "container": "Pic1" | null, "container_index": 2 | null,
//       "left": 12.5, "top": 600, "width": 50, "height": 58,
//       "visible": true, "shown": true, "enabled": true,
//       "picture": 201 | -1 | null, "caption": "…", "items": ["…", …],
//       "list_index": -1, "forecolor": 0, "backcolor": 16777215,
//       "back_transparent": true, "font_size": 9, "tooltip": "…", "z": 12}, ...]}
//
// Forms are listed in the order they were added; a form's "z" is its place
// in drawing order (0 at the back). Elements are listed form by form, each
// form's back to front; an element's "z" is its place within its form
// (higher in front). "index" is null outside a control array. "left" and
// "top" are relative to the container (or the form). "shown" is visibility
// through every container. "picture" is the resource identifier, -1 for a
// picture composed at run time, null for none. "caption" holds a label's
// caption or a text box's text; "items" a list box's lines (empty for
// other kinds). The top "tooltip" is the one on show at a screen point
// (empty text: none); an element's "tooltip" the text it would show. A NaN
// or infinite number is written as null.
//
// SceneDumpHook: with TESSALY_SCENE=FILE in the environment, a SIGUSR1
// makes the loop write FILE (platform/signal_watch.h), and so do Dump()
// and the hook's destruction.
#pragma once

#include <memory>
#include <string>

#include "platform/event_loop.h"
#include "platform/signal_watch.h"
#include "ui/elements.h"

namespace tess {

std::string SceneJson(const Desktop& desktop);

// Writes SceneJson to `path` through a temporary file renamed into place,
// so a reader never sees half a document. False on failure.
bool WriteSceneFile(const Desktop& desktop, const std::string& path);

class SceneDumpHook {
 public:
  // Reads TESSALY_SCENE; with it unset the hook does nothing. Only one hook
  // may exist at a time. `desktop` and `loop` must outlive the hook.
  SceneDumpHook(const Desktop& desktop, EventLoop& loop);
  // Writes the file a last time and restores the previous SIGUSR1 action.
  ~SceneDumpHook();
  SceneDumpHook(const SceneDumpHook&) = delete;
  SceneDumpHook& operator=(const SceneDumpHook&) = delete;

  bool Active() const { return !path_.empty(); }
  // Writes the file now (a program that ends with exit() calls this first).
  void Dump();

 private:
  const Desktop& desktop_;
  std::string path_;
  std::unique_ptr<SignalWatch> signal_;
};

}  // namespace tess
