// The real program, headless, in a sandbox: private buses with the NetworkManager and logind
// stand-ins, a temporary HOME/XDG tree, the simulated port module.
#include "CLogindMock.h"
#include "CNmMock.h"
#include "CTestSandbox.h"

#include <gtest/gtest.h>

#include <glib.h>

#include <QDBusObjectPath>
#include <QDir>
#include <QFile>

#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
using Profile = std::map<std::string, std::map<std::string, std::string>>;

bool WriteProfile(const CTestSandbox& sandbox, const Profile& profile) {
    std::string strText;
    for (const auto& [strSection, values] : profile) {
        strText += "[" + strSection + "]\n";
        for (const auto& [strName, strValue] : values)
            strText += strName + "=" + strValue + "\n";
    }
    QDir().mkpath(QFileInfo(sandbox.ProfilePath()).path());
    QFile file(sandbox.ProfilePath());
    return file.open(QIODevice::WriteOnly) &&
           file.write(strText.c_str()) == static_cast<qint64>(strText.size());
}

Profile ReadProfile(const CTestSandbox& sandbox) {
    Profile profile;
    GKeyFile* pKeyFile = g_key_file_new();
    if (g_key_file_load_from_file(pKeyFile, sandbox.ProfilePath().toUtf8().constData(),
                                  G_KEY_FILE_NONE, nullptr)) {
        gchar** ppszGroups = g_key_file_get_groups(pKeyFile, nullptr);
        for (gchar** ppGroup = ppszGroups; *ppGroup != nullptr; ++ppGroup) {
            gchar** ppszKeys = g_key_file_get_keys(pKeyFile, *ppGroup, nullptr, nullptr);
            for (gchar** ppKey = ppszKeys; ppKey != nullptr && *ppKey != nullptr; ++ppKey) {
                gchar* pszValue = g_key_file_get_string(pKeyFile, *ppGroup, *ppKey, nullptr);
                profile[*ppGroup][*ppKey] = pszValue != nullptr ? pszValue : "";
                g_free(pszValue);
            }
            g_strfreev(ppszKeys);
        }
        g_strfreev(ppszGroups);
    }
    g_key_file_free(pKeyFile);
    return profile;
}

QStringList PortLog(const CTestSandbox& sandbox) {
    QFile file(sandbox.PortLogPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// The program has switched the modem on: its start-up has got that far, and a SIGTERM from
// now on ends it in order.
bool WaitForPowerOn(const CTestSandbox& sandbox, QProcess* pProgram) {
    return pProgram != nullptr &&
           CTestSandbox::WaitUntil([&] { return PortLog(sandbox).size() >= 4; }, 20s);
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        m_pSandbox = std::make_unique<CTestSandbox>();
        ASSERT_TRUE(m_pSandbox->IsReady()) << m_pSandbox->Error().toStdString();
        m_pNm = std::make_unique<CNmMock>(m_pSandbox->SystemBus());
    }

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::unique_ptr<CNmMock> m_pNm;
};

TEST_F(ProgramTest, FirstStartWritesEveryValueOnSigterm) {
    QProcess* pProgram = m_pSandbox->StartProgram();
    ASSERT_TRUE(WaitForPowerOn(*m_pSandbox, pProgram));
    EXPECT_FALSE(QFile::exists(m_pSandbox->ProfilePath())) << "nothing is saved before the exit";
    EXPECT_TRUE(m_pSandbox->StopProgram(pProgram))
        << m_pSandbox->ProgramLog(pProgram).toStdString();

    const Profile profile = ReadProfile(*m_pSandbox);
    ASSERT_EQ(profile.size(), 3u);
    EXPECT_EQ(profile.at("General").size(), 5u);
    EXPECT_EQ(profile.at("WatchDogging").size(), 10u);
    EXPECT_EQ(profile.at("LptResetter").size(), 10u);
    EXPECT_EQ(profile.at("WatchDogging").at("iCheckDelay"), "2");
    EXPECT_EQ(profile.at("WatchDogging").at("sDefaultConnection"), "");
    EXPECT_EQ(profile.at("LptResetter").at("iCtrlPort"), "890");
    struct stat st {};
    ASSERT_EQ(stat(m_pSandbox->ProfilePath().toUtf8().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ProgramTest, SecondInstanceEndsByItselfWhileTheFirstRuns) {
    QProcess* pFirst = m_pSandbox->StartProgram();
    ASSERT_TRUE(WaitForPowerOn(*m_pSandbox, pFirst));
    QProcess* pSecond = m_pSandbox->StartProgram();
    ASSERT_NE(pSecond, nullptr);
    ASSERT_TRUE(pSecond->waitForFinished(20000)) << "the second instance keeps running";
    EXPECT_EQ(pSecond->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pSecond->exitCode(), 0) << m_pSandbox->ProgramLog(pSecond).toStdString();
    EXPECT_FALSE(pFirst->waitForFinished(300)) << "the first instance ended too";
    EXPECT_TRUE(m_pSandbox->StopProgram(pFirst));
}

TEST_F(ProgramTest, StartSwitchesTheModemOnThroughThePortModule) {
    // The relay's control register starts with bit 2 clear and other bits set.
    m_pSandbox->SetProgramVariable("INPOUT32_SIM_INIT", "0x37a=0xcb,0x378=0x81");
    QProcess* pProgram = m_pSandbox->StartProgram();
    ASSERT_TRUE(WaitForPowerOn(*m_pSandbox, pProgram));
    EXPECT_TRUE(m_pSandbox->StopProgram(pProgram));
    // Control register first, bit 2 set; the data register read and written back unchanged.
    EXPECT_EQ(PortLog(*m_pSandbox), (QStringList{"In32 0x37a 0xcb", "Out32 0x37a 0xcf",
                                                 "In32 0x378 0x81", "Out32 0x378 0x81"}));
}

TEST_F(ProgramTest, StartAdoptsTheActiveConnectionAsDefault) {
    ASSERT_TRUE(WriteProfile(*m_pSandbox, {{"WatchDogging", {{"sDefaultConnection", "Modem"}}}}));
    m_pNm->AddProfile("Modem");
    ASSERT_FALSE(m_pNm->Activate(m_pNm->AddProfile("Office DSL")).isEmpty());
    m_pNm->ClearCalls();
    QProcess* pProgram = m_pSandbox->StartProgram();
    ASSERT_TRUE(WaitForPowerOn(*m_pSandbox, pProgram));
    EXPECT_TRUE(m_pSandbox->StopProgram(pProgram));
    EXPECT_EQ(ReadProfile(*m_pSandbox)["WatchDogging"]["sDefaultConnection"], "Office DSL");
    EXPECT_TRUE(m_pNm->ManagerCalls("ActivateConnection").empty());
}

// Two programs side by side, so that one minute of check period serves both:
// A dials its default connection 20 s after start, once; its connection then drops, and the
// first check (60 s) re-dials. B has a hand-edited fault limit of 0, so its first failed
// check (60 s) is past the limit and asks logind for a reboot.
TEST(ProgramEscalationTest, StartupDialThenRedialAndRebootAfterFailedChecks) {
    CTestSandbox sandboxA;
    ASSERT_TRUE(sandboxA.IsReady()) << sandboxA.Error().toStdString();
    CTestSandbox sandboxB;
    ASSERT_TRUE(sandboxB.IsReady()) << sandboxB.Error().toStdString();
    CNmMock nmA(sandboxA.SystemBus());
    CNmMock nmB(sandboxB.SystemBus());
    CLogindMock logindA(sandboxA.SystemBus());
    CLogindMock logindB(sandboxB.SystemBus());
    nmA.AddDevice();
    nmA.AddProfile("Modem");
    nmB.AddProfile("Modem");
    ASSERT_TRUE(WriteProfile(
        sandboxA, {{"WatchDogging", {{"sDefaultConnection", "Modem"}, {"iCheckDelay", "1"}}}}));
    ASSERT_TRUE(WriteProfile(sandboxB, {{"WatchDogging",
                                         {{"sDefaultConnection", "Modem"},
                                          {"bEstablishConnection", "0"},
                                          {"iCheckDelay", "1"},
                                          {"iMaxFaults", "0"}}}}));

    const auto start = Clock::now();
    QProcess* pA = sandboxA.StartProgram();
    QProcess* pB = sandboxB.StartProgram();
    ASSERT_NE(pA, nullptr);
    ASSERT_NE(pB, nullptr);
    auto elapsed = [&] { return Clock::now() - start; };
    auto until = [&](std::chrono::seconds at) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(at - elapsed());
    };

    // A: the start-up dial, once, 20 s after start.
    Clock::duration lastWithoutDial{};
    ASSERT_TRUE(CTestSandbox::WaitUntil(
        [&] {
            if (!nmA.ManagerCalls("ActivateConnection").empty())
                return true;
            lastWithoutDial = elapsed();
            return false;
        },
        40s, 100ms))
        << sandboxA.ProgramLog(pA).toStdString();
    const auto firstDial = elapsed();
    EXPECT_GE(lastWithoutDial, 19500ms);
    EXPECT_LE(firstDial, 26s);
    ASSERT_EQ(nmA.ActiveConnections().size(), 1);
    // The line drops.
    ASSERT_TRUE(CTestSandbox::WaitUntil(
        [&] {
            nmA.Call("/org/freedesktop/NetworkManager", "org.freedesktop.NetworkManager",
                     "DeactivateConnection",
                     {QVariant::fromValue(QDBusObjectPath(nmA.ActiveConnections().value(0)))});
            return nmA.ActiveConnections().isEmpty();
        },
        5s));

    // A: the first check fails and re-dials; B: it fails past the limit and reboots.
    ASSERT_TRUE(CTestSandbox::WaitUntil(
        [&] { return nmA.ManagerCalls("ActivateConnection").size() >= 2; }, until(90s), 100ms))
        << sandboxA.ProgramLog(pA).toStdString();
    EXPECT_GE(elapsed(), 60s);
    EXPECT_EQ(nmA.ManagerCalls("ActivateConnection").size(), 2u);
    ASSERT_TRUE(CTestSandbox::WaitUntil([&] { return !logindB.Calls("Reboot").empty(); },
                                        until(90s), 100ms))
        << sandboxB.ProgramLog(pB).toStdString();
    EXPECT_EQ(logindB.Calls("Reboot"), std::vector<QVariantList>{{false}});
    EXPECT_TRUE(logindB.Calls("PowerOff").empty());
    EXPECT_TRUE(nmB.ManagerCalls("ActivateConnection").empty());
    EXPECT_TRUE(logindA.Calls("Reboot").empty());

    EXPECT_TRUE(sandboxA.StopProgram(pA));
    EXPECT_TRUE(sandboxB.StopProgram(pB));
}
} // namespace
