#pragma once

#include <string>

namespace tarnwick {

// The system's message for a Win32 error code, with the code itself.
std::string Win32ErrorText(unsigned long dwError);

} // namespace tarnwick
