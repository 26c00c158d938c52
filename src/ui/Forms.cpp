#include "ui/Forms.h"

#include <QPointer>

#include "ui/entry/frmNumberEntry.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/other/frmAbout.h"
#include "ui/other/frmAllNumbers.h"

namespace forms {
namespace {

frmNumberChecker* gMain = nullptr;
QPointer<frmNumberEntry> gEntry;
QPointer<frmAllNumbers> gAllNumbers;
QPointer<frmAbout> gAbout;

template <typename Form>
Form* ShowForm(QPointer<Form>& slot) {
  if (!slot) {
    slot = new Form(nullptr);
    slot->setAttribute(Qt::WA_DeleteOnClose, false);
    slot->Form_Load();
  }
  slot->show();
  slot->raise();
  slot->activateWindow();
  return slot;
}

template <typename Form>
void Unload(QPointer<Form>& slot) {
  if (!slot)
    return;
  Form* form = slot;
  slot = nullptr;
  form->hide();
  form->deleteLater();
}

}  // namespace

frmNumberChecker* MainForm() {
  return gMain;
}
void RegisterMainForm(frmNumberChecker* form) {
  gMain = form;
}

frmNumberEntry* ShowNumberEntry() {
  return ShowForm(gEntry);
}
frmNumberEntry* NumberEntry() {
  return gEntry;
}
void UnloadNumberEntry() {
  Unload(gEntry);
}

frmAllNumbers* ShowAllNumbers() {
  return ShowForm(gAllNumbers);
}
frmAllNumbers* AllNumbers() {
  return gAllNumbers;
}
void UnloadAllNumbers() {
  Unload(gAllNumbers);
}

frmAbout* ShowAbout() {
  return ShowForm(gAbout);
}
frmAbout* About() {
  return gAbout;
}
void UnloadAbout() {
  Unload(gAbout);
}

void UnloadAll() {
  UnloadAllNumbers();
  UnloadNumberEntry();
  UnloadAbout();
}

}  // namespace forms
