// The main window as designed: every element of the table window with its
// design-time properties, and one element (index 0) of each control array.
// Start-up then sizes and places them and creates the further array
// elements (table/table_layout.h).
//
// The title-bar pieces (ImgClose, ImgMin, LbMove, lcaption, ImgIcon, Skin)
// lie on the form; the table pictures Pic1 and Pic2 lie on the form too, and
// every table element lies on Pic1, so moving Pic1 moves the table.
#pragma once

#include "ui/elements.h"

namespace tess {

inline constexpr const char* kMainCaption = "Tessaly";

void DesignMainForm(Form& main);

}  // namespace tess
