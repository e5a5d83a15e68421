#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tarnwick {

class IStateStore;
class IClock;
class ILog;

// One outage: from the first failed check to the first passing one, with what was tried.
struct SOutage {
    std::int64_t tStart = 0;
    std::int64_t tEnd = 0;
    int nFailedChecks = 0;
    int nRedials = 0;
    int nPowerCycles = 0;
    int nReboots = 0;
    // The last step taken: "" (none yet), "redial", "power-cycle" or "reboot". The passing
    // check that ends the outage credits it ("itself" when there was none).
    std::string strLastStep;
    std::string strBootId;

    std::string FixedBy() const { return strLastStep.empty() ? "itself" : strLastStep; }
    // The history file's line of a closed outage.
    std::string ToJsonLine(int nStartOffset, int nEndOffset) const;
    // Reads a history line; false when it is damaged.
    static bool FromJsonLine(const std::string& strLine, SOutage& outage, std::string& strFixedBy);
};

// The outage history: closed outages appended one line each to outages.jsonl (capped), the
// open one kept in a file of its own so that it goes on after a restart of the program or of
// the machine.
class COutageHistory {
public:
    static constexpr const char* kHistoryFile = "outages.jsonl";
    static constexpr const char* kOpenFile = "outage-open.json";

    COutageHistory(IStateStore& store, IClock& clock, ILog& log);

    // Takes up an outage that was open when the program last ended. When the machine has
    // booted since, the boot counts as the last step: the reboot is what the next passing
    // check credits.
    void Load();
    // A failed check: opens an outage if none is open and counts the check.
    void OnCheckFailed();
    // A step taken against the open outage: "redial", "power-cycle" or "reboot".
    void OnStep(const std::string& strStep);
    // A passing check: closes the open outage into the history. False when none was open.
    bool OnCheckPassed(SOutage& closed);

    bool IsOpen() const { return m_bOpen; }
    const SOutage& Current() const { return m_current; }

private:
    // The most closed outages the history keeps; the oldest go first.
    static constexpr std::size_t kMaxOutages = 10000;

    void SaveOpen();
    void Append(const SOutage& closed);
    void Warn(const std::string& strWhat);

    IStateStore& m_store;
    IClock& m_clock;
    ILog& m_log;
    bool m_bOpen = false;
    SOutage m_current;
};

} // namespace tarnwick
