// libFuzzer target for everything a server's bytes reach before a handler:
// the receive ring, packet decoding (seat names, chat text), the connection
// tag, and the seat and tile helpers applied to the decoded record, whose
// results are used as indexes (built with _GLIBCXX_ASSERTIONS, so an
// out-of-range one aborts). Decoded chat text is sent back through QueuePacket.
//
// Input: a run of chunks, each a control byte (bits 0-5: the chunk is
// appended 1-64 times; bit 7: decode everything pending afterwards), a
// length byte, then that many bytes. The first byte picks the local seat.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "core/packet.h"
#include "platform/clock.h"
#include "platform/trace.h"
#include "table/game_state.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void UseRecord(tess::GameState& gs, tess::PacketQueues& q, tess::TickState& tick, tess::Trace& trace) {
  const tess::MessageRecord& m = gs.info;
  if (std::optional<int> index = tess::SeatIndexOf(m.Seat)) gs.AsideSlots[*index][0]++;
  if (std::optional<int> view = tess::ViewSeatOf(gs, m.Seat)) gs.players[*view].Wins++;
  for (int16_t v : m.value) {
    std::optional<int> suit = tess::SuitNumber(v);
    std::optional<int> rank = tess::Rank(v);
    if (suit && rank) gs.SeenCount[*suit][*rank]++;
    std::optional<int> picture = tess::PictureIndex(m.AuxA % 7 - 1, v);
    if (picture) Check(*picture >= 0 && *picture < tess::kPictureCount);
    uint8_t mask = tess::MaskOf(v);
    Check(mask == 0 || tess::SeatIndexOf(mask) == v);
  }
  tess::RefreshConnectionTag(q, gs.LastPacket);
  // Text of any body, sent back as chat: the encoder must stay inside the packet.
  q.OutgoingChat = tess::ReadGbkText(gs.LastPacket, m.AuxB % 64 + tess::kOffBody, tess::kPacketSize);
  tess::QueuePacket(q, tick, trace, tess::MessageRecord{tess::kTypeChat, 0, gs.custom[0].Seat, 0, {}});
  if (m.AuxA & 1) tess::QueuePacket(q, tick, trace, tess::MessageRecord{tess::kTypeKeepAlive, 0, 0, 0, {}});
  while (tess::TakeSendPacket(q, tick, m.AuxB & 1)) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tess::VirtualClock clock;
  static tess::Trace trace(clock, "");
  auto q = std::make_unique<tess::PacketQueues>();
  auto gs = std::make_unique<tess::GameState>();
  tess::TickState tick;
  if (size == 0) return 0;
  gs->custom[0].Seat = data[0] & 0x0F;

  size_t at = 1;
  while (at + 2 <= size) {
    uint8_t control = data[at];
    size_t n = std::min<size_t>(data[at + 1], size - at - 2);
    std::span<const uint8_t> chunk(data + at + 2, n);
    at += 2 + n;
    for (int r = 0; r <= (control & 0x3F); ++r) {
      if (tess::Winsock1_DataArrival(*q, tick, chunk) == tess::ArrivalResult::kOverflow) {
        tess::EmptyRings(*q);  // the program would end here; start afresh
        break;
      }
    }
    if (!(control & 0x80)) continue;
    while (tess::RecvPacketPending(*q)) {
      tess::DecodeResult result = tess::DecodeNextPacket(*q, *gs, trace);
      Check(result.status != tess::DecodeStatus::kNoPacket);
      Check(tess::RecvPendingBytes(*q) < tess::kRingSize);
      if (result.chat && result.chat->sender_view) Check(*result.chat->sender_view >= 0 && *result.chat->sender_view < 4);
      if (result.status == tess::DecodeStatus::kDecoded) UseRecord(*gs, *q, tick, trace);
    }
  }
  return 0;
}
