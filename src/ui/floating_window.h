// The small windows that float over the table (the result boards and the
// profile card): translucent, made on first use, dragged by pressing the
// left button anywhere on them that is not a control, closed with their
// picture button Image1 at the top right.
#pragma once

namespace tess {

struct Client;
class Form;
struct Element;

// A hidden window `name` of w x h reference pixels (scaled) with Image1
// and, unless `caption` is empty, the caption label "Caption" at the top
// left.
Form& NewFloatingWindow(Client& c, const char* name, const char* caption, double w, double h);
// A left-button press on `e` drags its window `f`.
void DragByAnyPress(Client& c, Form& f, Element& e);

}  // namespace tess
