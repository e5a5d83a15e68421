#pragma once

#include <map>
#include <string>

namespace tarnwick {

// One JSON object per line whose values are strings or integers, as the state files keep.
// Reads such a line into name -> value (strings unquoted); false for anything else, so a
// damaged line can be skipped.
bool ParseFlatJson(const std::string& strLine, std::map<std::string, std::string>& fields);
// A JSON string literal of the text, quotes included.
std::string JsonQuote(const std::string& strText);

} // namespace tarnwick
