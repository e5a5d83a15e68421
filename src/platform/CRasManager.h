#pragma once

#include <string>
#include <vector>

namespace tarnwick {

class IDialUpService;

// The dial-up connections: whether an entry is connected, dialling and hanging up, the
// phone book, and the "current" entry that re-dials and the tray menu act on. Entry names
// are compared without regard to case; an empty name matches every connection.
class CRasManager {
public:
    explicit CRasManager(IDialUpService& service);
    virtual ~CRasManager() = default;

    // True when a connection of the entry is listed and its status can be read. Every
    // listed connection, matching or not, becomes the current entry in turn, so afterwards
    // the current entry names the last one listed.
    bool IsConnected(const std::string& strName);
    // True when a connection of a dial-up kind is up (a LAN, Wi-Fi or VPN does not count);
    // strEntry then names the last one listed. The current entry is left as it is.
    bool FindDialUpConnection(std::string& strEntry);
    // True when the entry was already connected or the dial succeeded.
    bool Dial(const std::string& strName);
    // Hangs up every matching connection; true when at least one hang-up succeeded.
    bool HangUp(const std::string& strName);

    // After IsConnected with an empty name: what IsConnected(GetCurrentEntry()) would say
    // at that moment, without asking again.
    bool IsCurrentUp() const { return m_bCurrentUp; }

    std::string GetCurrentEntry() const { return m_strEntry; }
    void SetCurrentEntry(const std::string& strName) { m_strEntry = strName; }

    // Every entry name of the phone book, in the service's order; empty on error.
    std::vector<std::string> EnumEntryNames();
    // The same names joined by "|".
    std::string EnumEntries();

private:
    IDialUpService& m_service;
    std::string m_strEntry;
    bool m_bCurrentUp = false;
};

} // namespace tarnwick
