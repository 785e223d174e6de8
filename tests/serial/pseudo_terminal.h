#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

// A pseudo-terminal pair for tests: the test holds the master side and plays the line.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int master() const { return m_master; }
    const std::filesystem::path& slavePath() const { return m_slavePath; }

    void writeToSlave(const std::vector<std::uint8_t>& bytes);
    // What the slave side sent, waiting until count bytes came or the deadline passed.
    std::vector<std::uint8_t>
    readFromSlave(std::size_t count, std::chrono::milliseconds deadline = std::chrono::seconds(5));
    // Hangs the line up for whoever holds the slave side.
    void closeMaster();

private:
    int m_master = -1;
    std::filesystem::path m_slavePath;
};
