// What tarvomgr's exit status tells a script.
#pragma once

namespace tarvo::cli {

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailed = 1,       // the phone or the transfer failed
    kExitUsage = 2,        // usage error or unusable file
    kExitPort = 3,         // the port cannot be opened
    kExitInterrupted = 130,
};

}  // namespace tarvo::cli
