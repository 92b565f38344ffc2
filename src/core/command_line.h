// The lobby's command line and the login packet built from it.
//
// The line, trimmed of spaces at both ends, is a run of fields each ended by
// "$"; at most 13 are taken, and a field with no "$" after it is not taken,
// nor any after it:
//   1 account  2 login key  3 server host  4 server port  5 table location
//   6 proxy kind (0 none, 5 SOCKS5)  7 proxy host  8 proxy port
//   9 proxy user  10 proxy password  11 "1" = automatic mode
//   12 lobby window title (automatic mode only)  13 window caption (same)
// A line that does not end with "$" is a spectator's: the text after field
// 5's "$" is the watched player's user id.
//
// Parsing does no I/O and changes nothing; the caller stores the fields
// where they belong. Fields 4, 6 and 8 must be whole numbers (ports 0-65535,
// the proxy kind 16-bit); anything else stops parsing with kBadNumber, which
// start-up treats as a fatal error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/packet_format.h"

namespace tess {

// The lobby's window title, used whenever automatic mode is off.
inline constexpr std::string_view kDefaultLobbyTitle = "Orvane";

enum class CommandLineStatus {
  kOk,
  kEmpty,      // nothing after trimming: "must be started from the lobby"
  kBadNumber,  // field `bad_field` is not a number in range
};

struct CommandLine {
  CommandLineStatus status = CommandLineStatus::kOk;
  int bad_field = 0;
  int fields_taken = 0;

  bool IsSpectator = false;
  double WatchedUserId = 0;  // spectator only; 0 when no number follows field 5

  std::string AccountName;  // 1
  std::string LoginKey;     // 2
  std::string ServerHost;   // 3
  uint16_t ServerPort = 0;  // 4
  std::optional<std::string> Location;  // 5, when taken
  int16_t ProxyKind = 0;    // 6
  std::string ProxyHost;    // 7
  uint16_t ProxyPort = 0;   // 8
  std::string ProxyUser;    // 9
  std::string ProxyPassword;  // 10
  bool AutoMode = false;    // 11 equal to 1 as a number

  // What the window link and the caption become; nullopt = keep the current
  // value. Automatic mode off: kDefaultLobbyTitle and no caption change;
  // on: fields 12 and 13 when taken.
  std::optional<std::string> LobbyTitle;
  std::optional<std::string> Caption;
};

CommandLine ParseCommandLine(std::string_view text);

// Font size of the Location label after field 5 is shown, from its size
// before: 10 on the reduced layout (scale below 1); then 2 less when the text
// is longer than 10 characters.
double LocationFontSize(double current_size, float scale, std::string_view location);

// The login packet: type 18 in byte 3, the account name from offset 16 and
// the login key from offset 32, one byte per character, every other byte 0
// (so the tag bytes are 0 0). nullopt when either holds a character that is
// double-byte in GBK, the name is longer than 16 bytes or the key would reach
// the tag at 260.
std::optional<Packet> BuildLoginPacket(std::string_view account, std::string_view key);

}  // namespace tess
