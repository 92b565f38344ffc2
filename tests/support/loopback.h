// Plain blocking TCP on 127.0.0.1 for tests: a listener on a free port,
// accepting and reading with a time limit, and writing everything.
//
// All functions return -1 (or false) on failure and never raise SIGPIPE.
// Descriptors are the caller's to close.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <vector>

namespace tess::test {

// Listens on 127.0.0.1:`port`, or on a free port when `port` is 0; `port`
// is then set to the port bound. Returns the listening descriptor.
int ListenLoopback(uint16_t& port);

// Waits up to `timeout_ms` for a connection on `listen_fd` and returns it
// (a blocking descriptor), or -1 when none came.
int AcceptWithin(int listen_fd, int timeout_ms);

// Waits up to `timeout_ms` for bytes on `fd` and reads at most `max` of
// them. Returns how many were read, 0 at end of stream, -1 on timeout or
// error.
ssize_t ReadWithin(int fd, void* buffer, size_t max, int timeout_ms);

// Writes all of `bytes` to `fd`, blocking as needed. False when the
// connection is gone or a send timeout set on `fd` ran out.
bool WriteAll(int fd, const std::vector<uint8_t>& bytes);

}  // namespace tess::test
