// The modem power cycle through the relay on the parallel port.
#include "engine/CMainFrame.h"

#include "app/CServices.h"
#include "app/CTarnwickApp.h"
#include "app/SettingLimits.h"
#include "engine/TimerIds.h"
#include "engine/TimerPeriod.h"

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
    PortWrite(nPort, static_cast<std::uint16_t>(bSet ? (nValue | nMask) : (nValue & ~nMask)));
}

void CMainFrame::OnResetModemPower() {
    const AppSettings& s = m_app.m_AppSettings;
    if (s.iLptPort <= 0)
        return;
    ModemPowerOff();
    // Also when the modem was off already: the off time starts anew.
    m_services.timers.SetTimer(IDT_MODEM_POWER_OFF, PeriodMs(s.iModemOffTime, 1, 1000));
}

void CMainFrame::ModemPowerOff() {
    if (m_bModemOff)
        return;
    const AppSettings& s = m_app.m_AppSettings;
    const std::string strEntry = m_RasManager.GetCurrentEntry();
    if (m_RasManager.IsConnected(strEntry) && s.bTryToHangUp != 0)
        m_RasManager.HangUp(strEntry);
    UpdatePortBits(EffectivePortAddress(s.iCtrlPort), EffectivePortMask(s.iCtrlPortMask), false);
    UpdatePortBits(EffectivePortAddress(s.iDataPort), EffectivePortMask(s.iDataPortMask), false);
    m_bModemOff = true;
}

void CMainFrame::ModemPowerOn(bool bRedial) {
    const AppSettings& s = m_app.m_AppSettings;
    UpdatePortBits(EffectivePortAddress(s.iCtrlPort), EffectivePortMask(s.iCtrlPortMask), true);
    UpdatePortBits(EffectivePortAddress(s.iDataPort), EffectivePortMask(s.iDataPortMask), true);
    m_bModemOff = false;
    if (bRedial && !m_RasManager.GetCurrentEntry().empty() && s.bTryToReestablish != 0)
        m_services.timers.SetTimer(IDT_DIAL, PeriodMs(s.iModemWaitTime, 5, 1000));
}

} // namespace tarnwick
