#pragma once

#include <atomic>
#include <future>
#include <memory>
#include <utility>

#include <QMetaObject>
#include <QObject>
#include <QThread>

// The call RunOnThreadOfAndWait queues: the work and the promise that tells the caller it ran.
template <typename Work>
struct QueuedCall {
    Work work;
    std::promise<void> ran;
};

// Owns a queued call on its way through Qt's event queue. Qt hands it over under a mutex
// built on a bare futex, which ThreadSanitizer cannot see, so the pointer itself carries the
// hand-over: stored with release where it is put into the queue, taken with acquire where it
// is run. What the caller did before is then ordered before the work for the sanitizer as it
// is in fact. Dropped without running (its receiver destroyed), it deletes the call, and the
// broken promise ends the caller's wait.
template <typename Call>
class HandedOverCall {
public:
    explicit HandedOverCall(Call* call) { Pointer().store(call, std::memory_order_release); }
    HandedOverCall(HandedOverCall&& other) noexcept
    {
        Pointer().store(other.Pointer().exchange(nullptr, std::memory_order_acquire),
                        std::memory_order_release);
    }
    HandedOverCall(const HandedOverCall&) = delete;
    HandedOverCall& operator=(const HandedOverCall&) = delete;
    HandedOverCall& operator=(HandedOverCall&&) = delete;
    ~HandedOverCall() { delete Pointer().load(std::memory_order_acquire); }

    std::unique_ptr<Call> take()
    {
        return std::unique_ptr<Call>(Pointer().exchange(nullptr, std::memory_order_acquire));
    }

private:
    // Never written but atomically: a plain write where the object is made would look to
    // the sanitizer like a race with the first atomic access on the other thread.
    std::atomic_ref<Call*> Pointer() { return std::atomic_ref<Call*>(m_call); }

    Call* m_call;
};

// Runs `work` on the thread of `context` and returns when it has run there: at once when
// called on that thread, otherwise queued to its event loop while the caller waits.
//
// Qt's BlockingQueuedConnection does the same, but it hands control back through a
// semaphore built on a bare futex, which ThreadSanitizer cannot see; everything the work
// did would then look unsynchronised with what the caller does next. A std::promise makes
// the hand-back visible.
template <typename Work>
void RunOnThreadOfAndWait(QObject* context, Work work)
{
    if (QThread::currentThread() == context->thread()) {
        work();
        return;
    }
    using Call = QueuedCall<Work>;
    auto* call = new Call{std::move(work), {}};
    std::future<void> ran = call->ran.get_future();
    QMetaObject::invokeMethod(
        context,
        [handedOver = HandedOverCall<Call>(call)]() mutable {
            const std::unique_ptr<Call> call = handedOver.take();
            call->work();
            call->ran.set_value();
        },
        Qt::QueuedConnection);
    try {
        ran.get();
    } catch (const std::future_error&) {
        // Dropped without running.
    }
}
