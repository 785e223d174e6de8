#pragma once

#include <atomic>
#include <future>
#include <memory>
#include <utility>

#include <QMetaObject>
#include <QObject>
#include <QThread>

// Owns a queued work on its way through Qt's event queue. Qt hands it over under a mutex
// built on a bare futex, which ThreadSanitizer cannot see, so the pointer itself carries the
// hand-over: stored with release where it is put into the queue, taken with acquire where it
// is run. What the caller did before is then ordered before the work for the sanitizer as it
// is in fact. Dropped without running (its receiver destroyed), it deletes the work.
template <typename Work>
class HandedOver {
public:
    explicit HandedOver(Work* work) { Pointer().store(work, std::memory_order_release); }
    HandedOver(HandedOver&& other) noexcept
    {
        Pointer().store(other.Pointer().exchange(nullptr, std::memory_order_acquire),
                        std::memory_order_release);
    }
    HandedOver(const HandedOver&) = delete;
    HandedOver& operator=(const HandedOver&) = delete;
    HandedOver& operator=(HandedOver&&) = delete;
    ~HandedOver() { delete Pointer().load(std::memory_order_acquire); }

    std::unique_ptr<Work> take()
    {
        return std::unique_ptr<Work>(Pointer().exchange(nullptr, std::memory_order_acquire));
    }

private:
    // Never written but atomically: a plain write where the object is made would look to
    // the sanitizer like a race with the first atomic access on the other thread.
    std::atomic_ref<Work*> Pointer() { return std::atomic_ref<Work*>(m_work); }

    Work* m_work;
};

// Queues `work` to the event loop of the thread of `context` and returns at once.
template <typename Work>
void QueueToThreadOf(QObject* context, Work work)
{
    QMetaObject::invokeMethod(
        context,
        [handedOver = HandedOver<Work>(new Work(std::move(work)))]() mutable {
            (*handedOver.take())();
        },
        Qt::QueuedConnection);
}

// Runs `work` at once when called on the thread of `context`, else queues it there without
// waiting.
template <typename Work>
void RunOnThreadOf(QObject* context, Work work)
{
    if (QThread::currentThread() == context->thread())
        work();
    else
        QueueToThreadOf(context, std::move(work));
}

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
    std::promise<void> done;
    std::future<void> ran = done.get_future();
    QueueToThreadOf(context, [work = std::move(work), done = std::move(done)]() mutable {
        work();
        done.set_value();
    });
    try {
        ran.get();
    } catch (const std::future_error&) {
        // Dropped without running.
    }
}
