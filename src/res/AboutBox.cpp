#include "res/AboutBox.h"

#include "res/Resource.h"
#include "res/Version.h"

namespace tarnwick {

const SAboutTemplate& AboutBoxTemplate() {
    using EKind = SAboutControl::EKind;
    static const SAboutTemplate s_template{
        "About Tarnwick",
        "MS Sans Serif",
        8,
        235,
        55,
        false,
        true,
        {
            {EKind::Icon, -1, std::string(), 11, 17, 20, 20},
            {EKind::Text, -1, "Tarnwick Version 1.0", 40, 10, 119, 8},
            {EKind::Text, -1, TARNWICK_LEGAL_NOTICE, 40, 25, 119, 8},
            {EKind::DefPushButton, static_cast<int>(ID::Ok), "OK", 178, 7, 50, 14},
        }};
    return s_template;
}

} // namespace tarnwick
