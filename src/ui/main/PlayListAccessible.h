#pragma once

// Makes the main window's play list speak in marks: to a screen reader the selected tickets are
// the marked ones, an item's one action marks or unmarks it exactly as Space does, and the items
// of the list hidden behind the results box do not claim to be showing. Call once, before the
// first window is built.
void InstallPlayListAccessibility();
