// Ending the program from any of its windows.
#pragma once

namespace tendra::ui::win32 {

// Ends the program at once: every window of this thread goes, and the message
// loop ends.
void endProgram();

}  // namespace tendra::ui::win32
