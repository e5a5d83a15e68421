#pragma once

#include <QIcon>

namespace tarnwick {

// Icon 128, the program icon, in every size the program carries (each decoded when first used).
QIcon ProgramIcon();

} // namespace tarnwick
