#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "hart/output_file.h"
#include "hart/trace.h"

namespace hart {

// Writes the trace's text, a line per event, flushed at once: a run that is killed keeps
// every line it wrote.
class TraceFileWriter final : public TraceSink {
public:
    // "-" is standard error; a pipe or a FIFO needs a reader. nullptr, with error set, when
    // the file cannot be made.
    static std::unique_ptr<TraceFileWriter>
    Open(const std::string& path, std::chrono::steady_clock::time_point start, std::string& error);
    ~TraceFileWriter() override;
    TraceFileWriter(const TraceFileWriter&) = delete;
    TraceFileWriter& operator=(const TraceFileWriter&) = delete;

    void record(const TraceEvent& event) override;
    // A line could not be written (a full disk, say); the first failure's reason.
    bool failed() const;
    std::string failure() const;

private:
    TraceFileWriter(std::unique_ptr<OutputStream> output,
                    std::chrono::steady_clock::time_point start);
    void writeLine(const std::string& line);

    mutable std::mutex m_mutex;
    std::unique_ptr<OutputStream> m_output;
    std::chrono::steady_clock::time_point m_start;
    std::string m_failure;  // empty while every line was written
};

}  // namespace hart
