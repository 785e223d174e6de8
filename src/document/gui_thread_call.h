#pragma once

#include <future>
#include <memory>
#include <utility>

#include <QMetaObject>
#include <QObject>
#include <QThread>

// Runs `work` on the thread of `context` and returns when it has run there: at once when
// called on that thread, otherwise queued to its event loop while the caller waits.
//
// Qt's BlockingQueuedConnection does the same, but it hands control back through a
// semaphore built on a bare futex, which ThreadSanitizer cannot see; everything the work
// did would then look unsynchronised with what the caller does next. A std::promise makes
// the hand-back visible. If the queued work is dropped without running (its receiver is
// destroyed), the broken promise ends the wait just the same.
template <typename Work>
void RunOnThreadOfAndWait(QObject* context, Work work)
{
    if (QThread::currentThread() == context->thread()) {
        work();
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ran = done->get_future();
    QMetaObject::invokeMethod(
        context,
        [done, work = std::move(work)]() mutable {
            work();
            done->set_value();
        },
        Qt::QueuedConnection);
    done.reset();
    try {
        ran.get();
    } catch (const std::future_error&) {
        // Dropped without running.
    }
}
