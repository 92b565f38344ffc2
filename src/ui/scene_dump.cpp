#include "ui/scene_dump.h"

#include <signal.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/json.h"

namespace tess {
namespace {

std::string Number(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

const char* Bool(bool b) { return b ? "true" : "false"; }

const char* KindName(ElementKind k) {
  switch (k) {
    case ElementKind::kPictureBox: return "picturebox";
    case ElementKind::kImage: return "image";
    case ElementKind::kLabel: return "label";
    case ElementKind::kListBox: return "listbox";
    case ElementKind::kTextBox: return "textbox";
    case ElementKind::kBrowser: return "browser";
  }
  return "image";
}

std::string IndexOrNull(int index) { return index < 0 ? "null" : std::to_string(index); }

void AppendForm(std::string& out, const Form& f, int z) {
  out += "{\"form\":" + JsonQuote(f.name) + ",\"caption\":" + JsonQuote(f.caption);
  out += ",\"left\":" + Number(f.left) + ",\"top\":" + Number(f.top);
  out += ",\"width\":" + Number(f.width) + ",\"height\":" + Number(f.height);
  out += std::string(",\"visible\":") + Bool(f.visible);
  out += std::string(",\"window_state\":") +
         (f.window_state == WindowState::kMinimized ? "\"minimized\"" : "\"normal\"");
  out += ",\"opacity\":" + Number(f.opacity);
  out += std::string(",\"topmost\":") + Bool(f.topmost);
  out += ",\"z\":" + std::to_string(z) + "}";
}

void AppendElement(std::string& out, const Element& e, int z) {
  out += "{\"form\":" + JsonQuote(e.form ? e.form->name : "");
  out += ",\"name\":" + JsonQuote(e.name) + ",\"index\":" + IndexOrNull(e.index);
  out += std::string(",\"kind\":\"") + KindName(e.kind) + "\"";
  out += ",\"container\":" + (e.container ? JsonQuote(e.container->name) : std::string("null"));
  out += ",\"container_index\":" + (e.container ? IndexOrNull(e.container->index) : std::string("null"));
  out += ",\"left\":" + Number(e.left) + ",\"top\":" + Number(e.top);
  out += ",\"width\":" + Number(e.width) + ",\"height\":" + Number(e.height);
  out += std::string(",\"visible\":") + Bool(e.visible) + ",\"shown\":" + Bool(e.ShownOnForm());
  out += std::string(",\"enabled\":") + Bool(e.enabled);
  out += ",\"picture\":" + (e.picture ? std::to_string(e.picture->id) : std::string("null"));
  out += ",\"caption\":" + JsonQuote(e.caption);
  out += ",\"items\":[";
  for (size_t i = 0; i < e.items.size(); ++i) out += (i ? "," : "") + JsonQuote(e.items[i]);
  out += "],\"list_index\":" + std::to_string(e.list_index);
  out += ",\"forecolor\":" + std::to_string(e.fore_color) + ",\"backcolor\":" + std::to_string(e.back_color);
  out += std::string(",\"back_transparent\":") + Bool(e.back_transparent);
  out += ",\"font_size\":" + Number(e.font_size);
  out += ",\"tooltip\":" + JsonQuote(e.tooltip);
  out += ",\"z\":" + std::to_string(z) + "}";
}

}  // namespace

std::string SceneJson(const Desktop& desktop) {
  std::string out = "{\"screen\":{\"width\":" + std::to_string(desktop.screen_width) +
                    ",\"height\":" + std::to_string(desktop.screen_height) + "},\n\"tooltip\":{\"text\":" +
                    JsonQuote(desktop.tooltip.text) + ",\"x\":" + Number(desktop.tooltip.x) +
                    ",\"y\":" + Number(desktop.tooltip.y) + "},\n\"forms\":[";
  const auto order = desktop.FormsBackToFront();
  bool first = true;
  for (const auto& f : desktop.Forms()) {
    int z = 0;
    while (z < static_cast<int>(order.size()) && order[z] != f.get()) ++z;
    out += first ? "\n" : ",\n";
    first = false;
    AppendForm(out, *f, z);
  }
  out += "],\n\"elements\":[";
  first = true;
  for (const auto& f : desktop.Forms()) {
    const auto& elements = f->Elements();
    for (size_t z = 0; z < elements.size(); ++z) {
      out += first ? "\n" : ",\n";
      first = false;
      AppendElement(out, *elements[z], static_cast<int>(z));
    }
  }
  out += "]}\n";
  return out;
}

bool WriteSceneFile(const Desktop& desktop, const std::string& path) {
  const std::string json = SceneJson(desktop);
  const std::string tmp = path + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(json.data(), 1, json.size(), f) == json.size();
  ok = std::fclose(f) == 0 && ok;
  if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(tmp.c_str());
  return ok;
}

SceneDumpHook::SceneDumpHook(const Desktop& desktop, EventLoop& loop) : desktop_(desktop) {
  const char* path = std::getenv("TESSALY_SCENE");
  if (!path || !*path) return;
  path_ = path;
  signal_ = std::make_unique<SignalWatch>(loop, std::initializer_list<int>{SIGUSR1}, [this](int) { Dump(); });
}

SceneDumpHook::~SceneDumpHook() {
  signal_.reset();
  Dump();
}

void SceneDumpHook::Dump() {
  if (Active() && !WriteSceneFile(desktop_, path_))
    std::fprintf(stderr, "tessaly: cannot write scene %s\n", path_.c_str());
}

}  // namespace tess
