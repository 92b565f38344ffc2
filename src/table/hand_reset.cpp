#include "table/hand_reset.h"

#include "core/client.h"

namespace tess {

void ResetHandState(Client& c) {
  ResetHandRecords(c.game);
  if (Element* caption = c.MainForm.Find("Label3")) caption->caption.clear();
}

}  // namespace tess
