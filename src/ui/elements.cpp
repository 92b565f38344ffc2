#include "ui/elements.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tess {

void Element::SetPicture(PictureRef p) {
  picture = std::move(p);
  if (auto_size && picture) {
    width = picture->width;
    height = picture->height;
  }
}

double Element::FormLeft() const { return left + (container ? container->FormLeft() : 0); }

double Element::FormTop() const { return top + (container ? container->FormTop() : 0); }

bool Element::ShownOnForm() const {
  for (const Element* e = this; e; e = e->container)
    if (!e->visible) return false;
  return true;
}

Form::Form(std::string n) : name(std::move(n)) {}

Element& Form::Add(ElementKind kind, const std::string& ename, int index) {
  auto e = std::make_unique<Element>();
  e->form = this;
  e->kind = kind;
  e->name = ename;
  e->index = index;
  elements_.push_back(std::move(e));
  return *elements_.back();
}

Element& Form::Load(const std::string& ename, int index) {
  if (Element* existing = Find(ename, index)) return *existing;
  Element& base = At(ename, 0);
  auto e = std::make_unique<Element>(base);
  e->index = index;
  e->visible = false;
  auto it = std::find_if(elements_.begin(), elements_.end(),
                         [&](const auto& p) { return p.get() == &base; });
  return **elements_.insert(it + 1, std::move(e));
}

void Form::Unload(const std::string& ename, int index) {
  if (index == 0) return;  // element 0 of an array was created, not loaded
  std::erase_if(elements_, [&](const auto& p) { return p->name == ename && p->index == index; });
}

Element* Form::Find(const std::string& ename, int index) const {
  for (const auto& e : elements_)
    if (e->index == index && e->name == ename) return e.get();
  return nullptr;
}

Element& Form::At(const std::string& ename, int index) const {
  Element* e = Find(ename, index);
  if (!e) {
    std::fprintf(stderr, "tessaly: no display element %s.%s(%d)\n", name.c_str(), ename.c_str(), index);
    std::abort();
  }
  return *e;
}

std::vector<Element*> Form::Array(const std::string& ename) const {
  std::vector<Element*> out;
  for (const auto& e : elements_)
    if (e->name == ename && e->index >= 0) out.push_back(e.get());
  std::sort(out.begin(), out.end(), [](const Element* a, const Element* b) { return a->index < b->index; });
  return out;
}

void Form::BringToFront(Element& e) {
  auto it = std::find_if(elements_.begin(), elements_.end(), [&](const auto& p) { return p.get() == &e; });
  if (it == elements_.end()) return;
  std::rotate(it, it + 1, elements_.end());
}

void Form::SendToBack(Element& e) {
  auto it = std::find_if(elements_.begin(), elements_.end(), [&](const auto& p) { return p.get() == &e; });
  if (it == elements_.end()) return;
  // Just behind the first element of the same container, never behind the
  // container itself.
  auto back = std::find_if(elements_.begin(), it, [&](const auto& p) {
    return p->container == e.container || p.get() == e.container;
  });
  if (back != it && back->get() == e.container) ++back;
  std::rotate(back, it, it + 1);
}

int Form::ZOf(const Element& e) const {
  for (size_t i = 0; i < elements_.size(); ++i)
    if (elements_[i].get() == &e) return static_cast<int>(i);
  return -1;
}

Element* Form::HitTest(double x, double y) const {
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
    Element* e = it->get();
    if (!e->ShownOnForm() || !e->enabled) continue;
    bool inside = true;
    for (const Element* c = e; c && inside; c = c->container) {
      double l = c->FormLeft(), t = c->FormTop();
      inside = x >= l && x < l + c->width && y >= t && y < t + c->height;
    }
    if (inside) return e;
  }
  return nullptr;
}

Form& Desktop::AddForm(const std::string& fname) {
  forms_.push_back(std::make_unique<Form>(fname));
  raise_order_.push_back(forms_.back().get());
  return *forms_.back();
}

Form* Desktop::FindForm(const std::string& fname) const {
  for (const auto& f : forms_)
    if (f->name == fname) return f.get();
  return nullptr;
}

std::vector<Form*> Desktop::FormsBackToFront() const {
  std::vector<Form*> out;
  for (Form* f : raise_order_)
    if (!f->topmost) out.push_back(f);
  for (Form* f : raise_order_)
    if (f->topmost) out.push_back(f);
  return out;
}

void Desktop::Raise(Form& f) {
  auto it = std::find(raise_order_.begin(), raise_order_.end(), &f);
  if (it != raise_order_.end()) std::rotate(it, it + 1, raise_order_.end());
}

Form* Desktop::FormAt(double x, double y) const {
  auto order = FormsBackToFront();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    Form* f = *it;
    if (!f->visible || f->window_state == WindowState::kMinimized) continue;
    if (x >= f->left && x < f->left + f->width && y >= f->top && y < f->top + f->height) return f;
  }
  return nullptr;
}

namespace {

MouseEvent RelativeTo(const Element& e, double x, double y, int button, int shift) {
  return MouseEvent{button, shift, x - e.form->left - e.FormLeft(), y - e.form->top - e.FormTop()};
}

}  // namespace

void Desktop::MouseDown(double x, double y, int button, int shift, int64_t now_ms) {
  Form* f = FormAt(x, y);
  if (!f) return;
  Element* e = f->HitTest(x - f->left, y - f->top);
  if (!e) {
    if (f->on_mouse_down) f->on_mouse_down(*f, MouseEvent{button, shift, x - f->left, y - f->top});
    return;
  }
  // Only the left button clicks; another button's down leaves a pending
  // double-click alone.
  if (button == kButtonLeft) {
    dbl_pending_ = e == last_down_ && now_ms - last_down_ms_ <= 500;
    last_down_ = dbl_pending_ ? nullptr : e;
    last_down_ms_ = now_ms;
  }
  click_button_ = button;
  captured_ = e;
  // Windowed elements take the keyboard focus when clicked; images and
  // labels are drawn on their container and never hold it.
  if (e->kind == ElementKind::kTextBox || e->kind == ElementKind::kListBox || e->kind == ElementKind::kPictureBox)
    focus = e;
  if (e->on_mouse_down) e->on_mouse_down(*e, RelativeTo(*e, x, y, button, shift));
}

void Desktop::MouseMove(double x, double y, int buttons, int shift) {
  Element* e = captured_;
  if (!e) {
    Form* f = FormAt(x, y);
    e = f ? f->HitTest(x - f->left, y - f->top) : nullptr;
    hovered = e;
    if (!e && f && f->on_mouse_move) f->on_mouse_move(*f, MouseEvent{buttons, shift, x - f->left, y - f->top});
  }
  if (e && e->on_mouse_move) e->on_mouse_move(*e, RelativeTo(*e, x, y, buttons, shift));
}

void Desktop::MouseUp(double x, double y, int button, int shift) {
  Element* e = captured_;
  captured_ = nullptr;
  if (!e) return;
  // The handler of the down may have removed or hidden the element; only a
  // live element gets the up.
  bool live = false;
  for (const auto& f : forms_)
    if (f->ZOf(*e) >= 0) live = true;
  if (!live) return;
  if (e->on_mouse_up) e->on_mouse_up(*e, RelativeTo(*e, x, y, button, shift));
  Form* f = FormAt(x, y);
  bool over = f && f->HitTest(x - f->left, y - f->top) == e;
  if (!over || click_button_ != kButtonLeft) return;
  if (dbl_pending_) {
    dbl_pending_ = false;
    if (e->on_dbl_click) e->on_dbl_click(*e);
    else if (e->on_click) e->on_click(*e);
  } else if (e->on_click) {
    e->on_click(*e);
  }
}

namespace {

Form* FrontmostShown(const std::vector<Form*>& order) {
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    if ((*it)->visible && (*it)->window_state != WindowState::kMinimized) return *it;
  return nullptr;
}

}  // namespace

void Desktop::KeyDown(int key_code, int shift) {
  KeyEvent k{key_code, shift};
  if (Form* f = FrontmostShown(FormsBackToFront()); f && f->key_preview && f->on_key_down) f->on_key_down(*f, k);
  if (!focus) return;
  if (key_code == kKeyBack && focus->kind == ElementKind::kTextBox && focus->enabled && !focus->caption.empty()) {
    std::string& s = focus->caption;
    size_t n = s.size() - 1;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;  // start of the last character
    s.erase(n);
    if (focus->on_change) focus->on_change(*focus);
  }
  if (focus->on_key_down) focus->on_key_down(*focus, k);
}

void Desktop::KeyUp(int key_code, int shift) {
  KeyEvent k{key_code, shift};
  if (Form* f = FrontmostShown(FormsBackToFront()); f && f->on_key_up) f->on_key_up(*f, k);
}

void Desktop::BeginWindowMove(Form& f) {
  captured_ = nullptr;
  moving = &f;
}

void Desktop::TypeText(const std::string& utf8) {
  if (!focus || focus->kind != ElementKind::kTextBox || !focus->enabled || utf8.empty()) return;
  focus->caption += utf8;
  if (focus->on_change) focus->on_change(*focus);
}

}  // namespace tess
