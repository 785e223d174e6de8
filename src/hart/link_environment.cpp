#include "hart/link_environment.h"

#include <thread>

namespace hart {

void RealSleeper::sleepFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

}  // namespace hart
