#include "table/dispatcher.h"

#include <exception>

#include "core/client.h"
#include "core/connection.h"
#include "core/leave.h"
#include "core/program_end.h"
#include "play/claims.h"
#include "play/deal.h"
#include "scoring/settlement.h"
#include "spectator/snapshot.h"
#include "spectator/twins.h"
#include "play/discards.h"
#include "play/offers.h"
#include "play/reveal.h"
#include "table/new_hand.h"
#include "table/seats.h"

namespace tess {
namespace {

// Type 8 clears a mark nothing reads; type 19 was shown while it was decoded.
void NoVisibleEffect(Client&) {}


struct Entry {
  int type;
  MessageHandler seated;
  MessageHandler spectator;  // nullptr: the seated handler serves both
};

// The catalogue of handled server messages. A type missing here is ignored.
constexpr Entry kCatalogue[] = {
    {kTypeDeal, OnDeal, OnSpectatorDeal},
    {kTypeDiscard, OnDiscard, OnSpectatorDiscard},
    {kTypeSeatName, OnSeatName, nullptr},
    {kTypeHandStart, OnHandStart, nullptr},
    {kTypeDraw, OnDraw, OnSpectatorDraw},
    {kTypeActionOffer, OnActionOffer, nullptr},
    {kTypeClaimResult, OnClaimResult, OnSpectatorClaim},
    {kTypeNoEffect, NoVisibleEffect, nullptr},
    {kTypeHandResult, OnHandResult, nullptr},
    {kTypeWildTile, OnWildTile, nullptr},
    {kTypeHandReveal, OnHandReveal, nullptr},
    {kTypePlayerQuit, OnPlayerQuit, nullptr},
    {kTypeSettlement, OnSettlement, nullptr},
    {kTypeLogin, HandleLoginAnswer, nullptr},
    {kTypeChat, NoVisibleEffect, nullptr},
    {kTypeSeatInfo, OnSeatInfo, nullptr},
    {kTypePlayerLeft, OnPlayerLeft, nullptr},
    {kTypeOtherExit, OnOtherExit, nullptr},
    {kTypePlayerReady, OnPlayerReady, nullptr},
    {kTypeReconnectReply, HandleReconnectAnswer, nullptr},
    {kTypeSnapshot, OnSnapshot, nullptr},
    {kTypeRoundStart, OnRoundInfo, nullptr},
};

}  // namespace

MessageHandler HandlerFor(int type, bool watching) {
  for (const Entry& e : kCatalogue)
    if (e.type == type) return watching && e.spectator ? e.spectator : e.seated;
  return nullptr;
}

void DispatchMessage(Client& c) {
  RefreshConnectionTag(c.packets, c.game.LastPacket);
  const int type = c.game.info.MsgType;
  MessageHandler h = HandlerFor(type, c.game.IsSpectator);
  if (!h) return;
  try {
    h(c);
  } catch (const std::exception& fault) {
    FaultExit(c, std::string("fault in the handler of type ") + std::to_string(type) + ": " + fault.what());
  }
}

}  // namespace tess
