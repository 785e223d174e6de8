#pragma once

#include <chrono>
#include <utility>

#include <QTest>

// How long a widget test waits for what the program does on its own: a queued call, a
// worker thread, a modal window. Generous, since sanitizer builds run many times slower.
inline constexpr std::chrono::milliseconds kGuiWait{5000};

// Serves events until the condition holds; false when the time ran out first.
template <typename Condition>
[[nodiscard]] bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = kGuiWait)
{
    return QTest::qWaitFor(std::move(condition), static_cast<int>(timeout.count()));
}
