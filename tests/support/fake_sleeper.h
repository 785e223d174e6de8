#pragma once

#include <chrono>

#include "hart/link_environment.h"

// Counts the waits instead of waiting.
class FakeSleeper : public hart::Sleeper {
public:
    void sleepFor(std::chrono::milliseconds duration) override
    {
        total += duration;
        ++calls;
    }
    // Time moves only by the waits counted.
    std::chrono::steady_clock::time_point now() const override
    {
        return std::chrono::steady_clock::time_point(total);
    }

    std::chrono::milliseconds total{0};
    int calls = 0;
};
