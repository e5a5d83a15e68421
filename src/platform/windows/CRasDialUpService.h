#pragma once

#include "platform/IDialUpService.h"

#include <string>

namespace tarnwick {

class ILog;

// Dial-up through the Remote Access Service of the current user's default phone book.
// rasapi32.dll is loaded when the service is made, not linked, so that a machine without
// RAS still runs the program (every call then fails) and so that tests can load a
// simulated RAS module of their own instead.
class CRasDialUpService : public IDialUpService {
public:
    explicit CRasDialUpService(ILog& log, const std::string& strModule = "rasapi32.dll");
    ~CRasDialUpService() override;
    CRasDialUpService(const CRasDialUpService&) = delete;
    CRasDialUpService& operator=(const CRasDialUpService&) = delete;

    bool IsLoaded() const { return m_hModule != nullptr; }

    bool EnumConnections(std::vector<SActiveConnection>& connections) override;
    bool GetConnectStatus(const SActiveConnection& connection) override;
    bool HangUp(const SActiveConnection& connection) override;
    bool EnumEntries(std::vector<std::string>& entries) override;
    bool Dial(const std::string& strEntry) override;

private:
    struct SEntryPoints;
    void Fail(const char* pszStep, const std::string& strWhat, unsigned long dwError);

    ILog& m_log;
    void* m_hModule = nullptr;
    SEntryPoints* m_pApi = nullptr;
};

} // namespace tarnwick
