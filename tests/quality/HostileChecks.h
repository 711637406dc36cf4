#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing {

// What every hostile case must still allow: the program starts (main dialog
// shown, program idle), a choice in either list selects the same domain in the
// other and switches the visit button, the About box opens and closes, and
// Escape ends the program with 2. A crash ends it with another code (the
// crash dialog is off in the test prefixes), a hang fails a wait.
// The window checks, when given, run once the main dialog is idle and while
// the About box is shown, with that window.
using WindowCheck = std::function<void(HWND window)>;
void CheckProgramWorks(const std::string& program, const WindowCheck& whileMainShown = nullptr,
                       const WindowCheck& whileAboutOpen = nullptr);

// The same for a copy of the program with one resource removed (replacement
// NULL) or its data replaced; the copy is deleted afterwards.
void CheckDamagedCopyWorks(LPCSTR type, LPCSTR name, const std::vector<BYTE>* replacement,
                           const WindowCheck& whileMainShown = nullptr, const WindowCheck& whileAboutOpen = nullptr);

} // namespace testing
