#include "platform/linux/CJournalLog.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <systemd/sd-journal.h>

namespace tarnwick {

void CJournalLog::Write(LogLevel level, const std::string& strStep, const std::string& strText) {
    if (level > m_maxLevel)
        return;
    // Where the journal cannot take the line, standard error (which goes there too) does.
    const int nResult = sd_journal_send(
        "MESSAGE=%s: %s", strStep.c_str(), strText.c_str(), "PRIORITY=%d", static_cast<int>(level),
        "SYSLOG_IDENTIFIER=tarnwick", "TARNWICK_STEP=%s", strStep.c_str(), "TARNWICK_CONNECTION=%s",
        m_strConnection.c_str(), nullptr);
    if (nResult < 0)
        std::fprintf(stderr, "<%d>%s: %s\n", static_cast<int>(level), strStep.c_str(),
                     strText.c_str());
}

bool CJournalLog::IsStderrJournal() {
    const char* pszStream = std::getenv("JOURNAL_STREAM");
    if (pszStream == nullptr)
        return false;
    unsigned long long nDev = 0;
    unsigned long long nIno = 0;
    if (std::sscanf(pszStream, "%llu:%llu", &nDev, &nIno) != 2)
        return false;
    struct stat st {};
    if (fstat(2, &st) != 0)
        return false;
    return static_cast<unsigned long long>(st.st_dev) == nDev &&
           static_cast<unsigned long long>(st.st_ino) == nIno;
}

} // namespace tarnwick
