#pragma once

// What the benchmarks share: a user who only prints, and the full configuration read.

#include <cstdio>
#include <string>

#include "transmitter/transmitter.h"

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

// Identification and the six read groups, as the program's read does them.
inline bool ReadWholeConfiguration(transmitter::CTransmitter& xmtr)
{
    bool ok = xmtr.Identify() == 1;
    ok = xmtr.ReadTagAndSensor() == 1 && ok;
    ok = xmtr.ReadRangeAndLimits() == 1 && ok;
    ok = xmtr.ReadFilterAndAssemblyNumber() == 1 && ok;
    ok = xmtr.ReadAlarmLevelsAndVariables() == 1 && ok;
    ok = xmtr.ReadFailureStatus() == 1 && ok;
    ok = xmtr.ReadThermometerParams() == 1 && ok;
    return ok;
}
