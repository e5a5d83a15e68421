#pragma once

namespace tarnwick {

// What an update handler decides about one menu item.
struct CCmdUI {
    unsigned m_nID = 0;
    bool m_bEnabled = true;
    void Enable(bool bOn = true) { m_bEnabled = bOn; }
};

} // namespace tarnwick
