// The per-hand reset of the table's records: what ResetHandState clears
// between hands (every seat's tiles, counts and cursors, the table-wide
// per-hand values) and the status caption Label3.
#pragma once

namespace tess {

struct Client;

void ResetHandState(Client& c);

}  // namespace tess
