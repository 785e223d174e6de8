#include "diagnostics/trace_log.h"

#include <vector>

#include "hart/trace_format.h"

namespace diagnostics {
namespace {

// Keeps at most the model's capacity: anything older would leave the model at once.
void Bound(std::deque<hart::TraceEvent>& events)
{
    while (events.size() > static_cast<std::size_t>(TraceModel::kCapacity)) events.pop_front();
}

}  // namespace

TraceLog::TraceLog(std::chrono::steady_clock::time_point start, QObject* parent)
    : QObject(parent), m_start(start),
      m_startLine(hart::TraceStartLine(std::chrono::system_clock::now())), m_model(start)
{
}

TraceLog::~TraceLog() = default;

bool TraceLog::writeAlsoTo(const std::string& path, std::string& error)
{
    auto file = hart::TraceFileWriter::Open(path, m_start, error);
    if (!file) return false;
    std::lock_guard lock(m_mutex);
    m_file = std::move(file);
    m_filePath = path;
    return true;
}

void TraceLog::record(const hart::TraceEvent& event)
{
    std::lock_guard lock(m_mutex);
    if (m_file) m_file->record(event);
    m_incoming.push_back(event);
    Bound(m_incoming);
    if (m_drainQueued) return;
    m_drainQueued = true;
    QMetaObject::invokeMethod(this, &TraceLog::drain, Qt::QueuedConnection);
}

void TraceLog::drain()
{
    std::deque<hart::TraceEvent> batch;
    {
        std::lock_guard lock(m_mutex);
        batch.swap(m_incoming);
        m_drainQueued = false;
    }
    if (m_file && !m_fileFailureSaid && m_file->failed()) {
        m_fileFailureSaid = true;
        emit fileFailed(QString::fromLocal8Bit(m_filePath.c_str()),
                        QString::fromLocal8Bit(m_file->failure().c_str()));
    }
    if (m_paused) {
        m_held.insert(m_held.end(), std::make_move_iterator(batch.begin()),
                      std::make_move_iterator(batch.end()));
        Bound(m_held);
        return;
    }
    m_model.append({std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end())});
}

void TraceLog::setPaused(bool paused)
{
    m_paused = paused;
    if (paused || m_held.empty()) return;
    std::vector<hart::TraceEvent> held(std::make_move_iterator(m_held.begin()),
                                       std::make_move_iterator(m_held.end()));
    m_held.clear();
    m_model.append(held);
}

}  // namespace diagnostics
