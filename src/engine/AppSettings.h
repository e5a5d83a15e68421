#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

class IProfileStore;

// Every persisted parameter, one public field per stored value. The field name is also the
// value name in the profile; the order of the fields is the order of loading and saving.
struct AppSettings {
    AppSettings();

    // Reads all 26 values; a missing or unreadable value leaves its field as it was.
    void Load(IProfileStore& profile);
    // Writes all 26 values and commits them to the store in one piece.
    bool Save(IProfileStore& profile) const;
    // Takes into this record every value that differs between before and after (the profile
    // as it was last read or written, and as it reads now); a value that only this record
    // changed meanwhile stays. Answers the values taken, as name=value.
    std::vector<std::string> TakeChanges(const AppSettings& before, const AppSettings& after);

    bool operator==(const AppSettings&) const = default;

    std::int32_t CurrentTab;
    std::int32_t bAutoRun;
    std::int32_t iAutoRunMethod;
    std::int32_t bAutoShutdown;
    std::string sShutdownTime;
    std::int32_t bEnableWatchDogging;
    std::string sDefaultConnection;
    std::int32_t bEstablishConnection;
    std::int32_t bCheckConnState;
    std::int32_t bCheckFileRefresh;
    std::int32_t bCheckURLDownload;
    std::int32_t iCheckDelay;
    std::int32_t iMaxFaults;
    std::string sFileRefresh;
    std::string sURLDownload;
    std::int32_t iLptPort;
    std::int32_t iDataPort;
    std::int32_t iCtrlPort;
    std::int32_t iDataPortMask;
    std::int32_t iCtrlPortMask;
    std::int32_t iModemOffTime;
    std::int32_t iModemWaitTime;
    std::int32_t bTryToHangUp;
    std::int32_t bTryToReestablish;
    std::int32_t bMakeSureModemOn;
    // Reboots asked for in any 24 hours at most; 0 = no limit. Past it a power cycle stands in.
    std::int32_t iMaxRebootsPerDay;
};

// Section names of the profile.
inline constexpr const char* kSectionGeneral = "General";
inline constexpr const char* kSectionWatchDogging = "WatchDogging";
inline constexpr const char* kSectionLptResetter = "LptResetter";

// Host probed by the reachability check until the user names another.
inline constexpr const char* kDefaultURLDownload = "www.debian.org";

} // namespace tarnwick
