#include "support/client_harness.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/program_end.h"
#include "core/startup.h"
#include "platform/silent_sound_device.h"
#include "support/temp_dir.h"

namespace tess::test {

ClientHarness::ClientHarness(const std::string& lobby_title)
    : runtime_dir(MakeTempDir("run")), home_dir(MakeTempDir("home")) {
  chmod(runtime_dir.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime_dir.c_str(), 1);
  if (!lobby_title.empty()) lobby = std::make_unique<FakeLobby>(lobby_title);
  trace_path_ = home_dir + "/trace.jsonl";
  ClientOptions options;
  options.trace_path = trace_path_;
  options.auto_message_box = true;
  options.program_dir = home_dir;
  client = std::make_unique<Client>(loop, options);
  // Sounds are recorded, never played.
  client->sound = std::make_unique<SilentSoundDevice>();
}

ClientHarness::~ClientHarness() {
  client.reset();
  lobby.reset();
  std::error_code ignored;
  std::filesystem::remove_all(runtime_dir, ignored);
  std::filesystem::remove_all(home_dir, ignored);
}

std::string ClientHarness::PlayerLine(const std::string& account) const {
  return account + "$key$127.0.0.1$" + std::to_string(server.Port()) + "$一号桌$0$$0$$$0$$$";
}

bool ClientHarness::Do(const std::function<void(Client&)>& f) {
  if (ended) return false;
  try {
    f(*client);
    return true;
  } catch (const ProgramEnd& end) {
    ended = end.why;
    return false;
  }
}

bool ClientHarness::Start(const std::string& command_line) {
  return Do([&](Client& c) { Form_Load(c, command_line); });
}

bool ClientHarness::RunFor(int64_t ms) {
  return Do([&](Client&) { loop.WaitProcessing(ms); });
}

bool ClientHarness::RunUntil(const std::function<bool()>& done, int64_t timeout_ms) {
  bool result = false;
  Do([&](Client&) { result = loop.WaitUntil(done, timeout_ms); });
  return result;
}

bool ClientHarness::RunUntilReceived(size_t n, int64_t timeout_ms) {
  // The server reads on its own thread: give it real time between passes.
  const int64_t end = loop.NowMs() + timeout_ms;
  while (!ended && server.ReceivedCount() < n && loop.NowMs() < end) {
    RunFor(kTickMs);
    if (server.ReceivedCount() < n) server.WaitForPackets(n, std::chrono::milliseconds(2));
  }
  return server.ReceivedCount() >= n;
}

std::string ClientHarness::SpectatorLine(const std::string& watched_user_id, const std::string& account) const {
  return account + "$key$127.0.0.1$" + std::to_string(server.Port()) + "$一号桌$" + watched_user_id;
}

bool ClientHarness::LogIn(int16_t value1) { return LogInWithLine(PlayerLine(), value1); }

bool ClientHarness::LogInWithLine(const std::string& line, int16_t value1) {
  if (!Start(line) || !RunUntilReceived(1)) return false;
  ServerPacket answer;
  answer.type = 18;
  answer.value = {0, value1, 0, 1};
  server.Send(answer);
  return RunUntil([&] { return client->tick.TurnTimerAllowed; });
}

std::string ClientHarness::TraceText() const {
  std::ifstream in(trace_path_);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace tess::test
