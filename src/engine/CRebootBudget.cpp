#include "engine/CRebootBudget.h"

#include "platform/IClock.h"
#include "platform/ILog.h"
#include "platform/IStateStore.h"

#include <charconv>
#include <string>
#include <vector>

namespace tarnwick {

namespace {
// How far back a reboot counts, in seconds.
constexpr std::int64_t kWindow = std::int64_t{24} * 3600;

// The stamps within the window; a damaged line or one from far ahead (a clock that was
// wrong) is dropped.
std::vector<std::int64_t> RecentStamps(IStateStore& store, std::int64_t tNow) {
    std::vector<std::string> lines;
    std::vector<std::int64_t> stamps;
    if (!store.ReadLines(CRebootBudget::kFile, lines))
        return stamps;
    for (const std::string& strLine : lines) {
        std::int64_t t = 0;
        const char* pEnd = strLine.data() + strLine.size();
        const auto result = std::from_chars(strLine.data(), pEnd, t);
        if (result.ec != std::errc() || result.ptr != pEnd)
            continue;
        if (t > tNow - kWindow && t <= tNow + kWindow)
            stamps.push_back(t);
    }
    return stamps;
}
} // namespace

CRebootBudget::CRebootBudget(IStateStore& store, IClock& clock, ILog& log)
    : m_store(store), m_clock(clock), m_log(log) {}

int CRebootBudget::CountLastDay() const {
    return static_cast<int>(RecentStamps(m_store, m_clock.GetWallTime()).size());
}

bool CRebootBudget::IsSpent(int nMaxPerDay) const {
    return nMaxPerDay > 0 && CountLastDay() >= nMaxPerDay;
}

void CRebootBudget::Record() {
    const std::int64_t tNow = m_clock.GetWallTime();
    std::vector<std::string> lines;
    for (std::int64_t t : RecentStamps(m_store, tNow))
        lines.push_back(std::to_string(t));
    lines.push_back(std::to_string(tNow));
    if (!m_store.WriteLines(kFile, lines))
        m_log.Write(LogLevel::Warning, "reboot",
                    "the reboot could not be counted: " + m_store.LastError());
}

} // namespace tarnwick
