#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

// What `tarnwick --history` prints from the lines of the outage history: the last
// nLastRows outages as a table, then a summary over the whole file (outages, total and
// longest downtime, availability from the first outage until tNow, how often each step
// restored the link). Damaged lines are skipped and counted.
std::string FormatHistoryReport(const std::vector<std::string>& lines, std::int64_t tNow,
                                std::size_t nLastRows = 20);

} // namespace tarnwick
