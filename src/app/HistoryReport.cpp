#include "app/HistoryReport.h"

#include "engine/COutageHistory.h"
#include "platform/TimeText.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace tarnwick {

namespace {
struct SRow {
    SOutage outage;
    std::string strFixedBy;
    std::string strStart; // as written, with the offset of its time
};

std::string Cell(const std::string& strText, int nWidth) {
    char sz[128];
    std::snprintf(sz, sizeof sz, "%-*s", nWidth, strText.c_str());
    return sz;
}
} // namespace

std::string FormatHistoryReport(const std::vector<std::string>& lines, std::int64_t tNow,
                                std::size_t nLastRows) {
    std::vector<SRow> rows;
    std::size_t nDamaged = 0;
    for (const std::string& strLine : lines) {
        SRow row;
        if (!SOutage::FromJsonLine(strLine, row.outage, row.strFixedBy)) {
            ++nDamaged;
            continue;
        }
        const std::size_t nStart = strLine.find(R"("start":")");
        row.strStart = strLine.substr(nStart + 9, 19);
        row.strStart[10] = ' ';
        rows.push_back(row);
    }
    std::string r;
    if (rows.empty()) {
        r = "No outage recorded.\n";
    } else {
        r += Cell("start", 21) + Cell("down", 14) + Cell("failed", 8) + Cell("re-dials", 10) +
             Cell("power cycles", 14) + Cell("reboots", 9) + "fixed by\n";
        const std::size_t nFirst = rows.size() > nLastRows ? rows.size() - nLastRows : 0;
        for (std::size_t i = nFirst; i < rows.size(); ++i) {
            const SOutage& o = rows[i].outage;
            r += Cell(rows[i].strStart, 21) + Cell(FormatDuration(o.tEnd - o.tStart), 14) +
                 Cell(std::to_string(o.nFailedChecks), 8) + Cell(std::to_string(o.nRedials), 10) +
                 Cell(std::to_string(o.nPowerCycles), 14) + Cell(std::to_string(o.nReboots), 9) +
                 rows[i].strFixedBy + "\n";
        }
        std::int64_t nTotal = 0;
        std::int64_t nLongest = 0;
        std::int64_t tFirst = rows.front().outage.tStart;
        std::map<std::string, int> fixes;
        for (const SRow& row : rows) {
            const std::int64_t nDown = row.outage.tEnd - row.outage.tStart;
            nTotal += nDown;
            nLongest = std::max(nLongest, nDown);
            tFirst = std::min(tFirst, row.outage.tStart);
            ++fixes[row.strFixedBy];
        }
        const std::int64_t nPeriod = std::max<std::int64_t>(tNow - tFirst, nTotal);
        char szAvail[32];
        std::snprintf(szAvail, sizeof szAvail, "%.2f %%",
                      nPeriod > 0 ? 100.0 * static_cast<double>(nPeriod - nTotal) /
                                        static_cast<double>(nPeriod)
                                  : 100.0);
        r += "\n";
        r += "outages: " + std::to_string(rows.size()) + "\n";
        r += "downtime: " + FormatDuration(nTotal) + " in all, the longest " +
             FormatDuration(nLongest) + "\n";
        r += "availability: " + std::string(szAvail) + " over " + FormatDuration(nPeriod) +
             " since the first outage\n";
        r += "restored by:";
        for (const char* pszFix : {"redial", "power-cycle", "reboot", "itself"})
            r += std::string(" ") + pszFix + " " + std::to_string(fixes[pszFix]) +
                 (std::string(pszFix) == "itself" ? "\n" : ",");
    }
    if (nDamaged != 0)
        r += "damaged lines skipped: " + std::to_string(nDamaged) + "\n";
    return r;
}

} // namespace tarnwick
