#pragma once

#include <QString>

namespace tarnwick {

// Shows a desktop notification through org.freedesktop.Notifications on the session bus,
// with the program icon; false when no notification server answered within a second.
bool SendNotification(const QString& strSummary, const QString& strBody);

} // namespace tarnwick
