#include "byte_channel.h"

#include <thread>

namespace tarvo {

void SystemClock::Sleep(std::chrono::milliseconds duration) {
    if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

SystemClock& SystemClock::Instance() {
    static SystemClock clock;
    return clock;
}

}  // namespace tarvo
