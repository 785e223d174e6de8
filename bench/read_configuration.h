#pragma once

// What the benchmarks share: a user who only prints, and the full configuration read.

#include <cstdio>
#include <string>

#include "transmitter/transmitter.h"
#include "whole_configuration.h"

// Messages would mean a failed read; they are printed and counted.
class ConsoleUser final : public hart::UserInteraction {
public:
    void notify(int messageId, const std::string& text, hart::MessageIcon) override
    {
        std::fprintf(stderr, "message %d: %s\n", messageId, text.c_str());
        ++messages;
    }
    int ask(int messageId, const std::string& text, int) override
    {
        std::fprintf(stderr, "question %d: %s\n", messageId, text.c_str());
        ++messages;
        return 2;
    }
    int messages = 0;
};
