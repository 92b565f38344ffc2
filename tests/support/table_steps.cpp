#include "support/table_steps.h"

#include <sstream>

#include "core/program_end.h"
#include "platform/lobby_channel.h"

namespace tess::test {

ServerPacket LoginAnswer(int16_t result, int16_t value1, uint8_t timeout_limit, const std::string& url) {
  ServerPacket p;
  p.type = 18;
  p.value = {timeout_limit, value1, 0, result};
  p.Text(kBodyOffset, url);
  return p;
}

bool Answer(ClientHarness& h, const ServerPacket& answer) {
  const size_t before = TraceEvents(h).size();
  if (!h.server.Send(answer)) return false;
  // Taken once a "recv" of this type is in the trace (or the program ended).
  h.RunUntil([&] {
    const auto events = TraceEvents(h);
    for (size_t i = before; i < events.size(); ++i)
      if (events[i].ev == "recv") return true;
    return false;
  });
  h.RunFor(kTickMs);
  return true;
}

bool LogInWith(ClientHarness& h, const std::string& line, const ServerPacket& answer) {
  const size_t before = h.server.ReceivedCount();
  if (!h.Start(line) || !h.RunUntilReceived(before + 1, 30000)) return false;
  return Answer(h, answer) && !h.ended && h.client->tick.TurnTimerAllowed;
}

void BeginHand(ClientHarness& h) {
  h.client->game.HandInProgress = true;
  h.client->conn.HadHand = true;
}

bool PostFromLobby(ClientHarness& h, uint32_t msg) {
  // The datagram is in the client's queue when PostTo returns: one pass takes it.
  if (!h.lobby || !h.lobby->PostTo(h.client->window_channel->Title(), msg)) return false;
  return h.RunFor(kTickMs);
}

std::vector<TraceEvent> TraceEvents(const ClientHarness& h) {
  std::vector<TraceEvent> events;
  std::istringstream in(h.TraceText());
  for (std::string line; std::getline(in, line);) {
    auto json = JsonReader::Parse(line);
    if (!json) continue;
    events.push_back(TraceEvent{static_cast<int64_t>((*json)["ms"].number), (*json)["ev"].text, *json});
  }
  return events;
}

std::vector<std::string> TraceTexts(const ClientHarness& h, const std::string& ev) {
  std::vector<std::string> texts;
  for (const TraceEvent& e : TraceEvents(h))
    if (e.ev == ev) texts.push_back(e.fields["text"].text);
  return texts;
}

std::vector<uint32_t> PostsToLobby(const ClientHarness& h) {
  std::vector<uint32_t> posts;
  for (const TraceEvent& e : TraceEvents(h))
    if (e.ev == "lobby_out" && e.fields["msg"].number != kWmSysCommand)
      posts.push_back(static_cast<uint32_t>(e.fields["msg"].number));
  return posts;
}

std::vector<uint32_t> CommandsToLobby(const ClientHarness& h) {
  std::vector<uint32_t> commands;
  for (const TraceEvent& e : TraceEvents(h))
    if (e.ev == "lobby_out" && e.fields["msg"].number == kWmSysCommand)
      commands.push_back(static_cast<uint32_t>(e.fields["wparam"].number));
  return commands;
}

std::string PlayerLineWith(const ClientHarness& h, int proxy_kind, const std::string& proxy_host,
                           uint16_t proxy_port, bool auto_mode, const std::string& lobby_title,
                           const std::string& caption) {
  return "alice$key$127.0.0.1$" + std::to_string(h.server.Port()) + "$一号桌$" + std::to_string(proxy_kind) + "$" +
         proxy_host + "$" + std::to_string(proxy_port) + "$$$" + (auto_mode ? "1" : "0") + "$" + lobby_title + "$" +
         caption + "$";
}

Deadline::Deadline(ClientHarness& h, int64_t ms) : timer_(h.loop, "test deadline") {
  timer_.SetInterval(static_cast<int>(ms));
  timer_.OnTimer = [this, &h] {
    timer_.SetEnabled(false);
    EndProgram(*h.client, kDeadlineReason);
  };
  timer_.SetEnabled(true);
}

std::vector<ServerPacket> ReceivedFrom(const ClientHarness& h, size_t from) {
  auto all = h.server.Received();
  return std::vector<ServerPacket>(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
}

}  // namespace tess::test
