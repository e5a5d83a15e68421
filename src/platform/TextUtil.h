#pragma once

#include <string>

namespace tarnwick {

// Lower-cases a multi-byte text in the current locale's encoding; bytes that do not form a
// character are kept as they are.
std::string MbLower(const std::string& strText);
// Upper-cases likewise.
std::string MbUpper(const std::string& strText);
// The C library's atoi, without its undefined behaviour on overflow: leading white space, an
// optional sign, then decimal digits up to the first other character; no digits give 0.
// Values beyond the 32-bit range give the nearest 32-bit value.
int AtoI(const std::string& strText);

} // namespace tarnwick
