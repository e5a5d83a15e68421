#include "CBenchRig.h"

#include <cstdio>

namespace tarnwick {

CBenchRig::CBenchRig() {
    if (m_sandbox.IsReady())
        m_mock.Activate(m_mock.AddProfile(QStringLiteral("Modem")));
}

bool CBenchRig::IsReady() const {
    if (!m_sandbox.IsReady())
        std::fprintf(stderr, "%s\n", qPrintable(m_sandbox.Error()));
    return m_sandbox.IsReady();
}

CServices CBenchRig::Services(INetService& net, IFileTimes& files, IShellTray& shell,
                              IUserInterface& ui) {
    CFakeServices& f = m_fakes;
    return {f.profile,   f.timers, m_dialUp,  f.modules, f.power, net,   files,
            f.processes, f.clock,  f.autorun, shell,     ui,      f.log, f.state};
}

} // namespace tarnwick
