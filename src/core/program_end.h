// How the client ends. Every path that ends the program (a refused login,
// the lobby gone, a fault, the main window closed) calls EndProgram, which
// writes the trace's exit line and the scene dump and then throws
// ProgramEnd. main() catches it and returns; a test that drives a client in
// its own process catches it where it runs the loop. Nothing else catches
// it, so no handler runs on after the end, as on a real process exit.
#pragma once

#include <string>

namespace tess {

struct Client;

struct ProgramEnd {
  std::string why;
};

// Ends the program: trace "exit" with `why`, scene dump, throw ProgramEnd.
[[noreturn]] void EndProgram(Client& c, const std::string& why);
// The fault exit: the lobby window restored when it exists, then the end.
[[noreturn]] void FaultExit(Client& c, const std::string& why);

}  // namespace tess
