// The packets a client's trace file records (TESSALY_TRACE), read back for
// tests that watch a real client from outside.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tess::test {

// The 272 bytes of each packet of `type` that the trace at `path` records
// as `ev` ("recv": taken from the receive ring; "send": written to the
// socket), in order.
std::vector<std::vector<uint8_t>> TracedPackets(const std::string& path, const std::string& ev, int type);

}  // namespace tess::test
