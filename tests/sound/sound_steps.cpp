#include "sound/sound_steps.h"

#include <filesystem>

namespace tess::test {

std::string SmallWave() {
  std::vector<double> levels(2205);
  for (size_t i = 0; i < levels.size(); ++i) levels[i] = (i / 20) % 2 ? 0.1 : -0.1;
  return WaveBytes({22050, 1, 16}, levels);
}

size_t TraceMark(const ClientHarness& h) { return TraceEvents(h).size(); }

std::vector<PlayedSound> SoundsPlayed(const ClientHarness& h, size_t from) {
  std::vector<PlayedSound> played;
  const std::vector<TraceEvent> events = TraceEvents(h);
  for (size_t i = from; i < events.size(); ++i)
    if (events[i].ev == "sound") played.push_back({events[i].fields["file"].text, events[i].fields["loop"].boolean});
  return played;
}

int SoundStops(const ClientHarness& h, size_t from) {
  int stops = 0;
  const std::vector<TraceEvent> events = TraceEvents(h);
  for (size_t i = from; i < events.size(); ++i) stops += events[i].ev == "sound_stop";
  return stops;
}

SilentSoundDevice& Silent(ClientHarness& h) { return dynamic_cast<SilentSoundDevice&>(*h.client->sound); }

std::vector<std::string> FilesOpened(ClientHarness& h) {
  std::vector<std::string> files;
  for (const SoundCall& call : Silent(h).Calls())
    if (call.kind == SoundCall::kCreate) files.push_back(call.file);
  return files;
}

std::string UsePrivateCommon(ClientHarness& h) {
  const std::string common = h.home_dir + "/common";
  std::filesystem::create_directories(h.home_dir + "/bin");
  std::filesystem::create_directories(common + "/music");
  std::filesystem::create_directories(common + "/mj");
  h.client->options.program_dir = h.home_dir + "/bin";
  return common;
}

void Click(ClientHarness& h, const Element& e) {
  // Clicks a second apart never make a double click.
  static int64_t at_ms = 0;
  at_ms += 1000;
  const double x = e.form->left + e.FormLeft() + e.width / 2;
  const double y = e.form->top + e.FormTop() + e.height / 2;
  h.client->desktop.MouseDown(x, y, kButtonLeft, 0, at_ms);
  h.client->desktop.MouseUp(x, y, kButtonLeft, 0);
}

}  // namespace tess::test
