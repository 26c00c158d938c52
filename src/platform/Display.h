#pragma once

namespace platform {

// From LookForDisplay() until DisplayFound(), which bracket the making of the application object:
// a toolkit that can reach no display ends the program with one line on the error stream and
// status 1, instead of a core dump and advice to reinstall it. What the toolkit says meanwhile
// is held back, and shown once a display was found.
void LookForDisplay();
void DisplayFound();

}  // namespace platform
