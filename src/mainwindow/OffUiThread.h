#pragma once

#include <functional>

namespace vantor {

// Runs `work` on a thread of its own and returns its result once it is done. Meanwhile the
// calling (user-interface) thread keeps turning its event loop for paints, timers and posted
// calls, but holds back the user's input until the work is done: the windows stay drawn and
// animated against a slow keyboard, and no click can start a second change of the store or
// the keyboard half-way through the first. The work must not wait for the calling thread,
// except for a call queued to it, which this loop runs.
int RunOffUiThread(const std::function<int()>& work);

// True on the thread of the application's windows.
bool IsUiThread();

}  // namespace vantor
