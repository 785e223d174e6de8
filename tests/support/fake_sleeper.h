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

    std::chrono::milliseconds total{0};
    int calls = 0;
};
