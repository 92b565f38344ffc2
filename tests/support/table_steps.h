// Steps shared by the tests of the connection, the lobby link and leaving,
// on a ClientHarness: login answers, a hand in progress, lobby messages, and
// what the client's trace recorded (posts to the lobby, status lines,
// message boxes), which is written as things happen and so needs no waiting.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/client_harness.h"
#include "ui/mini_json.h"

namespace tess::test {

// Type 18: value(3) = result, value(1) = value1, byte 9 (low byte of
// value(0)) = timeout_limit, the notice address from byte 16.
ServerPacket LoginAnswer(int16_t result, int16_t value1 = 8, uint8_t timeout_limit = 0,
                         const std::string& url = "");

// Sends `answer` to the login the server received last and runs until the
// client has taken it (the program may end meanwhile). False when the
// answer could not be sent.
bool Answer(ClientHarness& h, const ServerPacket& answer);

// Starts with `line`, waits for the login packet and answers it; true when
// the client is at the table afterwards (TurnTimerAllowed).
bool LogInWith(ClientHarness& h, const std::string& line, const ServerPacket& answer);

// A hand is being played: what the new-hand message leaves behind
// (HandInProgress and HadHand), set directly, as that handler belongs to
// joining the table.
void BeginHand(ClientHarness& h);

// The lobby posts `msg` to the client's window; runs the client until it
// has handled it. False once the program has ended.
bool PostFromLobby(ClientHarness& h, uint32_t msg);

struct TraceEvent {
  int64_t ms = 0;  // virtual milliseconds since start-up
  std::string ev;
  JsonValue fields;
};
std::vector<TraceEvent> TraceEvents(const ClientHarness& h);
// The "text" of every event `ev` ("status", "msgbox"), in order.
std::vector<std::string> TraceTexts(const ClientHarness& h, const std::string& ev);
// The messages posted to the lobby (lobby_out with wparam 0, restore and
// minimise commands left out), in order.
std::vector<uint32_t> PostsToLobby(const ClientHarness& h);
// The window commands sent to the lobby: kScRestore or kScMinimize, in order.
std::vector<uint32_t> CommandsToLobby(const ClientHarness& h);

// A 13-field player's line for the harness's server with proxy kind,
// proxy host and port, and automatic mode (field 11) with the lobby title
// (12) and caption (13).
std::string PlayerLineWith(const ClientHarness& h, int proxy_kind, const std::string& proxy_host,
                           uint16_t proxy_port, bool auto_mode = false, const std::string& lobby_title = "",
                           const std::string& caption = "");

// Ends the client's program (reason kDeadlineReason) once `ms` of virtual
// time have passed, so a client that would wait for ever still lets the
// test end. Lives as long as the test's harness.
inline constexpr const char* kDeadlineReason = "test deadline";
class Deadline {
 public:
  Deadline(ClientHarness& h, int64_t ms);

 private:
  Timer timer_;
};

// The packets the server has received from index `from` on.
std::vector<ServerPacket> ReceivedFrom(const ClientHarness& h, size_t from);

}  // namespace tess::test
