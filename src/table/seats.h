// Joining the table: the seat names (type 3), the players' profiles
// (type 20), the ready marks (type 23), and the table set-up once all four
// names and profiles are in (the seat-wind draw, the compass, the voices).
//
// Profiles of other players may come before the seats are known (seat 0
// in the message): they take provisional places on the left, top and right,
// and the third of them brings the table window up. Once the fourth seat
// name is in, every ViewSeat gets its seat mask and account name; the
// profiles that follow are placed by their seat mask. A spectator gets no
// seat names: it keeps the four profiles until the last and builds the
// watched table from them (spectator/watched_table.h), then gives its
// players their voices.
#pragma once

#include <string>

#include "table/game_state.h"

namespace tess {

struct Client;

// The status line while the table waits for the next hand.
inline constexpr const char* kGameStartsSoon = "游戏将在15秒内开始";
// The button-bar picture of the continue button.
inline constexpr int kContinuePicture = 6;

// Message handlers.
void OnSeatName(Client& c);
void OnSeatInfo(Client& c);
void OnPlayerReady(Client& c);

// The profile in bytes 16-233 of a type-20 packet: GBK texts, numbers least
// significant byte first.
PlayerInfo DecodeProfile(const Packet& p);
// A money or points value as the table shows it: whole numbers without a
// fraction, others with up to 15 significant digits.
std::string FormatAmount(double v);

// The compass for the local seat (a local seat of 0 taken as mask 1).
void ShowCompass(Client& c);
// players(v) on the table and the result boards: the portrait in Tou(v),
// Nid(v) "[Title] Nick", Cash(v) coins & "金币", Level(v), the names and
// avatars of Score and Hero.
void ShowProfile(Client& c, int v);

// The table set-up after the last profile: seat-wind draw, compass, result
// buttons usable, voices assigned.
void SetUpTable(Client& c);
// Both voice tables cleared, then every seat given a voice of its gender,
// a number not yet taken at this table.
void AssignVoices(Client& c);

}  // namespace tess
