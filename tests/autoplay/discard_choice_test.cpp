#include "autoplay/discard_choice.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/local_hand.h"
#include "table/dispatcher.h"

namespace tess {
namespace {

using test::SetLocalHand;

struct DiscardCase {
  const char* what;
  std::vector<int> hand;
  int16_t suits_present, drop_suit;
  int16_t expected;
};

TEST(ChooseDiscard, DiscardsTheTileWhoseRemovalLeavesTheBestHand) {
  const DiscardCase cases[] = {
      {"all alike: the first", {0x13, 0x11, 0x14, 0x12}, 0, -1, 0x13},
      {"the loose honour of fourteen tiles",
       {0x21, 0x22, 0x23, 0x44, 0x45, 0x46, 0x17, 0x87, 0x88, 0x89, 0x11, 0x11, 0x11, 0x49}, 0, -1, 0x17},
      // Without its bonus the loose honour would go; with it, the characters
      // tile that leaves the closest pair (5-6 rather than 6-7 or 5-7).
      {"the drop suit gains 6000",
       {0x21, 0x22, 0x23, 0x81, 0x82, 0x83, 0x45, 0x46, 0x47, 0x11}, 3, 2, 0x47},
      {"no bonus below three suits",
       {0x21, 0x22, 0x23, 0x81, 0x82, 0x83, 0x45, 0x46, 0x47, 0x11}, 2, 2, 0x11},
      {"the code comes back reduced", {0x111, 0x112}, 0, -1, 0x11},
      {"an empty hand: the entry before it", {}, 0, -1, 0x29},
  };
  for (const DiscardCase& c : cases) {
    GameState gs;
    AnalysisState a;
    SetLocalHand(gs, c.hand);
    a.SuitsPresent = c.suits_present;
    a.DropSuit = c.drop_suit;
    EXPECT_EQ(ChooseDiscard(a, gs), c.expected) << c.what;
  }
}

TEST(ChooseDiscard, FollowsTheDropSuitChosenForTheHand) {
  // Three suits of three: the tie goes to dots, and 1 leaves the pair 2-3.
  GameState gs;
  AnalysisState a;
  SetLocalHand(gs, {0x21, 0x22, 0x23, 0x81, 0x82, 0x83, 0x45, 0x46, 0x47, 0x11});
  ChooseDropSuit(a, gs);
  ASSERT_EQ(a.DropSuit, 3);
  EXPECT_EQ(ChooseDiscard(a, gs), 0x81);
}

TEST(ChooseDiscard, AHandOutsideItsEntriesIsAFault) {
  GameState gs;
  AnalysisState a;
  gs.custom[0].HandStart = 0;
  gs.custom[0].HandCount = 0;  // nothing before entry 0 to fall back on
  EXPECT_THROW(ChooseDiscard(a, gs), HandlerFault);
  gs.custom[0].HandStart = 8;
  gs.custom[0].HandCount = 14;
  EXPECT_THROW(ChooseDiscard(a, gs), HandlerFault);
}

TEST(ShouldClaimPung, ClaimsWhenThePungImprovesTheSuitByMoreThan150) {
  struct Case {
    const char* what;
    std::vector<int> hand;
    int tile;
    bool claim;
  };
  const Case cases[] = {
      {"1-2-3-7-7 offered 7: 2000 against 972", {0x21, 0x22, 0x23, 0x27, 0x27, 0x45}, 0x27, true},
      {"3-4-4-5 offered 4: 924 against 971", {0x23, 0x24, 0x24, 0x25, 0x11}, 0x24, false},
      {"an honour pair: 1000 against -30", {0x15, 0x15, 0x21}, 0x15, true},
  };
  for (const Case& c : cases) {
    GameState gs;
    AnalysisState a;
    SetLocalHand(gs, c.hand);
    EXPECT_EQ(ShouldClaimPung(a, gs, c.tile), c.claim) << c.what;
    EXPECT_EQ(a.ClaimPartner, c.tile) << c.what;
  }
}

TEST(ShouldClaimPung, AnOfferTheHandCannotMakeIsAFault) {
  struct Case {
    const char* what;
    int tile;
    int16_t partner;  // what the test left in ClaimPartner
  };
  for (Case c : {Case{"one copy only", 0x27, 0x27}, Case{"no copy", 0x83, 0x83},
                 Case{"rank 0", 0x20, 0}, Case{"rank 10", 0x2A, 0}, Case{"outside a byte", 0x127, 0},
                 Case{"negative", -1, 0}}) {
    GameState gs;
    AnalysisState a;
    a.ClaimPartner = 0x55;
    SetLocalHand(gs, {0x27, 0x21, 0x21});
    EXPECT_THROW(ShouldClaimPung(a, gs, c.tile), HandlerFault) << c.what;
    EXPECT_EQ(a.ClaimPartner, c.partner) << c.what;
  }
}

TEST(ShouldDeclareKong, DeclaresWhenTheLeftoversConnectWell) {
  struct Case {
    const char* what;
    std::vector<int> hand;
    bool declare;
  };
  const Case cases[] = {
      {"bamboo 1-9 and a pair: -30",
       {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x41, 0x41}, true},
      {"two single honours: -120", {0x11, 0x12}, false},
      {"nothing loose: 0", {0x83, 0x84, 0x85}, true},
  };
  for (const Case& c : cases) {
    GameState gs;
    AnalysisState a;
    SetLocalHand(gs, c.hand);
    EXPECT_EQ(ShouldDeclareKong(a, gs), c.declare) << c.what;
  }
}

}  // namespace
}  // namespace tess
