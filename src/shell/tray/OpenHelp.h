#pragma once

namespace vantor {

// Opens the help page ("index.html" in the program's "Help" folder) with the desktop's
// handler. What happens to a missing page is the handler's business; the program shows
// nothing itself. False when no handler took it.
bool OpenHelp();

}  // namespace vantor
