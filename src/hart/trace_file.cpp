#include "hart/trace_file.h"

#include <unistd.h>

#include "hart/trace_format.h"

namespace hart {

std::unique_ptr<TraceFileWriter> TraceFileWriter::Open(const std::string& path,
                                                       std::chrono::steady_clock::time_point start,
                                                       std::string& error)
{
    std::unique_ptr<OutputStream> output =
        path == "-" ? OutputStream::Standard(STDERR_FILENO) : OutputStream::Open(path, error);
    if (!output) {
        error = path + ": " + error;
        return nullptr;
    }
    // The trace takes the name at once: a run that is killed keeps what it wrote.
    if (!output->TakeName(error)) {
        error = path + ": " + error;
        return nullptr;
    }
    return std::unique_ptr<TraceFileWriter>(new TraceFileWriter(std::move(output), start));
}

TraceFileWriter::TraceFileWriter(std::unique_ptr<OutputStream> output,
                                 std::chrono::steady_clock::time_point start)
    : m_output(std::move(output)), m_start(start)
{
    writeLine(TraceStartLine(std::chrono::system_clock::now()));
}

TraceFileWriter::~TraceFileWriter() = default;

void TraceFileWriter::record(const TraceEvent& event)
{
    // Formatted outside the lock: the decoding is the costly part.
    const std::string line = TraceLine(event.time - m_start, DescribeEvent(event));
    writeLine(line);
}

void TraceFileWriter::writeLine(const std::string& line)
{
    std::lock_guard lock(m_mutex);
    // After a failure nothing more is written: a later line after a gap would mislead.
    if (!m_failure.empty()) return;
    std::string error;
    if (!m_output->Write(line + '\n', error)) m_failure = error;
}

bool TraceFileWriter::failed() const
{
    std::lock_guard lock(m_mutex);
    return !m_failure.empty();
}

std::string TraceFileWriter::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_failure;
}

}  // namespace hart
