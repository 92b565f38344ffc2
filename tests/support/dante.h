// A real SOCKS5 server for tests: Dante's danted on a free loopback port,
// relaying to anything on 127.0.0.0/8, and a throwaway system user for its
// user-name method (which checks the system's password database).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/child_process.h"

namespace tess::test {

inline constexpr const char* kDanted = "/usr/sbin/danted";

// True when danted is installed (Debian package dante-server).
bool DanteInstalled();

// A system user made for one test and removed again at destruction. Only
// root can make one.
class ThrowawayUser {
 public:
  ThrowawayUser();
  ~ThrowawayUser();
  ThrowawayUser(const ThrowawayUser&) = delete;
  ThrowawayUser& operator=(const ThrowawayUser&) = delete;
  bool Create(const std::string& password);
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  bool created_ = false;
};

// danted in a process group of its own, stopped (the whole group) at
// destruction.
class Dante {
 public:
  // `method` is Dante's socksmethod: "none" or "username". Its
  // configuration and log go to `dir`. False with a reason in `error` when
  // it does not come up within 5 s.
  bool Start(const std::filesystem::path& dir, const std::string& method, std::string& error);
  uint16_t Port() const { return port_; }
  // Stops it now (its relayed connections end with it).
  void Stop() { process_.Stop(); }

 private:
  // Until a connect to `port` succeeds, danted exits, or the wait runs out.
  bool WaitListening(uint16_t port);

  ChildProcess process_;
  uint16_t port_ = 0;
};

}  // namespace tess::test
