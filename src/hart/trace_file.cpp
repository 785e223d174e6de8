#include "hart/trace_file.h"

#include <cerrno>
#include <cstring>

#include "hart/trace_format.h"

namespace hart {

std::unique_ptr<TraceFileWriter> TraceFileWriter::Open(const std::string& path,
                                                       std::chrono::steady_clock::time_point start,
                                                       std::string& error)
{
    if (path == "-")
        return std::unique_ptr<TraceFileWriter>(new TraceFileWriter(stderr, false, start));
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        error = path + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<TraceFileWriter>(new TraceFileWriter(file, true, start));
}

TraceFileWriter::TraceFileWriter(std::FILE* file, bool owned,
                                 std::chrono::steady_clock::time_point start)
    : m_file(file), m_owned(owned), m_start(start)
{
    writeLine(TraceStartLine(std::chrono::system_clock::now()));
}

TraceFileWriter::~TraceFileWriter()
{
    if (m_owned) std::fclose(m_file);
}

void TraceFileWriter::record(const TraceEvent& event)
{
    // Formatted outside the lock: the decoding is the costly part.
    const std::string line = TraceLine(event.time - m_start, DescribeEvent(event));
    writeLine(line);
}

void TraceFileWriter::writeLine(const std::string& line)
{
    std::lock_guard lock(m_mutex);
    if (std::fputs(line.c_str(), m_file) < 0 || std::fputc('\n', m_file) == EOF ||
        std::fflush(m_file) != 0)
        m_failed = true;
}

bool TraceFileWriter::failed() const
{
    std::lock_guard lock(m_mutex);
    return m_failed;
}

}  // namespace hart
