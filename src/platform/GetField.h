#pragma once

#include <string>

namespace tarnwick {

// The n-th field, counting from 1, of strText split at chSep. Fields may be empty; n below 1
// and fields past the last one give an empty text.
std::string GetField(const std::string& strText, int n, char chSep);

} // namespace tarnwick
