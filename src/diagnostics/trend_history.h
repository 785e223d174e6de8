#pragma once

#include <chrono>
#include <cstddef>
#include <deque>

#include "document/live_sample.h"

namespace diagnostics {

// The samples the trend shows: the last hour of monitoring, and never more than a fixed
// number of them, whatever the clock does.
class TrendHistory {
public:
    static constexpr std::chrono::seconds kSpan{3600};
    // One a second over the hour; monitoring gives one every four seconds or more.
    static constexpr std::size_t kMaxSamples = 3600;

    void add(const document::LiveSample& sample);
    void clear() { m_samples.clear(); }
    const std::deque<document::LiveSample>& samples() const { return m_samples; }

private:
    std::deque<document::LiveSample> m_samples;
};

}  // namespace diagnostics
