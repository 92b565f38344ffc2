// The window system: one SDL window showing a Desktop, and its input.
//
// SdlRenderer opens a borderless SDL window for the main form (the first
// form added to the Desktop) and keeps it in step with the form on every
// pump: title = caption, icon = icon, position = left/top, size = width/height (rounded),
// shown while the form is visible, minimised or restored with window_state.
// The other forms are drawn inside the same window over the main form
// (ui/scene_painter.h). Changes made by the window system flow back: a
// window moved or minimised by it updates the form.
//
// Drawing happens into a frame held in memory, which is then copied to the
// window. It is redrawn only when DrawableStateHash changes. The loop's
// pumps compute the hash only when something can have changed it: a
// handler ran or is running (EventLoop::HandlerRuns), code outside the loop
// entered it, or the window system sent input or the tooltip fell due. An
// idle client therefore neither hashes nor draws. Pump called directly
// always computes it.
//
// Input: mouse buttons, motion, keys and typed text go to the Desktop's
// MouseDown/Move/Up, KeyDown/KeyUp and TypeText in screen coordinates (the
// window's position added in). Closing the window calls the main form's
// on_close_request, or quits the loop when it has none. While
// Desktop::moving names a form, pointer motion moves that form instead and
// the release of the left button ends the move. Desktop::on_form_moved is
// raised at the end of such a move and when the window system moved the
// main window by itself. F12 writes a screenshot
// named tessaly-YYYYMMDD-HHMMSS-mmm.png into the current directory and is
// not passed on. The pointer takes the shape of the hovered element's
// mouse_pointer; an element's tooltip shows once the pointer has rested on
// it for 600 ms, until the pointer moves (Desktop::tooltip). A restore by
// the window system calls the main form's on_restored. Text input, and
// with it the platform's input method (for typing Chinese), is on exactly
// while an enabled, shown text box has the keyboard focus; the input
// method's window is placed at that box.
//
// Environment: TESSALY_SCREENSHOT=FILE saves a screenshot to FILE once,
// TESSALY_SCREENSHOT_AFTER_MS=N milliseconds (default 0) after the renderer
// was made, by the loop's clock. With no display (neither DISPLAY nor
// WAYLAND_DISPLAY set, and no SDL_VIDEODRIVER chosen) SDL's offscreen
// driver is used; if no video driver starts at all, the renderer still
// draws into its frame and takes screenshots, with no window and no input.
// SDL's own SIGINT/SIGTERM handlers are not installed, and the window
// surface is SDL's plain framebuffer (SDL_FRAMEBUFFER_ACCELERATION=0 unless
// the environment says otherwise).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/event_loop.h"
#include "ui/elements.h"

namespace tess {

class ScenePainter;

class SdlRenderer {
 public:
  // Starts SDL video and fonts, sets desktop.screen_width/height from the
  // display when there is one, and pumps itself on `loop` at least every
  // 10 ms while window-system input arrives, and at least every 50 ms once
  // there has been none for a second. `desktop` and `loop` must outlive the
  // renderer.
  SdlRenderer(Desktop& desktop, EventLoop& loop);
  ~SdlRenderer();
  SdlRenderer(const SdlRenderer&) = delete;
  SdlRenderer& operator=(const SdlRenderer&) = delete;

  // One pump: handles pending window-system events, follows the main form,
  // redraws and shows the frame if the drawable state changed, and takes a
  // due TESSALY_SCREENSHOT. For code outside the loop (tests); the loop
  // pumps the renderer itself.
  void Pump();

  // Brings the frame up to date and writes it to `path` as PNG. False when
  // there is no main form yet or the file cannot be written.
  bool SaveScreenshot(const std::string& path);

  // The name of the SDL video driver in use, or "" when none started.
  std::string VideoDriver() const;
  bool HasWindow() const { return window_ != nullptr; }
  // The window as SDL reports it; nullptr before the main form exists or
  // with no video driver. For tests and diagnostics.
  SDL_Window* Window() const { return window_; }
  // Frames drawn so far, and the times the drawable state was hashed to
  // learn whether to draw one.
  uint64_t Redraws() const { return redraws_; }
  uint64_t StateChecks() const { return state_checks_; }
  // The longest the loop now waits between two pumps.
  int PumpWaitMs() const { return pump_wait_ms_; }

 private:
  Form* MainForm() const;
  // A pump; `look`: compute the hash even if no handler has run.
  void Service(bool look);
  // Hands the window system's pending events to the Desktop; false when
  // there were none.
  bool HandlePendingEvents();
  void HandleEvent(const SDL_Event& ev);
  void HandleWindowEvent(const SDL_WindowEvent& ev);
  void HandleMouseMotion(const SDL_MouseMotionEvent& ev);
  void ShowPointerOf(const Element* e);
  // True when the tooltip changed.
  bool UpdateTooltip();
  void FollowMainForm(Form& main);
  // Text input on while an enabled, shown text box has the focus.
  void FollowTextFocus();
  bool EnsureFrame(int width, int height);
  bool RedrawIfChanged();
  void Present();

  Desktop& desktop_;
  EventLoop& loop_;
  int source_id_ = 0;
  bool video_ = false;
  bool fonts_ = false;

  SDL_Window* window_ = nullptr;
  // What the window was last set to.
  std::string applied_title_;
  PictureRef applied_icon_;
  int applied_x_ = 0, applied_y_ = 0, applied_w_ = 0, applied_h_ = 0;
  bool applied_shown_ = false;
  const Element* text_focus_ = nullptr;  // the text box text input was started for
  WindowState applied_state_ = WindowState::kNormal;

  SDL_Surface* frame_ = nullptr;
  SDL_Renderer* frame_renderer_ = nullptr;
  std::unique_ptr<ScenePainter> painter_;
  bool frame_valid_ = false;
  uint64_t frame_hash_ = 0;
  uint64_t redraws_ = 0;
  uint64_t state_checks_ = 0;
  uint64_t seen_runs_ = 0;  // EventLoop::HandlerRuns at the last pump
  int pump_wait_ms_ = 0;  // set by the constructor
  int64_t last_input_ms_ = 0;  // the last window-system event

  // The pointer on the screen, from the last mouse event.
  int pointer_x_ = 0, pointer_y_ = 0;
  // A move of Desktop::moving under way: where it started.
  bool move_started_ = false;
  int move_pointer_x_ = 0, move_pointer_y_ = 0;
  double move_form_left_ = 0, move_form_top_ = 0;

  std::string screenshot_path_;  // TESSALY_SCREENSHOT, until taken
  // The pointer rests this long over an element before its tooltip shows.
  static constexpr int64_t kTooltipDelayMs = 600;
  int64_t last_motion_ms_ = 0;
  SDL_Cursor* cursor_ = nullptr;
  SDL_SystemCursor cursor_shape_ = SDL_SYSTEM_CURSOR_ARROW;
  int64_t screenshot_due_ms_ = 0;
};

}  // namespace tess
