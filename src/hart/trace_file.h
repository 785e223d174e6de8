#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "hart/trace.h"

namespace hart {

// Writes the trace's text, a line per event, flushed at once: a run that is killed keeps
// every line it wrote.
class TraceFileWriter final : public TraceSink {
public:
    // "-" is standard error. nullptr, with error set, when the file cannot be created.
    static std::unique_ptr<TraceFileWriter>
    Open(const std::string& path, std::chrono::steady_clock::time_point start, std::string& error);
    ~TraceFileWriter() override;
    TraceFileWriter(const TraceFileWriter&) = delete;
    TraceFileWriter& operator=(const TraceFileWriter&) = delete;

    void record(const TraceEvent& event) override;
    // A line could not be written (a full disk, say).
    bool failed() const;

private:
    TraceFileWriter(std::FILE* file, bool owned, std::chrono::steady_clock::time_point start);
    void writeLine(const std::string& line);

    mutable std::mutex m_mutex;
    std::FILE* m_file;
    bool m_owned;
    std::chrono::steady_clock::time_point m_start;
    bool m_failed = false;
};

}  // namespace hart
