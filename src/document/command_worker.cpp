#include "document/command_worker.h"

#include <chrono>
#include <system_error>
#include <thread>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include "hart/cancel_request.h"

namespace document {
namespace {

// How often a waiting GUI thread looks whether the worker has ended, should the worker's own
// wake-up have been taken by a nested event loop.
constexpr std::chrono::milliseconds kEndPoll{10};

}  // namespace

CommandWorker::CommandWorker(QObject* parent) : QObject(parent) {}

CommandWorker::~CommandWorker() = default;

bool CommandWorker::Run(const std::function<void()>& work, Cancel cancel)
{
    if (QThread::currentThread() != thread()) {
        work();
        return true;
    }
    if (m_running) return false;
    m_running = true;
    m_cancel = cancel;
    m_cancelRequested = false;
    m_workEnded = false;
    // Before the worker starts: what the views do on it (a field that loses the focus stores
    // its value) is done before the worker touches the document.
    emit runningChanged(true);
    const auto body = [this, &work] {
        m_workerId = std::this_thread::get_id();
        {
            const hart::CancelScope scope(m_cancelRequested);
            work();
        }
        m_workerId = std::thread::id();
        m_workEnded = true;
        QMetaObject::invokeMethod(
            this, [] {}, Qt::QueuedConnection);  // wakes the GUI thread
    };
    try {
        std::thread worker(body);
        ServeEventsUntil([this] { return m_workEnded.load(); });
        worker.join();
    } catch (const std::system_error&) {
        // No thread to be had: the command runs here, as a blocking one.
        if (!m_workEnded) body();
    }
    m_running = false;
    m_cancel = Cancel::NotAllowed;
    emit runningChanged(false);
    return true;
}

void CommandWorker::RequestCancel()
{
    if (m_running && m_cancel == Cancel::Allowed) m_cancelRequested = true;
}

void CommandWorker::WaitForEnd()
{
    ServeEventsUntil([this] { return m_workEnded.load(); });
}

void ServeEventsUntil(const std::function<bool()>& done)
{
    if (done()) return;
    // Not a nested QEventLoop: one that the application's quit has ended returns at once
    // until the main loop is left, and the worker may be waiting for a message box here.
    QTimer poll;
    poll.start(kEndPoll);
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace document
