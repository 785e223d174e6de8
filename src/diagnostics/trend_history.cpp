#include "diagnostics/trend_history.h"

namespace diagnostics {

void TrendHistory::add(const document::LiveSample& sample)
{
    m_samples.push_back(sample);
    const QDateTime oldestKept = sample.time.addSecs(-kSpan.count());
    while (m_samples.size() > kMaxSamples || m_samples.front().time < oldestKept)
        m_samples.pop_front();
}

}  // namespace diagnostics
