// The practice table: one table of four seats and its spectators, the
// joining flow, the hands and their pacing, as the server's side of the
// client's protocol. It knows nothing of sockets: the network layer hands it
// each whole 272-byte packet of a connection (Receive) and each lost
// connection (Disconnect), calls Advance when NextDue has come, and sends
// what TakeOutbox returns and closes what TakeDrops returns. Time is the
// caller's, in milliseconds, so a test runs a whole hand in no time.
//
// Pacing: after each step that the clients animate (new hand, deal, draw,
// claim) the table waits `pace_ms` (`dice_ms`, `deal_ms`) before the next
// one, and after an offer it waits for the seat's answer at most `answer_ms`;
// then it plays the seat itself: the win when offered, otherwise pass and
// discard its least useful tile (TimeoutDiscard). A seat without a
// connection is played at once.
//
// Bad input: a packet whose zero bytes (0, 1, 2, 4) are not zero, or whose
// type a client does not send at that point, drops the connection; a
// well-formed move that is not the seat's to make (out of turn, a tile it
// does not hold, an action not offered) is ignored.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/packet_format.h"
#include "profiles.h"
#include "rules.h"
#include "scoring.h"
#include "tiles.h"

namespace tess::practice {

struct TableOptions {
  int turn_seconds = 8;   // sent with the login answer
  int timeout_limit = 3;  // sent with the login answer (byte 9)
  std::string notice;     // notice page address sent with the login answer
  std::string key;        // the login key every seat must give; empty: any
  int answer_ms = 10000;  // how long an offer waits for its answer
  int pace_ms = 700;      // pause after a draw, discard or claim
  int dice_ms = 3000;     // pause after the new-hand message
  int deal_ms = 2000;     // pause after the deal
  int ready_ms = 20000;   // how long the table waits for every seat to continue
  int hands = 0;          // hands to play before the game ends; 0: no end
  uint32_t seed = 1;      // hand k's wall and dice come from seed + k
  std::vector<std::vector<Tile>> walls;  // walls of the first hands, in order
  std::vector<Profile> roster;           // four profiles; defaults if empty
  int64_t unit = 10;                     // coins per 嘴
};

struct Outgoing {
  int conn = 0;
  Packet packet{};
};

class Table {
 public:
  explicit Table(TableOptions options);

  void Receive(int conn, const Packet& p, int64_t now);
  void Disconnect(int conn, int64_t now);
  // Runs every step due at `now`.
  void Advance(int64_t now);
  // When Advance has something to do; INT64_MAX when only input can move it.
  int64_t NextDue() const { return due_; }

  std::vector<Outgoing> TakeOutbox();
  std::vector<int> TakeDrops();
  // Lines for the log: "hand …" one per finished hand; "event …" for the
  // discards, the middle of each hand and each settlement.
  std::vector<std::string> TakeLog();
  // The game has ended (the hand limit was reached and announced).
  bool Over() const { return over_; }

  // What a test may look at.
  const std::array<SeatHand, 4>& Hands() const { return hands_; }
  Tile Wild() const { return wild_; }
  int Dealer() const { return dealer_; }
  int HandNumber() const { return hand_number_; }
  const Profile& SeatProfile(int seat) const { return seats_[seat].profile; }

 private:
  enum class Step {
    kNone,
    kStartHand,
    kDeal,
    kOfferTurn,      // offer the turn seat its options (after a pung)
    kTurnTimeout,    // the turn seat did not discard
    kClaimTimeout,   // not every seat answered its claim offer
    kNextDraw,       // the seat after the discarder draws
    kReplacement,    // the kong's seat draws from the back
    kReadyTimeout,   // not every seat continued
    kEndGame,
  };
  struct Seat {
    bool taken = false;
    int conn = -1;
    Profile profile;
    TagBytes tag{};
    bool ready = false;
  };
  enum class Role { kNew, kSeat, kSpectator, kGone };
  struct Conn {
    Role role = Role::kNew;
    int seat = -1;     // a seat's connection: its seat
    // A spectator's: the user id its login key names and the seat of that
    // player, found when it joins the table (-1 none).
    std::optional<uint64_t> watched_id;
    int watched = -1;
  };

  void Schedule(Step step, int64_t at, int seat = -1);
  void Run(Step step, int seat, int64_t now);

  void Login(int conn, const Packet& p, int64_t now);
  void Reconnect(int conn, const Packet& p);
  void SeatPacket(int seat, const MessageRecord& m, const Packet& p, int64_t now);
  void SendJoinFlow(int seat);
  void SendSnapshot(int conn, int viewer_seat);
  void SendSpectatorJoin(int conn);
  // A deal or draw to each spectator: the tiles of the seat it watches.
  void SendDealToSpectators();
  void SendDrawToSpectators(int seat, Tile t);
  void Leave(int seat, int64_t now);

  void StartHand(int64_t now);
  void DealHand(int64_t now);
  void BeginTurn(int seat, int64_t now);
  void DrawFor(int seat, bool from_back, int64_t now);
  void PlayTurnTimeout(int64_t now);
  void Discard(int seat, Tile tile, int mark, int64_t now);
  void AnswerClaim(int seat, int kind, int64_t now);
  void ResolveClaims(int64_t now);
  void Kong(int seat, int kind, Tile tile, int64_t now);
  void Win(int seat, int discarder, int64_t now);
  void EndHand(int winner, const std::optional<HandScore>& score, std::array<std::vector<Tile>, 4> shown,
               int64_t now);
  void ContinueFrom(int seat, int64_t now);

  void Send(int conn, Packet p);
  void SendToSeat(int seat, const Packet& p);
  void SendToAll(const Packet& p);
  void Drop(int conn, int64_t now);
  bool SeatLive(int seat) const { return seats_[seat].conn >= 0; }
  int64_t AnswerDeadline(int seat, int64_t now) const;

  TableOptions options_;
  std::array<Seat, 4> seats_;
  std::vector<std::pair<int, Conn>> conns_;
  Conn* Find(int conn);

  Step step_ = Step::kNone;
  int step_seat_ = -1;
  int64_t due_ = INT64_MAX;
  bool over_ = false;

  // The hand.
  bool in_hand_ = false;
  int hand_number_ = 0;
  uint32_t hand_seed_ = 0;
  int dealer_ = 0;
  int repeats_ = 0;
  std::array<int, 4> dice_{1, 1, 1, 1};
  std::optional<Wall> wall_;
  Tile wild_ = 0, indicator_ = 0;
  std::array<SeatHand, 4> hands_{};
  std::array<std::vector<Tile>, 4> piles_{};  // discards still lying on each pile
  int turn_ = 0;
  int turn_options_ = 0;
  bool replacement_draw_ = false;  // the turn seat's last tile came from the back
  bool someone_declared_ = false;
  Tile dealer_first_discard_ = 0;
  Tile last_discard_ = 0;
  int discarder_ = -1;
  std::array<int, 4> claim_offers_{};
  std::array<int, 4> claim_answers_{};
  int discards_this_hand_ = 0;

  std::vector<Outgoing> outbox_;
  std::vector<int> drops_;
  std::vector<std::string> log_;
};

}  // namespace tess::practice
