// The modem power cycle through the relay on the parallel port.
#include "engine/CMainFrame.h"

#include "engine/AppSettings.h"
#include "engine/CServices.h"
#include "engine/IUserInterface.h"
#include "engine/SettingLimits.h"
#include "engine/TimerIds.h"
#include "engine/TimerPeriod.h"

#include <cstdio>
namespace tarnwick {

std::uint16_t CMainFrame::PortRead(std::uint16_t nPort) {
    return m_pfnIn32 == nullptr ? 0 : m_pfnIn32(nPort);
}

void CMainFrame::PortWrite(std::uint16_t nPort, std::uint16_t nValue) {
    if (m_pfnOut32 != nullptr)
        m_pfnOut32(nPort, nValue);
}

void CMainFrame::UpdatePortBits(std::uint16_t nPort, std::uint16_t nMask, bool bSet) {
    const std::uint16_t nValue = PortRead(nPort);
    const auto nNew = static_cast<std::uint16_t>(bSet ? (nValue | nMask) : (nValue & ~nMask));
    PortWrite(nPort, nNew);
    char sz[48];
    std::snprintf(sz, sizeof sz, "0x%03x 0x%02x -> 0x%02x", nPort, nValue, nNew);
    m_strPortChange = sz;
}

void CMainFrame::OnResetModemPower() {
    const AppSettings& s = m_AppSettings;
    if (s.iLptPort <= 0)
        return;
    m_History.OnStep("power-cycle");
    const bool bWasOff = m_bModemOff;
    ModemPowerOff();
    // Also when the modem was off already: the off time starts anew.
    const std::uint32_t nOffMs = PeriodMs(s.iModemOffTime, 1, 1000);
    // Without the timer nothing would switch the modem on again: it goes back on at once.
    if (!ArmTimer(m_services.timers, m_services.log, IDT_MODEM_POWER_OFF, nOffMs,
                  "the power is switched on again at once")) {
        ModemPowerOn(true);
        return;
    }
    m_services.log.Write(
        LogLevel::Notice, "power",
        std::string(bWasOff ? "power cycle: the modem was off already; " : "power cycle: ") +
            "power returns in " + std::to_string(nOffMs / 1000) + " s");
    m_services.ui.Notify("Modem power-cycled", "The modem's power is cut for " +
                                                   std::to_string(nOffMs / 1000) +
                                                   " s to bring the link back.");
}

void CMainFrame::ModemPowerOff() {
    if (m_bModemOff)
        return;
    const AppSettings& s = m_AppSettings;
    const std::string strEntry = m_RasManager.GetCurrentEntry();
    if (m_RasManager.IsConnected(strEntry) && s.bTryToHangUp != 0)
        LoggedHangUp(strEntry, "power off");
    UpdatePortBits(EffectivePortAddress(s.iCtrlPort), EffectivePortMask(s.iCtrlPortMask), false);
    const std::string strCtrl = m_strPortChange;
    UpdatePortBits(EffectivePortAddress(s.iDataPort), EffectivePortMask(s.iDataPortMask), false);
    m_bModemOff = true;
    m_strModemPower = "off";
    if (IsPortLibLoaded())
        Log(LogLevel::Notice, "power",
            "modem power off: control " + strCtrl + ", data " + m_strPortChange);
    else
        Log(LogLevel::Warning, "power",
            "modem power off: the port module is not loaded, no register was written");
}

void CMainFrame::ModemPowerOn(bool bRedial) {
    const AppSettings& s = m_AppSettings;
    UpdatePortBits(EffectivePortAddress(s.iCtrlPort), EffectivePortMask(s.iCtrlPortMask), true);
    const std::string strCtrl = m_strPortChange;
    UpdatePortBits(EffectivePortAddress(s.iDataPort), EffectivePortMask(s.iDataPortMask), true);
    m_bModemOff = false;
    m_strModemPower = "on";
    std::string strText = IsPortLibLoaded()
                              ? "modem power on: control " + strCtrl + ", data " + m_strPortChange
                              : "modem power on: the port module is not loaded, no register "
                                "was written";
    if (bRedial && !m_RasManager.GetCurrentEntry().empty() && s.bTryToReestablish != 0) {
        const std::uint32_t nWaitMs = PeriodMs(s.iModemWaitTime, 5, 1000);
        if (ArmTimer(m_services.timers, m_services.log, IDT_DIAL, nWaitMs,
                     "no dial follows the power-on"))
            strText += "; dial in " + std::to_string(nWaitMs / 1000) + " s";
    }
    Log(IsPortLibLoaded() ? LogLevel::Notice : LogLevel::Warning, "power", strText);
}

} // namespace tarnwick
