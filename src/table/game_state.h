// The shared picture of the table: per-seat records, player profiles, the
// received message, and the table-wide scalars, as plain records that every
// handler reads and writes directly. Created once, reset between hands,
// mirrored from the server's messages.
//
// Seats travel as a SeatMask (1, 2, 4, 8); SeatIndex is its bit number 0-3;
// ViewSeat is the place on screen relative to the local player (0 bottom =
// local, 1 left, 2 top, 3 right). Per-seat arrays are indexed by ViewSeat.
// A tile code is one byte: high nibble the suit mask (1 honours, 2 bamboo,
// 4 characters, 8 dots), low nibble the rank; rank 0 means no tile.
//
// Contract of the helpers: their input comes from the server and is
// untrusted. A seat mask is read as the server's masks are meant: its
// highest set bit is the seat, and 0 counts as seat 0, so every four-bit
// value (a received Seat is always one) names a seat. Every helper that
// yields an index returns std::nullopt (or, for MaskOf, 0) when the input
// lies outside what the helper can map into range (a mask above four bits,
// a code outside a byte, a rank of 0 or 10-15), so a result that is present
// is always in range for the arrays here.
//
// Booleans are plain bool: none of them is stored in a file or sent.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/packet_format.h"

namespace tess {

inline constexpr int kSeatCount = 4;
inline constexpr int kHandEntries = 21;   // mj(0..20)
inline constexpr int kTileSlots = 136;    // MJ_Image slots, 34 per wall side
inline constexpr int kPictureGroups = 5;  // 0-3 lying faces per ViewSeat, 4 the local standing hand
inline constexpr int kPicturesPerGroup = 36;
inline constexpr int kPictureCount = kPictureGroups * kPicturesPerGroup;  // 180
inline constexpr int kAsideRows = 8;

// Honours ranks 8 and 9 are not tiles: in every picture group they are the
// back of a standing and of a lying tile.
inline constexpr int kStandingBackCode = 0x18;
inline constexpr int kLyingBackCode = 0x19;

// One element of a seat's tiles.
struct HandEntry {
  int16_t kind = 0;   // 0 empty, 1 concealed, larger: a tile of an exposed meld
  int16_t code = 0;   // tile code
  int16_t slot = -1;  // MJ_Image slot showing it; -1 none
};

// custom(v): one per ViewSeat.
struct SeatState {
  std::string Name;       // account name of the seat holder; empty = empty seat
  int32_t HandScore = 0;  // coin result of the last settled hand
  uint8_t Seat = 0;       // the seat's SeatMask
  bool IsDealer = false;
  int16_t DiscardX = 0, DiscardY = 0;        // where the next discard goes
  int16_t DiscardRowX = 0, DiscardRowY = 0;  // start of the current discard row
  int16_t HandX = 0, HandY = 0;              // anchor of the hand row
  std::array<HandEntry, kHandEntries> mj{};  // meld tiles first, then concealed
  int16_t MeldCursor = 0;  // last entry of the next free meld group of three
  int16_t HandStart = 0;   // mj index of the first concealed tile
  int16_t HandCount = 0;   // concealed tiles: mj(HandStart .. HandStart + HandCount - 1)
  int16_t AsideCountA = 0;  // tiles in AsideSlots rows 0-3
  int16_t AsideCountB = 0;  // tiles in AsideSlots rows 4-7
};

// players(v): a player's profile, one per ViewSeat.
struct PlayerInfo {
  std::string Nick;
  std::string Avatar;  // "m1".., "w1"..
  uint8_t Gender = 0;  // 0 woman, else man
  std::string Location;
  double Points = 0;
  double Credit = 0;
  double Coins = 0;
  std::string Level;
  int32_t Logins = 0;
  int32_t Disconnects = 0;
  int32_t Wins = 0;
  int32_t Losses = 0;
  std::string Account;
  std::string Title;
  std::string VoiceSet = "00";
  std::string VoiceId;  // "10", "20" or "30"
  uint8_t VoiceByte = 0;
  double UserId = 0;
};

struct GameState {
  std::array<SeatState, kSeatCount> custom{};
  std::array<PlayerInfo, kSeatCount> players{};

  MessageRecord info{};  // the message being dispatched
  Packet LastPacket{};   // its raw bytes
  std::array<std::string, kSeatCount> SeatNames{};  // by SeatIndex, from type-3 messages

  bool IsSpectator = false;
  bool HandInProgress = false;
  bool TableCleared = false;
  int16_t juNum = 0;  // hands started since start-up
  int16_t WallFront = 0;  // slot of the next tile from the front of the wall
  int16_t WallBack = 0;   // slot of the next tile from the back
  int16_t LastDiscard = 0;       // tile code
  int16_t LastDiscardSlot = -1;  // its slot; -1 none
  uint8_t LastDiscarder = 0;     // ViewSeat
  std::array<int16_t, 2> Dice{};
  // AsideSlots[ViewSeat][row]: slots of set-aside tiles.
  std::array<std::array<int16_t, kAsideRows>, kSeatCount> AsideSlots{};
  // SeenCount[suit number][rank], rank 1-9 (entry 0 unused).
  std::array<std::array<int16_t, 10>, kSeatCount> SeenCount{};
  float ScaleX = 1.0f;
  float ScaleY = 1.0f;

  // Joining the table: SeatCounter counts the seat names up to 4, then the
  // profiles while SeatNamesDone is set; 5 once the table is set up.
  int16_t SeatCounter = 0;
  bool SeatNamesDone = false;
  // The hand's wild tile (-1 until announced) and the indicator it follows.
  int16_t WildTile = -1;
  int16_t IndicatorTile = 0;
  // The round information's dealer mask and dice.
  uint8_t DealerSeat = 0;
  std::array<int16_t, 2> RoundDice{};
  // Voice numbers given to players at this table.
  std::array<bool, 6> MaleVoiceUsed{};
  std::array<bool, 6> FemaleVoiceUsed{};
};

// The number of the highest set bit of a four-bit mask, 0 for 0 or 1: so
// 1, 2, 4, 8 -> 0..3, and 3 -> 1, 15 -> 3. Bits above the four seats name
// no array entry: a mask outside 0..15 -> nullopt.
std::optional<int> SeatIndexOf(int mask);
// 0..3 -> 1, 2, 4, 8; any other index -> 0.
uint8_t MaskOf(int index);
// (SeatIndex of custom[0].Seat - SeatIndex of mask + 4) mod 4, in 0..3; an
// unknown local seat (0) counts as seat 0. nullopt only when either mask is
// outside 0..15.
std::optional<int> ViewSeatOf(const GameState& gs, int mask);

// SeatIndexOf(code / 16): 0 honours, 1 bamboo, 2 characters, 3 dots (a high
// nibble of 0 or several bits reads as its highest bit); nullopt for a code
// outside a byte.
std::optional<int> SuitNumber(int code);
// 1..9; nullopt for a code outside 0..255 or a low nibble of 0 or 10-15.
std::optional<int> Rank(int code);
// 36 * group + 9 * suit number + rank - 1, in 0..179; nullopt when the group
// is outside 0..4 or the code fails SuitNumber or Rank. Honours ranks 8 and
// 9 give the group's standing and lying back.
std::optional<int> PictureIndex(int group, int code);

// The reference-layout anchors of every seat (hand row, discard position
// and row start) scaled by ScaleX / ScaleY and rounded; done at each table
// set-up.
void SetUpSeatPositions(GameState& gs);

// Every seat's tiles emptied: each mj entry kind 0 and slot -1, MeldCursor
// 3 (ViewSeat 0) or 4, HandStart 4, HandCount 0, both aside counts 0, every
// AsideSlots entry 0.
void ResetSeatTiles(GameState& gs);
// The part of the per-hand reset that lives in these records: per ViewSeat
// HandScore 0, IsDealer off, every mj entry kind 0 and slot -1, MeldCursor 3
// (ViewSeat 0) or 4, HandStart 4, HandCount 0, both aside counts 0, the
// SeatNames entry emptied; every AsideSlots entry 0; HandInProgress off;
// WildTile -1 and SeatCounter 0.
// Seat, Name, players and juNum are kept.
void ResetHandRecords(GameState& gs);

}  // namespace tess
