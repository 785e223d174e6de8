// Control interface of the scripted fake driver library (test only).
#pragma once

#include <cstdint>

#include "modem/hartmodem.h"

#define FAKE_EXPORT __attribute__((visibility("default")))

extern "C" {

struct FakeHartCounters {
    int opens;
    int configures;
    int writes;
    int reads;
    int closes;
    std::uint32_t lastHandle;
    char lastChannel[32];
    std::uint16_t lastConfig[4];
    std::uint8_t lastWrite[HART_FRAME_CAPACITY];
    std::uint16_t lastWriteLength;
};
}
