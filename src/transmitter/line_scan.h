#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hart/link_environment.h"
#include "hart/trace.h"
#include "hart/user_interaction.h"

namespace transmitter {

// One device that answered the identification at its polling address.
struct FoundDevice {
    int pollingAddress = 0;
    // False when it answered every time with an error (busy, a garbled frame): it is there,
    // but who it is stays unknown.
    bool identified = false;
    std::int32_t manufacturerCode = 0;
    std::int32_t deviceType = 0;
    std::int32_t deviceId = 0;
    std::string tag;  // empty when the tag could not be read
    bool tagRead = false;

    // A Тарвел-4410: the one device this program configures.
    bool configurable() const;
};

struct ScanResult {
    std::vector<FoundDevice> devices;  // by polling address, lowest first
    bool portOpened = false;           // false: nothing was asked (the user has been told)
    bool cancelled = false;
};

struct ScanControl {
    // Called before each address is asked and once at the end: addresses asked so far of all.
    std::function<void(int asked, int total)> progress;
    // Read between addresses; a scan never stops in the middle of a transaction.
    const std::atomic<bool>* cancel = nullptr;
    hart::TraceSink* trace = nullptr;
};

constexpr int kScanAddressCount = hart::kHighestPollingAddress + 1;

// Asks every polling address 0–15 once with the universal identification (command 0), and
// each device that answered for its tag (command 13, by its long address). A silent address
// costs one request and HART's slave time-out (28 characters), with no retries.
ScanResult ScanLine(hart::UserInteraction& ui, const hart::PortSettings& port,
                    hart::Sleeper& sleeper, const ScanControl& control = {});

}  // namespace transmitter
