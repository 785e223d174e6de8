#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/fake_hart_driver.h"

// Drives the fake driver library that CHARTDriver loads: the test and the binding share
// one loaded copy, so scripts set here are what hart_read delivers.
class FakeDriverControl {
public:
    // Points TARVEL4410_HART_DRIVER at the library and resets its script.
    explicit FakeDriverControl(const std::string& libraryFile = "libfake_hart_driver.so");
    ~FakeDriverControl();

    static std::string LibraryPath(const std::string& libraryFile);

    void setResults(int open, int configure, int write, int close);
    // The replies that the polls after the next write will read, in order; an empty frame
    // stands for a poll that reads nothing.
    void scriptWrite(const std::vector<std::vector<std::uint8_t>>& replies);
    void addReply(const std::vector<std::uint8_t>& frame, std::uint16_t claimedLength);
    void setEndlessReply(const std::vector<std::uint8_t>& frame);
    FakeHartCounters counters() const;
    // Every frame written since the reset, in order, each with its own length.
    std::vector<std::vector<std::uint8_t>> writtenFrames() const;

private:
    void* m_module = nullptr;
};
