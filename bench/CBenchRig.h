#pragma once

#include "CFakeServices.h"
#include "CNmMock.h"
#include "CTestSandbox.h"

#include "engine/CServices.h"
#include "platform/linux/CNmDialUpService.h"
#include "platform/linux/CStderrLog.h"
#include "platform/linux/CSystemBus.h"

namespace tarnwick {

// What the benches stand on: the shared sandbox, whose NetworkManager stand-in holds one
// profile "Modem" with its connection up, the NetworkManager client on the sandbox's bus, and
// the fakes of every other service.
class CBenchRig {
public:
    CBenchRig();
    // False (and why, on standard error) when the sandbox could not be set up.
    bool IsReady() const;
    // The fakes, the NetworkManager client, and the services given in their place.
    CServices Services(INetService& net, IFileTimes& files, IShellTray& shell, IUserInterface& ui);

    CTestSandbox m_sandbox;
    CNmMock m_mock{m_sandbox.SystemBus()};
    CFakeServices m_fakes;
    CStderrLog m_nmLog;
    CSystemBus m_systemBus{m_nmLog, m_sandbox.BusAddress()};
    CNmDialUpService m_dialUp{m_systemBus, m_nmLog};
};

} // namespace tarnwick
