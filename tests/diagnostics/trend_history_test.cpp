#include <gtest/gtest.h>

#include "diagnostics/trend_history.h"

using diagnostics::TrendHistory;

namespace {

document::LiveSample At(const QDateTime& time)
{
    document::LiveSample sample;
    sample.time = time;
    sample.read = true;
    return sample;
}

}  // namespace

TEST(TrendHistory, KeepsTheLastHourAndNeverMoreThanItsBound)
{
    TrendHistory history;
    const QDateTime start(QDate(2026, 3, 15), QTime(8, 0));
    // A cycle every four seconds for an hour and a half: the first half hour goes.
    constexpr int kCycles = 1350;
    for (int cycle = 0; cycle <= kCycles; ++cycle) history.add(At(start.addSecs(4 * cycle)));
    const QDateTime last = start.addSecs(4 * kCycles);
    EXPECT_EQ(history.samples().front().time, last.addSecs(-3600));
    EXPECT_EQ(history.samples().back().time, last);
    EXPECT_EQ(history.samples().size(), 901u);

    // Samples faster than the bound allows (a clock standing still) still keep it.
    for (std::size_t i = 0; i < 2 * TrendHistory::kMaxSamples; ++i) history.add(At(last));
    EXPECT_EQ(history.samples().size(), TrendHistory::kMaxSamples);
    EXPECT_EQ(history.samples().front().time, last);
}
