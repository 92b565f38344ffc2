// Display elements: forms and the elements on them, as plain data.
//
// This is the layer every handler draws through. It holds what a desktop
// toolkit's controls hold (position, size, picture, caption, colours, font,
// visibility, enabled state, z-order, pointer, tooltip) and routes mouse and
// key input to the element that should get it. It draws nothing itself: a
// renderer (ui/renderer.h) reads it, and tests read it directly.
//
// Units: Left/Top/Width/Height are reference pixels held as doubles, exactly
// as the program set them; drawing rounds. An element's position is relative
// to its container (another element, such as a picture box, or its form);
// a form's position is on the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tess {

// A decoded picture: 32-bit ARGB pixels, row by row. `id` is the resource
// identifier it was loaded from, or -1 for a picture composed at run time.
struct Picture {
  int id = -1;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
};
using PictureRef = std::shared_ptr<const Picture>;

enum class ElementKind { kPictureBox, kImage, kLabel, kListBox, kTextBox, kBrowser };

// Mouse buttons and shift state as the handlers take them.
enum MouseButton : int { kButtonLeft = 1, kButtonRight = 2, kButtonMiddle = 4 };
enum ShiftState : int { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

// Key codes handed to key handlers (the toolkit's virtual-key numbers).
// Letters are 'A'..'Z', digits '0'..'9', F1..F12 are 112..123.
enum KeyCode : int {
  kKeyBack = 8, kKeyTab = 9, kKeyReturn = 13, kKeyEscape = 27, kKeySpace = 32,
  kKeyA = 65, kKeyC = 67, kKeyF1 = 112, kKeyF12 = 123, kKeyAlt = 18,
  kKeyShift = 16, kKeyControl = 17, kKeyPageUp = 33, kKeyPageDown = 34, kKeyEnd = 35, kKeyHome = 36,
  kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyInsert = 45, kKeyDelete = 46,
  kKey0 = 48, kKeyNumpad0 = 96,
};

struct MouseEvent {
  int button = 0;  // MouseButton of the button that changed (down/up) or held (move)
  int shift = 0;   // ShiftState
  double x = 0;    // relative to the element (or form) that receives it
  double y = 0;
};

struct KeyEvent {
  int key_code = 0;  // KeyCode
  int shift = 0;     // ShiftState
};

enum class AlignText { kLeft, kRight, kCenter };

class Form;

struct Element {
  Form* form = nullptr;
  Element* container = nullptr;  // nullptr: lies directly on the form
  ElementKind kind = ElementKind::kImage;
  std::string name;
  int index = -1;  // position in its control array; -1 outside one

  double left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  bool enabled = true;
  PictureRef picture;
  bool stretch = false;              // picture scaled to the element's size
  bool auto_size = false;            // element takes the picture's size when a picture is set
  std::string caption;               // caption of a label, text of a text box
  std::vector<std::string> items;    // lines of a list box
  int list_index = -1;               // selected line of a list box
  int top_index = 0;                 // first line a list box shows; it scrolls no further than a full last page
  size_t caret = 0;                  // text box: characters before the caret, held to the text's length
  uint32_t fore_color = 0x000000;    // 0xRRGGBB
  uint32_t back_color = 0xFFFFFF;
  bool back_transparent = true;      // labels and images show what lies below
  double font_size = 9;
  bool font_bold = false;
  AlignText alignment = AlignText::kLeft;
  bool word_wrap = false;
  int mouse_pointer = 0;             // 0 default, 99 custom hand
  std::string tooltip;
  std::string tag;                   // free use by handlers

  // Input handlers; x and y are relative to this element.
  std::function<void(Element&, const MouseEvent&)> on_mouse_down;
  std::function<void(Element&, const MouseEvent&)> on_mouse_move;
  std::function<void(Element&, const MouseEvent&)> on_mouse_up;
  std::function<void(Element&)> on_click;
  std::function<void(Element&)> on_dbl_click;
  std::function<void(Element&, const KeyEvent&)> on_key_down;
  // A text box's text changed by typing.
  std::function<void(Element&)> on_change;

  // Sets the picture and, with auto_size, the size to the picture's.
  void SetPicture(PictureRef p);
  // Left and top of this element on its form (containers added in).
  double FormLeft() const;
  double FormTop() const;
  // Visible itself and through every container.
  bool ShownOnForm() const;
};

// Pixel height of a font of `points` on the 96-dpi screen a desktop toolkit
// assumes (at least 1).
int FontPixels(double points);
// Text boxes and list boxes keep their text this far inside their edges.
inline constexpr int kBoxTextInset = 2;
// List boxes: the height of one line (the font's pixel size and a gap of
// 4), and the first line shown: top_index, held so that the last page
// stays full. Drawing and the press that selects a line both use these.
int ListLineHeight(const Element& list);
int ListFirstShown(const Element& list);

enum class WindowState { kNormal, kMinimized };

class Form {
 public:
  explicit Form(std::string name);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  std::string name;
  std::string caption;
  double left = 0, top = 0, width = 0, height = 0;  // on the screen
  bool visible = false;
  WindowState window_state = WindowState::kNormal;
  bool topmost = false;
  double opacity = 1.0;          // 1 opaque; translucent floating windows go lower
  uint32_t back_color = 0xC0C0C0;
  PictureRef picture;            // background, drawn at the form's top-left
  PictureRef canvas;             // what has been painted onto the form (PaintPicture)
  PictureRef icon;               // the window system's icon for the window; null: none
  bool key_preview = true;       // the form sees keys before its elements

  std::function<void(Form&, const KeyEvent&)> on_key_down;
  std::function<void(Form&, const KeyEvent&)> on_key_up;
  std::function<void(Form&, const MouseEvent&)> on_mouse_down;  // on no element
  std::function<void(Form&, const MouseEvent&)> on_mouse_move;  // on no element, nothing captured
  std::function<void(Form&)> on_close_request;                  // the user closes the window
  std::function<void(Form&)> on_restored;  // the window system restored the minimised window

  // Creates an element in front of all others on this form. For a control
  // array, pass the index; use Load for further array elements.
  Element& Add(ElementKind kind, const std::string& name, int index = -1);
  // New element `index` of control array `name`: a copy of element 0 of
  // that array (position, size, picture, caption, colours, handlers),
  // hidden, placed just in front of element 0. Returns the existing element
  // if it is already loaded. Requires element 0 to exist.
  Element& Load(const std::string& name, int index);
  // Removes an element that Load created.
  void Unload(const std::string& name, int index);

  // nullptr when there is no such element.
  Element* Find(const std::string& name, int index = -1) const;
  // Like Find, but the element must exist (a missing one is a program error).
  Element& At(const std::string& name, int index = -1) const;
  // Every element of control array `name`, by index.
  std::vector<Element*> Array(const std::string& name) const;

  // Z-order: elements later in Elements() are in front. An element lying in
  // a container is sent to the back of the elements in that container: it
  // stays in front of the container itself, as a toolkit's child does.
  void BringToFront(Element& e);
  void SendToBack(Element& e);
  int ZOf(const Element& e) const;
  const std::vector<std::unique_ptr<Element>>& Elements() const { return elements_; }

  // The frontmost element shown and enabled under form point (x, y); an
  // element's area is its container's too, clipped. nullptr: none.
  Element* HitTest(double x, double y) const;

 private:
  std::vector<std::unique_ptr<Element>> elements_;
};

// All forms of the program, the screen they sit on, and input routing.
class Desktop {
 public:
  int screen_width = 1024;
  int screen_height = 768;

  Form& AddForm(const std::string& name);
  Form* FindForm(const std::string& name) const;
  const std::vector<std::unique_ptr<Form>>& Forms() const { return forms_; }
  // Forms in drawing order (back to front): the main form first, then the
  // others as raised; topmost forms last.
  std::vector<Form*> FormsBackToFront() const;
  void Raise(Form& f);

  // Mouse input at screen point (x, y). Down goes to the frontmost element
  // under the pointer on the frontmost shown form there, and captures the
  // mouse: moves and the up go to the same element until the up. An up of
  // the left button over the element that got the down raises its click. A
  // second left down on the same element within 500 ms raises its
  // double-click instead of a click. A down on a picture box, text box or
  // list box gives it the keyboard focus; on a list box it also selects
  // the line under the pointer, if there is one.
  // Down and move over no element go to the form's own handlers.
  void MouseDown(double x, double y, int button, int shift, int64_t now_ms);
  void MouseMove(double x, double y, int buttons, int shift);
  void MouseUp(double x, double y, int button, int shift);
  // Key input: the form with the focus (the frontmost shown form) sees it
  // first when key_preview is set, then the element with the focus. A
  // focused, enabled text box then edits: Backspace removes the character
  // before the caret (raising on_change), Left, Right, Home and End move
  // the caret. Handlers thus see the text as it was before the key.
  void KeyDown(int key_code, int shift);
  void KeyUp(int key_code, int shift);
  // Typed text (UTF-8) goes into the focused, enabled text box at the
  // caret, which moves past it; raises its on_change. Carets count
  // characters, never parts of one.
  void TypeText(const std::string& utf8);

  // The system move of a window by its caption: releases the mouse
  // capture and lets the window system move form `f` with the pointer until
  // the left button is released. The renderer carries it out and then sets
  // `moving` back to nullptr.
  void BeginWindowMove(Form& f);

  Element* focus = nullptr;    // element with the keyboard focus
  Element* hovered = nullptr;  // element under the pointer (for tooltips)
  // The tooltip on show: text at screen point (x, y); empty text: none.
  struct Tooltip {
    std::string text;
    double x = 0, y = 0;
  } tooltip;
  Form* moving = nullptr;      // form being moved by BeginWindowMove
  // The window system moved form `f`: the main window by itself, or any
  // form at the end of a BeginWindowMove. Raised by the renderer.
  std::function<void(Form&)> on_form_moved;

 private:
  Form* FormAt(double x, double y) const;
  std::vector<std::unique_ptr<Form>> forms_;
  std::vector<Form*> raise_order_;
  Element* captured_ = nullptr;
  double captured_x0_ = 0, captured_y0_ = 0;
  Element* last_down_ = nullptr;
  int64_t last_down_ms_ = -1000000;
  bool dbl_pending_ = false;
  int click_button_ = 0;  // the button of the down the capture began with
};

}  // namespace tess
