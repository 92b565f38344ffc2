// Picture resources built into the client.
//
// The table's pictures are GIF files of type "GIF" under the identifiers of
// the picture catalogue: 101-120, 123-137, 141-155, 161-176, 183-398 and
// 401-430. The main window's own pictures are GIF files of type "FORM"
// under the identifiers of FormPicture below. FindResource returns the bytes
// of one resource; they are constant and live for the whole run. An unknown
// type or identifier gives an empty span, and the caller leaves its picture
// as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tess {

inline constexpr std::string_view kPictureResourceType = "GIF";
inline constexpr std::string_view kFormResourceType = "FORM";

// Pictures of the main window's form (type "FORM").
enum FormPicture : int {
  kFormTableLarge = 501,    // `Pic1`: the table, 1024 x 768
  kFormTableSmall = 502,    // `Pic2`: the table, 800 x 600
  kFormSkin = 503,          // `Skin`: the frame pieces, 46 x 220 (690 x 3300 twips)
  kFormCloseNormal = 504,   // `ImgClose(1)`, 16 x 16
  kFormCloseHover = 505,    // `ImgClose(2)`
  kFormClosePressed = 506,  // `ImgClose(3)`
  kFormMinNormal = 507,     // `ImgMin(1)`, 16 x 16
  kFormMinHover = 508,      // `ImgMin(2)`
  kFormMinPressed = 509,    // `ImgMin(3)`
  kFormIcon = 510,          // the window icon, 32 x 32
  kFormBanner = 511,        // `Bird`: the notice-page frame, 82 x 80
  kFormLocation = 512,      // `imgLocation`: the location strip, 394 x 39, stretched
  kFormClock = 513,         // `Time_Img`: the countdown plate, 81 x 38, digits from x 48
  kFormReady = 514,         // `OK(0..3)`: the ready mark, 40 x 30
  kFormWildBox = 515,       // `Korbi`: the wild-tile box, 73 x 130, tile at (20, 55)
  kFormDealer = 516,        // `Host`: the dealer mark, 36 x 16
  kFormChatLabel = 517,     // `Lbchat`: the chat-log label, 25 x 33
  kFormPhrases = 518,       // `imgword1`: the text-phrase button, 57 x 13
  kFormVoicePhrases = 519,  // `imgword2`: the voice-phrase button, 57 x 13
  kFormNoticeOk = 520,      // `frmOtherExit.imgOK`, 70 x 30
  kFormNoticeCancel = 521,  // `frmOtherExit.imgCancel`, 70 x 30
  kFormChatBubble = 522,    // `Speak(0..2)`: the empty chat bubble, 131 x 102
};

std::span<const uint8_t> FindResource(std::string_view type, int id);

}  // namespace tess
