// tessaly-practice-server: a local game server for one practice table, so
// that the client can be played and tested without the real server.
//
//   tessaly-practice-server [--port N] [--bind ADDR] [--seed N] [--wall-file F]
//       [--hands N] [--turn-seconds N] [--timeout-limit N] [--answer-ms N]
//       [--pace-ms N] [--dice-ms N] [--deal-ms N] [--ready-ms N] [--key K]
//       [--notice URL] [--roster F] [--unit N] [--log F] [--events]
//
// Prints "listening PORT" once it accepts connections, then one "hand …"
// line per finished hand (also appended to --log) and, with --events, the
// table's "event …" lines. Ends when the hand limit has been played (after
// announcing it) or on SIGINT/SIGTERM.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <string>

#include "network.h"
#include "table.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void OnStop(int) { g_stop = 1; }

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int Usage(const std::string& why) {
  std::fprintf(stderr, "tessaly-practice-server: %s\n", why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tess::practice;
  std::map<std::string, std::string> opt;
  bool events = false;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--events") {
      events = true;
    } else if (flag.rfind("--", 0) == 0 && i + 1 < argc) {
      opt[flag.substr(2)] = argv[++i];
    } else {
      return Usage("unknown argument " + flag);
    }
  }
  auto number = [&](const std::string& name, long fallback) {
    auto it = opt.find(name);
    return it == opt.end() ? fallback : std::strtol(it->second.c_str(), nullptr, 10);
  };

  TableOptions o;
  o.turn_seconds = static_cast<int>(number("turn-seconds", o.turn_seconds));
  o.timeout_limit = static_cast<int>(number("timeout-limit", o.timeout_limit));
  o.answer_ms = static_cast<int>(number("answer-ms", o.turn_seconds * 1000L + 2000));
  o.pace_ms = static_cast<int>(number("pace-ms", o.pace_ms));
  o.dice_ms = static_cast<int>(number("dice-ms", o.dice_ms));
  o.deal_ms = static_cast<int>(number("deal-ms", o.deal_ms));
  o.ready_ms = static_cast<int>(number("ready-ms", o.ready_ms));
  o.hands = static_cast<int>(number("hands", 0));
  o.seed = static_cast<uint32_t>(number("seed", static_cast<long>(std::time(nullptr) % 100000)));
  o.unit = number("unit", o.unit);
  o.key = opt["key"];
  o.notice = opt["notice"];
  if (opt.count("roster")) {
    auto roster = ReadRoster(opt["roster"]);
    if (!roster) return Usage("cannot read the roster " + opt["roster"]);
    o.roster = *roster;
  }
  if (opt.count("wall-file")) {
    std::ifstream in(opt["wall-file"]);
    if (!in) return Usage("cannot read the wall file " + opt["wall-file"]);
    int line_number = 0;
    for (std::string line; std::getline(in, line);) {
      ++line_number;
      if (line.empty() || line[0] == '#') continue;
      auto wall = ParseWall(line);
      if (!wall) return Usage("wall file line " + std::to_string(line_number) + " is not a full set of 136 tiles");
      o.walls.push_back(*wall);
    }
  }
  std::FILE* log = opt.count("log") ? std::fopen(opt["log"].c_str(), "a") : nullptr;

  Network net;
  std::string error;
  if (!net.Listen(opt.count("bind") ? opt["bind"] : "127.0.0.1", static_cast<uint16_t>(number("port", 0)), &error))
    return Usage(error);
  struct sigaction sa {};
  sa.sa_handler = OnStop;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  std::printf("listening %u seed %u\n", net.Port(), o.seed);
  std::fflush(stdout);

  Table table(o);
  int64_t over_at = 0;
  auto deliver = [&] {
    for (const Outgoing& out : table.TakeOutbox()) net.Send(out.conn, out.packet);
    for (int conn : table.TakeDrops()) net.Close(conn);
    for (const std::string& line : table.TakeLog()) {
      const bool hand_line = line.rfind("hand ", 0) == 0;
      if (hand_line || events) std::printf("%s\n", line.c_str());
      if (hand_line && log) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fflush(log);
      }
    }
    std::fflush(stdout);
  };
  while (!g_stop) {
    const int64_t now = NowMs();
    const int64_t due = table.NextDue();
    const int wait = due == INT64_MAX ? 1000 : static_cast<int>(std::clamp<int64_t>(due - now, 0, 1000));
    net.Poll(wait, [&](int conn, const tess::Packet& p) { table.Receive(conn, p, NowMs()); },
             [&](int conn) { table.Disconnect(conn, NowMs()); });
    table.Advance(NowMs());
    deliver();
    if (table.Over() && over_at == 0) over_at = NowMs();
    if (over_at && NowMs() - over_at > 1000) break;  // time for the last words to arrive
  }
  if (log) std::fclose(log);
  return 0;
}
