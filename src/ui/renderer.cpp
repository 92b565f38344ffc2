#include "ui/renderer.h"

#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "ui/scene_painter.h"
#include "ui/sdl_input.h"

namespace tess {
namespace {

// The window system is asked for input every 10 ms while the user is at
// work (for a second after the last event), every 50 ms otherwise: an idle
// client wakes up no more often than its tick.
constexpr int kBusyPumpWaitMs = 10;
constexpr int kIdlePumpWaitMs = 50;
constexpr int64_t kBusyAfterInputMs = 1000;

bool EnvSet(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

std::string TimestampedScreenshotName() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  char name[64];
  std::snprintf(name, sizeof name, "tessaly-%s-%03ld.png", stamp, ts.tv_nsec / 1000000);
  return name;
}

}  // namespace

SdlRenderer::SdlRenderer(Desktop& desktop, EventLoop& loop) : desktop_(desktop), loop_(loop) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The frame is drawn in software already: the window shows it through the
  // driver's plain framebuffer rather than through a GPU renderer of its own.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (!EnvSet("SDL_VIDEODRIVER") && !EnvSet("DISPLAY") && !EnvSet("WAYLAND_DISPLAY"))
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  video_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (!video_) {
    std::fprintf(stderr, "tessaly: video driver failed (%s); trying offscreen\n", SDL_GetError());
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
    video_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!video_) std::fprintf(stderr, "tessaly: no video (%s); drawing into memory only\n", SDL_GetError());
  }
  SDL_DisplayMode mode;
  if (video_ && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
    desktop_.screen_width = mode.w;
    desktop_.screen_height = mode.h;
  }
  fonts_ = TTF_Init() == 0;
  if (const char* shot = std::getenv("TESSALY_SCREENSHOT"); shot && *shot) {
    screenshot_path_ = shot;
    const char* after = std::getenv("TESSALY_SCREENSHOT_AFTER_MS");
    long ms = after ? std::strtol(after, nullptr, 10) : 0;
    screenshot_due_ms_ = loop_.NowMs() + (ms > 0 ? ms : 0);
  }
  last_input_ms_ = loop_.NowMs();
  pump_wait_ms_ = kBusyPumpWaitMs;
  source_id_ = loop_.AddSource([this] { Service(/*look=*/false); }, pump_wait_ms_, EventLoop::SourceKind::kWatcher);
}

SdlRenderer::~SdlRenderer() {
  loop_.RemoveSource(source_id_);
  painter_.reset();
  if (frame_renderer_) SDL_DestroyRenderer(frame_renderer_);
  if (frame_) SDL_FreeSurface(frame_);
  if (window_) SDL_DestroyWindow(window_);
  if (cursor_) SDL_FreeCursor(cursor_);
  if (fonts_) TTF_Quit();
  if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::string SdlRenderer::VideoDriver() const {
  const char* name = video_ ? SDL_GetCurrentVideoDriver() : nullptr;
  return name ? name : "";
}

Form* SdlRenderer::MainForm() const {
  return desktop_.Forms().empty() ? nullptr : desktop_.Forms().front().get();
}

void SdlRenderer::Pump() { Service(/*look=*/true); }

void SdlRenderer::Service(bool look) {
  if (HandlePendingEvents()) last_input_ms_ = loop_.NowMs();
  const int wait = loop_.NowMs() - last_input_ms_ < kBusyAfterInputMs ? kBusyPumpWaitMs : kIdlePumpWaitMs;
  if (wait != pump_wait_ms_) loop_.SetSourceMaxWait(source_id_, pump_wait_ms_ = wait);
  Form* main = MainForm();
  if (!main) return;
  if (UpdateTooltip()) look = true;
  FollowMainForm(*main);
  FollowTextFocus();
  // Only handlers and code outside the loop change what is drawn: while
  // none has run, the scene is not even looked at.
  const uint64_t runs = loop_.HandlerRuns();
  if (runs != seen_runs_ || loop_.InHandler()) look = true;
  seen_runs_ = runs;
  if ((look || !frame_valid_) && RedrawIfChanged()) Present();
  if (!screenshot_path_.empty() && loop_.NowMs() >= screenshot_due_ms_) {
    std::string path = std::move(screenshot_path_);
    screenshot_path_.clear();
    if (!SaveScreenshot(path)) std::fprintf(stderr, "tessaly: cannot write screenshot %s\n", path.c_str());
  }
}

bool SdlRenderer::HandlePendingEvents() {
  SDL_Event ev;
  // While the loop blocks, input stays queued in the window system.
  if (!video_ || loop_.Blocked() || !SDL_PollEvent(&ev)) return false;
  // Input reaches the program's handlers, which may change anything.
  loop_.RunHandler([&] {
    do HandleEvent(ev);
    while (video_ && SDL_PollEvent(&ev));
  });
  return true;
}

bool SdlRenderer::SaveScreenshot(const std::string& path) {
  Form* main = MainForm();
  if (!main) return false;
  FollowMainForm(*main);
  if (RedrawIfChanged()) Present();
  if (!frame_) return false;
  // Written under a temporary name, so a watcher never reads half a file.
  std::string tmp = path + ".tmp";
  if (IMG_SavePNG(frame_, tmp.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

void SdlRenderer::FollowMainForm(Form& main) {
  const int x = WholePixels(main.left), y = WholePixels(main.top);
  const int w = std::max(1, WholePixels(main.width)), h = std::max(1, WholePixels(main.height));
  if (!EnsureFrame(w, h) || !video_) return;
  if (!window_) {
    window_ = SDL_CreateWindow(main.caption.c_str(), x, y, w, h, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (!window_) {
      std::fprintf(stderr, "tessaly: cannot open the window (%s); drawing into memory only\n", SDL_GetError());
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      video_ = false;
      return;
    }
    applied_title_ = main.caption;
    applied_x_ = x, applied_y_ = y, applied_w_ = w, applied_h_ = h;
    applied_shown_ = false;
    applied_state_ = WindowState::kNormal;
    SDL_StopTextInput();  // until a text box has the focus
  }
  if (main.caption != applied_title_) {
    SDL_SetWindowTitle(window_, main.caption.c_str());
    applied_title_ = main.caption;
  }
  if (main.icon != applied_icon_) {
    applied_icon_ = main.icon;
    if (main.icon && main.icon->width > 0 && main.icon->height > 0 &&
        main.icon->argb.size() >= static_cast<size_t>(main.icon->width) * main.icon->height) {
      // The pixels are 0xAARRGGBB words, as SDL's ARGB8888 reads them.
      SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(
          const_cast<uint32_t*>(main.icon->argb.data()), main.icon->width, main.icon->height, 32,
          main.icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
      if (s) {
        SDL_SetWindowIcon(window_, s);
        SDL_FreeSurface(s);
      }
    }
  }
  if (x != applied_x_ || y != applied_y_) {
    SDL_SetWindowPosition(window_, x, y);
    applied_x_ = x, applied_y_ = y;
  }
  if (w != applied_w_ || h != applied_h_) {
    SDL_SetWindowSize(window_, w, h);
    applied_w_ = w, applied_h_ = h;
  }
  if (main.visible != applied_shown_) {
    if (main.visible) SDL_ShowWindow(window_);
    else SDL_HideWindow(window_);
    applied_shown_ = main.visible;
    Present();
  }
  if (main.window_state != applied_state_) {
    if (main.window_state == WindowState::kMinimized) SDL_MinimizeWindow(window_);
    else SDL_RestoreWindow(window_);
    applied_state_ = main.window_state;
  }
}

void SdlRenderer::FollowTextFocus() {
  const Element* e = desktop_.focus;
  const bool typing = window_ && e && e->kind == ElementKind::kTextBox && e->enabled && e->ShownOnForm();
  if (typing && e != text_focus_) {
    SDL_Rect box{WholePixels(e->form->left + e->FormLeft()) - applied_x_,
                 WholePixels(e->form->top + e->FormTop()) - applied_y_, WholePixels(e->width),
                 WholePixels(e->height)};
    SDL_SetTextInputRect(&box);
    SDL_StartTextInput();
  } else if (!typing && text_focus_) {
    SDL_StopTextInput();
  }
  text_focus_ = typing ? e : nullptr;
}

bool SdlRenderer::EnsureFrame(int width, int height) {
  if (frame_ && frame_->w == width && frame_->h == height) return true;
  painter_.reset();
  if (frame_renderer_) SDL_DestroyRenderer(frame_renderer_);
  if (frame_) SDL_FreeSurface(frame_);
  frame_renderer_ = nullptr;
  frame_valid_ = false;
  frame_ = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
  if (!frame_) return false;
  SDL_SetSurfaceBlendMode(frame_, SDL_BLENDMODE_NONE);
  frame_renderer_ = SDL_CreateSoftwareRenderer(frame_);
  if (!frame_renderer_) {
    SDL_FreeSurface(frame_);
    frame_ = nullptr;
    return false;
  }
  painter_ = std::make_unique<ScenePainter>(frame_renderer_);
  return true;
}

bool SdlRenderer::RedrawIfChanged() {
  Form* main = MainForm();
  if (!main || !painter_) return false;
  uint64_t hash = DrawableStateHash(desktop_, *main);
  ++state_checks_;
  if (frame_valid_ && hash == frame_hash_) return false;
  painter_->Paint(desktop_, *main);
  frame_hash_ = hash;
  frame_valid_ = true;
  ++redraws_;
  return true;
}

void SdlRenderer::Present() {
  if (!window_ || !frame_ || !frame_valid_) return;
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;
  SDL_BlitSurface(frame_, nullptr, surface, nullptr);
  SDL_UpdateWindowSurface(window_);
}

void SdlRenderer::HandleEvent(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_WINDOWEVENT:
      HandleWindowEvent(ev.window);
      break;
    case SDL_MOUSEMOTION:
      HandleMouseMotion(ev.motion);
      break;
    case SDL_MOUSEBUTTONDOWN: {
      pointer_x_ = applied_x_ + ev.button.x, pointer_y_ = applied_y_ + ev.button.y;
      int button = ButtonFromSdl(ev.button.button);
      if (button && !desktop_.moving)
        desktop_.MouseDown(pointer_x_, pointer_y_, button, ShiftFromSdl(SDL_GetModState()), loop_.NowMs());
      break;
    }
    case SDL_MOUSEBUTTONUP: {
      pointer_x_ = applied_x_ + ev.button.x, pointer_y_ = applied_y_ + ev.button.y;
      int button = ButtonFromSdl(ev.button.button);
      if (desktop_.moving) {
        Form* moved = desktop_.moving;
        if (button == kButtonLeft) desktop_.moving = nullptr;
        move_started_ = false;
        if (!desktop_.moving && desktop_.on_form_moved) desktop_.on_form_moved(*moved);
      } else if (button) {
        desktop_.MouseUp(pointer_x_, pointer_y_, button, ShiftFromSdl(SDL_GetModState()));
      }
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int code = KeyCodeFromSdl(ev.key.keysym.sym);
      if (code == kKeyF12) {
        if (ev.type == SDL_KEYDOWN && !ev.key.repeat) {
          std::string name = TimestampedScreenshotName();
          if (!SaveScreenshot(name)) std::fprintf(stderr, "tessaly: cannot write screenshot %s\n", name.c_str());
        }
      } else if (code && ev.type == SDL_KEYDOWN) {
        desktop_.KeyDown(code, ShiftFromSdl(ev.key.keysym.mod));
      } else if (code) {
        desktop_.KeyUp(code, ShiftFromSdl(ev.key.keysym.mod));
      }
      break;
    }
    case SDL_TEXTINPUT:
      desktop_.TypeText(ev.text.text);
      break;
    default:
      break;
  }
}

void SdlRenderer::HandleWindowEvent(const SDL_WindowEvent& ev) {
  Form* main = MainForm();
  if (!window_ || !main || ev.windowID != SDL_GetWindowID(window_)) return;
  switch (ev.event) {
    case SDL_WINDOWEVENT_CLOSE:
      if (main->on_close_request) main->on_close_request(*main);
      else loop_.Quit();
      break;
    case SDL_WINDOWEVENT_MOVED:
      // Our own moves come back as events too; only a position we did not
      // ask for is the window system's, and the form follows it.
      if (!desktop_.moving && (ev.data1 != applied_x_ || ev.data2 != applied_y_)) {
        main->left = applied_x_ = ev.data1;
        main->top = applied_y_ = ev.data2;
        if (desktop_.on_form_moved) desktop_.on_form_moved(*main);
      }
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      main->window_state = applied_state_ = WindowState::kMinimized;
      break;
    case SDL_WINDOWEVENT_RESTORED: {
      // Our own restores come back as events too; only the window system's
      // restore of a window the program holds minimised is news.
      const bool theirs = main->window_state == WindowState::kMinimized;
      main->window_state = applied_state_ = WindowState::kNormal;
      if (theirs && main->on_restored) main->on_restored(*main);
      break;
    }
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      Present();
      break;
    default:
      break;
  }
}

void SdlRenderer::HandleMouseMotion(const SDL_MouseMotionEvent& ev) {
  const int x = applied_x_ + ev.x, y = applied_y_ + ev.y;
  if (Form* f = desktop_.moving) {
    if (!move_started_) {
      // The move starts from where the pointer was when it was asked for.
      move_started_ = true;
      move_pointer_x_ = pointer_x_, move_pointer_y_ = pointer_y_;
      move_form_left_ = f->left, move_form_top_ = f->top;
    }
    f->left = move_form_left_ + (x - move_pointer_x_);
    f->top = move_form_top_ + (y - move_pointer_y_);
  } else {
    move_started_ = false;
    desktop_.MouseMove(x, y, ButtonsFromSdlState(ev.state), ShiftFromSdl(SDL_GetModState()));
  }
  pointer_x_ = x, pointer_y_ = y;
  desktop_.tooltip.text.clear();
  last_motion_ms_ = loop_.NowMs();
  ShowPointerOf(desktop_.hovered);
}

void SdlRenderer::ShowPointerOf(const Element* e) {
  // The toolkit's pointer numbers: 15 the four-way move, 99 the hand; every
  // other value the arrow.
  const int shape = e ? e->mouse_pointer : 0;
  SDL_SystemCursor want = shape == 15 ? SDL_SYSTEM_CURSOR_SIZEALL : shape == 99 ? SDL_SYSTEM_CURSOR_HAND : SDL_SYSTEM_CURSOR_ARROW;
  if (!video_ || want == cursor_shape_) return;
  SDL_Cursor* cursor = SDL_CreateSystemCursor(want);
  if (!cursor) return;
  SDL_SetCursor(cursor);
  if (cursor_) SDL_FreeCursor(cursor_);
  cursor_ = cursor;
  cursor_shape_ = want;
}

bool SdlRenderer::UpdateTooltip() {
  const Element* e = desktop_.hovered;
  const bool due = e && !e->tooltip.empty() && e->ShownOnForm() && loop_.NowMs() - last_motion_ms_ >= kTooltipDelayMs;
  if (!due || desktop_.tooltip.text == e->tooltip) return false;
  desktop_.tooltip = Desktop::Tooltip{e->tooltip, static_cast<double>(pointer_x_ + 12), static_cast<double>(pointer_y_ + 18)};
  return true;
}

}  // namespace tess
