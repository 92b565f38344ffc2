#include "ui/table_click.h"

#include "core/client.h"

namespace tess {

void Pic1_Click(Client& c) {
  for (const char* name : {"Talk", "huifu", "Score", "Hero", "VosSet", "frmExit"})
    if (Form* w = c.desktop.FindForm(name)) w->visible = false;
}

void InstallTableClick(Client& c) {
  for (const char* name : {"Pic1", "Pic2"}) c.MainForm.At(name).on_click = [&c](Element&) { Pic1_Click(c); };
}

}  // namespace tess
