#pragma once

#include "engine/AppSettings.h"
#include "engine/CServices.h"
#include "engine/IAppCommands.h"
#include "engine/IParamsHost.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

class CMainFrame;

// The application: the parameters, the main frame, start-up and exit.
class CTarnwickApp : public IAppCommands, public IParamsHost {
public:
    explicit CTarnwickApp(CServices& services);
    ~CTarnwickApp() override;
    CTarnwickApp(const CTarnwickApp&) = delete;
    CTarnwickApp& operator=(const CTarnwickApp&) = delete;

    // Loads the parameters, creates the main frame and runs its start-up, then applies
    // autorun and arms the shutdown and check timers. False when start-up failed.
    bool InitInstance();
    // Saves the parameters and destroys the main frame. Runs once; later calls do nothing.
    // Values that someone else changed in the profile since it was last read are taken
    // first, so that the save does not write them back to what they were.
    int ExitInstance();

    // Reads the profile again and takes every value changed there since it was last read or
    // written; values changed only in memory (a connection adopted at start-up, the last tab)
    // stay. Then applies them as the dialog's OK does: autorun, shutdown timer, check timer
    // and fault counter. OnReloadRequest always applies and logs; OnProfileChanged (the file
    // changed on disk) only when a value changed, so that the program's own saves pass.
    void OnReloadRequest();
    void OnProfileChanged();
    // Saves the parameters as an exit does (also when the desktop session ends), unless the
    // stored ones could not be read at start-up: then they are left as they are.
    bool SaveOnExit();

    // Brings the autorun entries in line with bAutoRun and iAutoRunMethod.
    bool ApplyAutorun();
    // Arms the daily shutdown timer; false when automatic shutdown is off or the time invalid.
    bool SetupShutdownTimer();
    // The shutdown timer fired: asks for the shutdown when its local time has come, and
    // arms the timer again towards the next one.
    void OnShutdownTimer() override;
    // When the next scheduled shutdown falls due (wall clock, seconds since the epoch); 0
    // when none is scheduled.
    std::int64_t GetShutdownDue() const override { return m_nShutdownDue; }
    // Clears the fault counter and arms the check timer; false when no check is enabled.
    bool SetupCheckTimer();
    // The about box, one at a time.
    void OnAppAbout() override;
    void OnAppSettings() override;
    // Why the program ends, for the log line at exit; the first reason given stands.
    void SetExitReason(const std::string& strReason) override;

    AppSettings& GetSettings() override { return m_AppSettings; }
    IFrameStatus* GetFrameStatus() override;
    void ApplySettings() override;

    CMainFrame* GetMainWnd() { return m_pMainWnd.get(); }

private:
    // Saves the parameters and says in the log whether that worked.
    bool SaveSettings(const char* pszWhen);
    // Reads the profile into m_ProfileSettings and takes its changes into m_AppSettings; false
    // when it cannot be read.
    bool TakeProfileChanges(std::vector<std::string>& changes);
    void ReloadSettings(bool bAlways, const char* pszCause);
    void ArmShutdownTimer();

    CServices& m_services;
    AppSettings m_AppSettings;
    bool m_bAboutOpen = false;
    // The parameters as the profile held them when it was last read or written.
    AppSettings m_ProfileSettings;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    bool m_bExited = false;
    std::string m_strExitReason;
    std::int64_t m_nShutdownDue = 0;
    std::int64_t m_nLastShutdownRequest = 0;
};

} // namespace tarnwick
