// The real program, headless, in a sandbox: a private bus with the NetworkManager and logind
// stand-ins, a temporary HOME/XDG tree, the simulated port module.
#include "CNmMock.h"
#include "CTestSandbox.h"
#include "MockCalls.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>

#include <algorithm>
#include <csignal>

namespace tarnwick {

using namespace std::chrono_literals;

namespace {
bool WriteProfile(const CTestSandbox& sandbox, const QByteArray& text) {
    QDir().mkpath(QFileInfo(sandbox.ProfilePath()).path());
    QFile file(sandbox.ProfilePath());
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
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
    void SetUp() override { ASSERT_TRUE(m_sandbox.IsReady()) << m_sandbox.Error().toStdString(); }

    CTestSandbox m_sandbox;
    CNmMock m_nm{m_sandbox.SystemBus()};
};

TEST_F(ProgramTest, FirstStartSwitchesTheModemOnAndWritesEveryValueOnSigterm) {
    // The relay's control register starts with bit 2 clear and other bits set.
    QProcessEnvironment env;
    env.insert("INPOUT32_SIM_INIT", "0x37a=0xcb,0x378=0x81");
    QProcess* pProgram = m_sandbox.StartProgram(env);
    ASSERT_TRUE(WaitForPowerOn(m_sandbox, pProgram));
    EXPECT_FALSE(QFile::exists(m_sandbox.ProfilePath())) << "nothing is saved before the exit";
    ::kill(static_cast<pid_t>(pProgram->processId()), SIGHUP);
    EXPECT_FALSE(pProgram->waitForFinished(500)) << "SIGHUP is no quit request";
    EXPECT_TRUE(CTestSandbox::StopProgram(pProgram));
    // Control register first, bit 2 set; the data register read and written back unchanged.
    EXPECT_EQ(PortLog(m_sandbox), (QStringList{"In32 0x37a 0xcb", "Out32 0x37a 0xcf",
                                               "In32 0x378 0x81", "Out32 0x378 0x81"}));

    // Read by another INI reader; its top level is the [General] section.
    QSettings profile(m_sandbox.ProfilePath(), QSettings::IniFormat);
    EXPECT_EQ(profile.childGroups(), (QStringList{"LptResetter", "WatchDogging"}));
    EXPECT_EQ(profile.childKeys().size(), 5);
    EXPECT_EQ(profile.allKeys().size(), 26);
    EXPECT_EQ(profile.value("WatchDogging/iCheckDelay").toString(), "2");
    EXPECT_EQ(profile.value("LptResetter/iCtrlPort").toString(), "890");
    EXPECT_EQ(QFile::permissions(m_sandbox.ProfilePath()),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

TEST_F(ProgramTest, EditOfTheFileAndSighupApplyTheFileWhichTheExitKeeps) {
    ASSERT_TRUE(WriteProfile(m_sandbox, "[WatchDogging]\niCheckDelay=3\n"));
    QProcess* pProgram = m_sandbox.StartProgram();
    ASSERT_TRUE(WaitForPowerOn(m_sandbox, pProgram));
    const QString strEntry = m_sandbox.ConfigHome() + "/autostart/Tarnwick.desktop";
    ASSERT_FALSE(QFile::exists(strEntry));

    // Replaced by rename, as editors do: autorun is applied.
    QSaveFile edit(m_sandbox.ProfilePath());
    ASSERT_TRUE(edit.open(QIODevice::WriteOnly));
    edit.write("[General]\nbAutoRun=1\n[WatchDogging]\niCheckDelay=7\n");
    ASSERT_TRUE(edit.commit());
    EXPECT_TRUE(CTestSandbox::WaitUntil([&] { return QFile::exists(strEntry); }, 30s));

    // SIGHUP applies again, and the program stays.
    ASSERT_TRUE(QFile::remove(strEntry));
    ASSERT_EQ(::kill(static_cast<pid_t>(pProgram->processId()), SIGHUP), 0);
    EXPECT_TRUE(CTestSandbox::WaitUntil([&] { return QFile::exists(strEntry); }, 30s));

    EXPECT_TRUE(CTestSandbox::StopProgram(pProgram));
    const QSettings profile(m_sandbox.ProfilePath(), QSettings::IniFormat);
    EXPECT_EQ(profile.value("WatchDogging/iCheckDelay").toString(), "7");
    EXPECT_EQ(profile.value("bAutoRun").toString(), "1");
}

TEST_F(ProgramTest, SecondInstanceSaysTheFirstRunsAndEndsByItself) {
    ASSERT_TRUE(m_sandbox.StartStandIn("notification_daemon"));
    QProcess* pFirst = m_sandbox.StartProgram();
    ASSERT_TRUE(WaitForPowerOn(m_sandbox, pFirst));
    QProcess* pSecond = m_sandbox.StartProgram({}, QProcess::SeparateChannels);
    ASSERT_NE(pSecond, nullptr);
    ASSERT_TRUE(pSecond->waitForFinished(20000)) << "the second instance keeps running";
    EXPECT_TRUE(pSecond->exitStatus() == QProcess::NormalExit && pSecond->exitCode() == 0);
    EXPECT_TRUE(QString::fromUtf8(pSecond->readAllStandardError())
                    .split('\n')
                    .contains("Tarnwick is already running"));
    const std::vector<QVariantList> notes =
        MethodCalls(m_sandbox.SystemBus(), "org.freedesktop.Notifications",
                    "/org/freedesktop/Notifications", "Notify");
    ASSERT_EQ(notes.size(), 1u);
    ASSERT_EQ(notes[0].size(), 8);
    EXPECT_EQ(notes[0][4].toString(), "Tarnwick is already running");
    EXPECT_FALSE(pFirst->waitForFinished(300)) << "the first instance ended too";
    EXPECT_TRUE(CTestSandbox::StopProgram(pFirst));
}

// Copies started in the same instant: the instance lock lets exactly one of them stay.
TEST_F(ProgramTest, OfTwentySimultaneousStartsExactlyOneStays) {
    std::vector<QProcess*> programs;
    programs.reserve(20);
    for (int i = 0; i < 20; ++i)
        programs.push_back(m_sandbox.StartProgram());
    ASSERT_EQ(std::count(programs.begin(), programs.end(), nullptr), 0);
    const auto running = [&] {
        return std::count_if(programs.begin(), programs.end(),
                             [](QProcess* p) { return p->state() != QProcess::NotRunning; });
    };
    ASSERT_TRUE(CTestSandbox::WaitUntil(
        [&] {
            for (QProcess* p : programs)
                p->waitForFinished(0);
            return running() <= 1;
        },
        90s));
    ASSERT_EQ(running(), 1);
    for (QProcess* p : programs)
        if (p->state() == QProcess::NotRunning)
            EXPECT_TRUE(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0);
        else
            EXPECT_TRUE(CTestSandbox::StopProgram(p));
}

TEST_F(ProgramTest, StartAdoptsTheActiveConnectionAsDefault) {
    ASSERT_TRUE(WriteProfile(m_sandbox, "[WatchDogging]\nsDefaultConnection=Modem\n"));
    m_nm.AddProfile("Modem");
    ASSERT_FALSE(m_nm.Activate(m_nm.AddProfile("Office DSL")).isEmpty());
    QProcess* pProgram = m_sandbox.StartProgram();
    ASSERT_TRUE(WaitForPowerOn(m_sandbox, pProgram));
    EXPECT_TRUE(CTestSandbox::StopProgram(pProgram));
    EXPECT_EQ(QSettings(m_sandbox.ProfilePath(), QSettings::IniFormat)
                  .value("WatchDogging/sDefaultConnection")
                  .toString(),
              "Office DSL");
    EXPECT_EQ(m_nm.ManagerCalls("ActivateConnection").size(), 1u) << "only the test's own";
}

} // namespace

} // namespace tarnwick
