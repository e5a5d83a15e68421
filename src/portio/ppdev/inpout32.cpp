// The port-I/O module: the same file name and entry points as the simulated module, on the
// machine's real parallel ports. It needs no configuration.
#include "CLinuxPortHardware.h"
#include "CParallelPorts.h"

namespace tarnwick {
namespace {
CParallelPorts& Ports() {
    static CLinuxPortHardware hardware;
    static CParallelPorts ports("/proc/sys/dev/parport", "/dev", hardware);
    return ports;
}
} // namespace
} // namespace tarnwick

using tarnwick::Ports;

extern "C" {
__attribute__((visibility("default"))) unsigned short In32(unsigned short nPort) {
    return Ports().In32(nPort);
}

__attribute__((visibility("default"))) void Out32(unsigned short nPort, unsigned short nValue) {
    Ports().Out32(nPort, nValue);
}
}
