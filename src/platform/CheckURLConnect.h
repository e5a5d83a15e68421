#pragma once

#include <string>

namespace tarnwick {

class INetService;
class ILog;

// True when a TCP connection to the host and port named by the text (read as CProbeTarget
// reads it) could be opened. A failure, a text that names nothing reachable included, is logged
// with its cause, or, when pstrCause is given, handed back there instead
// ("connect to host:80: refused") for the caller's own line.
bool CheckURLConnect(const std::string& strText, INetService& net, ILog& log,
                     std::string* pstrCause = nullptr);

} // namespace tarnwick
