#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <utility>

// Runs a command that must end: on a thread of its own, waited for with a deadline. A
// command still running at the deadline is a hang; the test program ends there with the
// reason, since the hung thread cannot be taken back.
template <typename Command>
auto FinishesWithin(std::chrono::seconds deadline, Command&& command)
{
    auto running = std::async(std::launch::async, std::forward<Command>(command));
    if (running.wait_for(deadline) != std::future_status::ready) {
        std::fprintf(stderr, "the command did not end within %lld s: it hangs\n",
                     static_cast<long long>(deadline.count()));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    return running.get();
}
