// The commands of tarvomgr, each run on the link core with the phone's port.
#pragma once

#include "arguments.h"
#include "reporter.h"

#include <atomic>

namespace tarvo::cli {

// Runs the invocation's command and returns the exit status. `interrupted`
// is set by the interrupt handler; the operation then cancels as the
// dialog's Cancel does.
int RunCommand(const Invocation& invocation, Language language, Reporter& reporter,
               const std::atomic<bool>& interrupted);

}  // namespace tarvo::cli
