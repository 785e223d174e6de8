#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <thread>
#include <type_traits>

#include <QObject>

namespace document {

// Whether the user may cancel a command: a read, a check and a compare may be cut between
// transactions; a send chain and a calibration step may not.
enum class Cancel { Allowed, NotAllowed };

// Runs the desktop program's device commands, one at a time, on a worker thread, while the
// GUI thread goes on serving its events: it repaints, takes input and shows the questions
// and notices the worker hands it. Create it on the GUI thread.
class CommandWorker : public QObject {
    Q_OBJECT

public:
    explicit CommandWorker(QObject* parent = nullptr);
    ~CommandWorker() override;

    // Runs `work` on the worker and returns when it has ended. False, and nothing run, while
    // another command runs. Called from any other thread than this object's, it runs `work`
    // there at once.
    bool Run(const std::function<void()>& work, Cancel cancel);

    // The cancel button: the running command stops after its current transaction. Nothing
    // happens to a command that may not be cut.
    void RequestCancel();
    // Serves events until the running command's work has ended (at once when none runs).
    void WaitForEnd();

    bool running() const { return m_running; }
    // True on the worker thread while it runs a command.
    bool onWorker() const { return std::this_thread::get_id() == m_workerId.load(); }
    bool cancellable() const { return m_cancel == Cancel::Allowed; }

signals:
    // On the GUI thread, before the work starts and after it has ended.
    void runningChanged(bool running);

private:
    bool m_running = false;
    Cancel m_cancel = Cancel::NotAllowed;
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<bool> m_workEnded{true};
    std::atomic<std::thread::id> m_workerId;
};

// Serves the calling thread's events until `done` holds; for a GUI thread that waits for a
// worker which may itself wait for a message box on this thread.
void ServeEventsUntil(const std::function<bool()>& done);

// Runs `work` through `worker` and hands back its result; nothing when another command runs.
template <typename Work>
auto RunCommand(CommandWorker& worker, Cancel cancel, Work work)
    -> std::optional<std::invoke_result_t<Work&>>
{
    std::optional<std::invoke_result_t<Work&>> result;
    worker.Run([&] { result = work(); }, cancel);
    return result;
}

}  // namespace document
