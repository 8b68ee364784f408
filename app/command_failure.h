#pragma once

#include <QString>
#include <functional>

namespace vernalith {

// Runs a command's work and turns a failure into the text the error box shows: the procedure's own
// message, or a plain one for running out of memory. Empty when the work completed or the user
// stopped it.
QString RunCatchingFailure(const std::function<void()>& work);

}  // namespace vernalith
