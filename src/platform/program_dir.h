// The program directory: where the client's own files live ("/chat.ini",
// "/info.kb", the temporary picture file) and what the sound folders
// ("/../common/music/", "/../common/mj/") are relative to.
//
// It is $TESSALY_HOME when that is set and not empty, else the directory of
// the running executable. Returned without a trailing "/". Read afresh on
// every call.
#pragma once

#include <string>
#include <string_view>

namespace tess {

std::string ProgramDir();

// ProgramDir() followed by `relative`, with any "\" in it turned into "/"
// and a "/" put between the two when `relative` does not start with one:
// ProgramPath("\\chat.ini") is ProgramDir() + "/chat.ini".
std::string ProgramPath(std::string_view relative);

}  // namespace tess
