#pragma once

class frmNumberChecker;
class frmNumberEntry;
class frmAllNumbers;
class frmAbout;

// The program's windows. Each secondary window is created and loaded when it is first shown and
// deleted when it is unloaded, so every opening runs its load step afresh.
namespace forms {

frmNumberChecker* MainForm();
void RegisterMainForm(frmNumberChecker* form);

// The entry dialog: created (and loaded for the current gEntryMode) when not loaded, then shown.
frmNumberEntry* ShowNumberEntry();
frmNumberEntry* NumberEntry();  // null when not loaded
void UnloadNumberEntry();

frmAllNumbers* ShowAllNumbers();
frmAllNumbers* AllNumbers();
void UnloadAllNumbers();

frmAbout* ShowAbout();
frmAbout* About();
void UnloadAbout();

// Closes every secondary window (the program is ending).
void UnloadAll();

}  // namespace forms
