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
};

std::span<const uint8_t> FindResource(std::string_view type, int id);

}  // namespace tess
