#pragma once

#include <functional>

namespace vernalith {

// Runs `work` on a worker thread while the window's thread goes on handling events (repaints, timers,
// clicks), and returns once `work` has ended, rethrowing what it threw. The event loop can end before
// the work does (the application quitting ends every loop at once, an event handler may throw): then
// `stopEarly`, when given, asks the work to stop, and the work is always waited for before anything
// it uses goes.
void RunAwayFromWindow(const std::function<void()>& work, const std::function<void()>& stopEarly = {});

}  // namespace vernalith
