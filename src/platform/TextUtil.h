#pragma once

#include <string>

// Lower-cases a multi-byte text in the current locale's encoding; bytes that do not form a
// character are kept as they are.
std::string MbLower(const std::string& strText);
// Upper-cases likewise.
std::string MbUpper(const std::string& strText);
// The C library's atoi, without its undefined behaviour on overflow: leading white space, an
// optional sign, then decimal digits up to the first other character; no digits give 0.
// Values beyond 32 bits wrap as the low 32 bits of the number.
int AtoI(const std::string& strText);
