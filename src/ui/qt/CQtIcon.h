#pragma once

#include <QIcon>

// Icon 128, the program icon, in every size the program carries.
QIcon ProgramIcon();
