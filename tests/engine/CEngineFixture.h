#pragma once

#include "CFakeServices.h"

#include "app/CTarnwickApp.h"
#include "engine/CMainFrame.h"
#include "engine/TimerIds.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace tarnwick {

// A started program on fakes: m_settings, set before Start(), are the settings it starts with.
class CEngineFixture : public ::testing::Test {
protected:
    void Start() {
        m_pApp = std::make_unique<CTarnwickApp>(m_fakes.services);
        m_pApp->GetSettings() = m_settings;
        // Start-up loads the profile; an empty fake profile keeps what the test set.
        ASSERT_TRUE(m_pApp->InitInstance());
    }
    // A start-up that failed fails the test here (an exception, which GoogleTest reports)
    // rather than crashing the binary on a missing object.
    CTarnwickApp& App() {
        if (!m_pApp)
            throw std::logic_error("the program was not started");
        return *m_pApp;
    }
    CMainFrame& Frame() {
        if (App().GetMainWnd() == nullptr)
            throw std::logic_error("start-up made no main window");
        return *App().GetMainWnd();
    }
    AppSettings& Settings() { return App().GetSettings(); }

    // Makes the next check cycle pass or fail through the connection check.
    void SetLinkUp(bool bUp) {
        m_fakes.dialUp.m_connections.clear();
        if (bUp)
            m_fakes.dialUp.Connect("Work");
    }
    // Runs the check cycle once, as its timer would.
    void RunCheck() { Frame().OnTimer(IDT_CHECK); }

    CFakeServices m_fakes;
    AppSettings m_settings;
    std::unique_ptr<CTarnwickApp> m_pApp;
};

} // namespace tarnwick
