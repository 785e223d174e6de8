#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include <QObject>

#include "diagnostics/trace_model.h"
#include "hart/trace.h"
#include "hart/trace_file.h"

namespace diagnostics {

// The desktop session's trace: takes the events of every link of the program on whatever
// thread they happen, hands them to the GUI thread in batches without ever waiting for it,
// and keeps the newest in its model; optionally also writes them to a file as they come.
class TraceLog : public QObject, public hart::TraceSink {
    Q_OBJECT

public:
    // start: time zero, from the links' clock.
    explicit TraceLog(std::chrono::steady_clock::time_point start, QObject* parent = nullptr);
    ~TraceLog() override;

    // Every later event also goes to the file; false, with error set, when it cannot be made.
    bool writeAlsoTo(const std::string& path, std::string& error);

    void record(const hart::TraceEvent& event) override;

    TraceModel& model() { return m_model; }
    // While paused the model stands still; the events that come meanwhile follow on resuming.
    void setPaused(bool paused);
    bool paused() const { return m_paused; }
    // The trace's first line, with the session's wall-clock start.
    const std::string& startLine() const { return m_startLine; }

signals:
    // Writing to the file failed; said once, on the GUI thread: later lines are not written.
    void fileFailed(const QString& path, const QString& reason);

private:
    void drain();

    std::mutex m_mutex;
    std::deque<hart::TraceEvent> m_incoming;  // guarded by m_mutex
    bool m_drainQueued = false;               // guarded by m_mutex
    std::deque<hart::TraceEvent> m_held;      // GUI thread: what came while paused
    bool m_paused = false;
    std::unique_ptr<hart::TraceFileWriter> m_file;
    std::string m_filePath;
    bool m_fileFailureSaid = false;  // GUI thread
    std::chrono::steady_clock::time_point m_start;
    std::string m_startLine;
    TraceModel m_model;
};

// TARVEL4410_TRACE: the file a desktop session also writes its trace to, for a support request.
constexpr const char* kTraceFileVariable = "TARVEL4410_TRACE";

}  // namespace diagnostics
