// The Windows backends against the real Windows calls (under Wine), each in places of the
// test's own: a registry key under HKCU\Software\Tarnwick\Test, a temporary WIN.INI, a
// simulated RAS module; ExitWindowsEx is never called.
#include "platform/windows/Win32.h"

#include "CFakeServices.h"
#include "engine/AppSettings.h"
#include "platform/CRasManager.h"
#include "platform/TextUtil.h"
#include "platform/windows/CRasDialUpService.h"
#include "platform/windows/CRegistryProfileStore.h"
#include "platform/windows/CToolhelpProcessList.h"
#include "platform/windows/CWinAutorunStore.h"
#include "platform/windows/CWinClock.h"
#include "platform/windows/CWinFileTimes.h"
#include "platform/windows/CWinPowerService.h"
#include "platform/windows/CWinStateStore.h"
#include "platform/windows/CWinsockNetService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace tarnwick {

namespace {

std::filesystem::path TempDir(const char* pszName) {
    auto dir = std::filesystem::temp_directory_path() /
               (std::string(pszName) + "-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Each test has a key of its own: the tests run in parallel in one Wine prefix.
class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, m_strKey.c_str()); }
    std::string Key(const char* pszSub) const { return m_strKey + "\\" + pszSub; }

    const std::string m_strKey = std::string("Software\\Tarnwick\\") +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(RegistryTest, SettingsRoundTripAsDwordAndStringValuesAndWrongTypesReadAsAbsent) {
    CRegistryProfileStore store(m_strKey);
    AppSettings saved;
    saved.iCheckDelay = 7;
    saved.sShutdownTime = "";
    saved.sDefaultConnection = "Work \xC4 | ;x";
    saved.Save(store);
    ASSERT_TRUE(store.Commit());

    // Every value is in its section with its own type.
    DWORD dwType = 0;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, Key("WatchDogging").c_str(), "iCheckDelay",
                           RRF_RT_ANY, &dwType, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, Key("General").c_str(), "sShutdownTime", RRF_RT_ANY,
                           &dwType, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));

    AppSettings loaded;
    loaded.iCheckDelay = 1;
    loaded.sShutdownTime = "12:00";
    loaded.Load(store);
    EXPECT_EQ(loaded.iCheckDelay, 7);
    EXPECT_EQ(loaded.sShutdownTime, "");
    EXPECT_EQ(loaded.sDefaultConnection, saved.sDefaultConnection);

    // A hand-edited value of the wrong type leaves its field at the value it had.
    const char szText[] = "12";
    const DWORD dwFive = 5;
    RegSetKeyValueA(HKEY_CURRENT_USER, Key("WatchDogging").c_str(), "iMaxFaults", REG_SZ, szText,
                    sizeof szText);
    RegSetKeyValueA(HKEY_CURRENT_USER, Key("WatchDogging").c_str(), "sURLDownload", REG_DWORD,
                    &dwFive, sizeof dwFive);
    EXPECT_EQ(store.ReadProfileInt("WatchDogging", "iMaxFaults", 3), 3);
    EXPECT_EQ(store.ReadProfileString("WatchDogging", "sURLDownload", "x"), "x");
}

TEST_F(RegistryTest, RunKeyValueIsTheQuotedPathAndGoesAway) {
    CFakeLog log;
    CWinAutorunStore autorun(log, Key("Run"), "");
    ASSERT_TRUE(autorun.SetRunKeyEntry(true, "C:\\Program Files\\Tarnwick\\tarnwick.exe"));
    char szValue[MAX_PATH] = {};
    DWORD cb = sizeof szValue;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, Key("Run").c_str(), "Tarnwick", RRF_RT_REG_SZ,
                           nullptr, szValue, &cb),
              ERROR_SUCCESS);
    EXPECT_STREQ(szValue, "\"C:\\Program Files\\Tarnwick\\tarnwick.exe\"");
    EXPECT_TRUE(autorun.SetRunKeyEntry(false, ""));
    EXPECT_TRUE(autorun.SetRunKeyEntry(false, "")); // already gone: not an error
    EXPECT_NE(RegGetValueA(HKEY_CURRENT_USER, Key("Run").c_str(), "Tarnwick", RRF_RT_ANY, nullptr,
                           nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(WinIniTest, OwnLineInsertedReplacedAndRemovedOthersUntouched) {
    const std::string strOwn = "run=\"C:\\t.exe\"; Tarnwick";
    struct {
        const char* pszName;
        const char* pszBefore;
        bool bAdd;
        const char* pszAfter;
    } const cases[] = {
        {"insert after a lower-case header", "[mail]\nmapi=1\n[windows]\nload=x\n", true,
         "[mail]\r\nmapi=1\r\n[windows]\r\nrun=\"C:\\t.exe\"; Tarnwick\r\nload=x\r\n"},
        {"replace in place", "[Windows]\nrun=old; TARNWICK\nrun=other.exe", true,
         "[Windows]\r\nrun=\"C:\\t.exe\"; Tarnwick\r\nrun=other.exe\r\n"},
        {"remove", "[windows]\nrun=other.exe\nrun=\"C:\\t.exe\"; Tarnwick\n", false,
         "[windows]\r\nrun=other.exe\r\n"},
        {"append a section", "[mail]\nmapi=1\n", true,
         "[mail]\r\nmapi=1\r\n[WINDOWS]\r\nrun=\"C:\\t.exe\"; Tarnwick\r\n"},
        {"own line in a later section is not found", "[windows]\n[fonts]\nrun=x; Tarnwick\n", true,
         "[windows]\r\nrun=\"C:\\t.exe\"; Tarnwick\r\n[fonts]\r\nrun=x; Tarnwick\r\n"},
    };
    const auto dir = TempDir("winini");
    CFakeLog log;
    CWinAutorunStore autorun(log, "", (dir / "win.ini").string());
    for (const auto& c : cases) {
        std::ofstream(dir / "win.ini", std::ios::binary) << c.pszBefore;
        EXPECT_TRUE(autorun.SetWinIniEntry(c.bAdd, "C:\\t.exe")) << c.pszName;
        EXPECT_EQ(ReadFile(dir / "win.ini"), c.pszAfter) << c.pszName;
    }
    // A missing WIN.INI is not created.
    std::filesystem::remove(dir / "win.ini");
    EXPECT_FALSE(autorun.SetWinIniEntry(true, "C:\\t.exe"));
    EXPECT_FALSE(std::filesystem::exists(dir / "win.ini"));
    std::filesystem::remove_all(dir);
}

class RasTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = TempDir("rassim");
        m_state = m_dir / "state";
        SetEnvironmentVariableA("RASSIM_STATE", m_state.string().c_str());
        _putenv_s("RASSIM_STATE", m_state.string().c_str());
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    void SetPhoneBook(const std::string& strLines) { std::ofstream(m_state) << strLines; }
    // The RAS calls so far, in lower case.
    std::string Calls() {
        std::string strCalls;
        for (const char c : ReadFile(m_state.string() + ".log"))
            if (c != '\r')
                strCalls.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        return strCalls;
    }

    std::filesystem::path m_dir;
    std::filesystem::path m_state;
    CFakeLog m_log;
};

TEST_F(RasTest, ListDialStatusHangUpAndTheCurrentEntryThroughTheRasModule) {
    SetPhoneBook("entry Work\nentry Home\nfaildial Home\n");
    CRasDialUpService service(m_log, TARNWICK_RAS_SIM);
    ASSERT_TRUE(service.IsLoaded());
    CRasManager ras(service);
    EXPECT_EQ(ras.EnumEntries(), "Work|Home");
    EXPECT_FALSE(ras.IsConnected(""));

    // Dialled by its name in any case; the current entry takes RAS's spelling.
    EXPECT_TRUE(ras.Dial("WORK"));
    EXPECT_TRUE(ras.IsConnected("work"));
    EXPECT_EQ(ras.GetCurrentEntry(), "Work");
    ras.SetCurrentEntry("x");
    EXPECT_FALSE(ras.IsConnected("Home"));
    EXPECT_EQ(ras.GetCurrentEntry(), "Work");

    // A failed dial hangs its handle up at once; an unknown entry dials nothing.
    EXPECT_FALSE(ras.Dial("Home"));
    EXPECT_NE(Calls().find("rasdial home\nrashangup 2\n"), std::string::npos) << Calls();
    EXPECT_FALSE(ras.Dial("Nowhere"));
    EXPECT_EQ(Calls().find("rasdial nowhere"), std::string::npos);

    EXPECT_TRUE(ras.HangUp(""));
    EXPECT_FALSE(ras.IsConnected(""));
    EXPECT_FALSE(ras.HangUp(""));
}

TEST_F(RasTest, LongPhoneBooksAreListedWholeAndLongNamesDialNothing) {
    std::string strBook;
    for (int i = 0; i < 25; ++i)
        strBook += "entry E" + std::to_string(i) + "\n";
    SetPhoneBook(strBook);
    CRasDialUpService service(m_log, TARNWICK_RAS_SIM);
    CRasManager ras(service);
    EXPECT_EQ(ras.EnumEntryNames().size(), 25u);
    EXPECT_FALSE(ras.Dial(std::string(300, 'e')));
}

TEST(RasMissingTest, WithoutTheModuleEveryCallFailsAndSaysWhy) {
    CFakeLog log;
    CRasDialUpService service(log, "no-such-rasapi32.dll");
    CRasManager ras(service);
    EXPECT_FALSE(ras.IsConnected(""));
    EXPECT_FALSE(ras.Dial("Work"));
    EXPECT_EQ(ras.EnumEntries(), "");
    ASSERT_FALSE(log.m_lines.empty());
    EXPECT_NE(log.m_lines[0].second.find("no-such-rasapi32.dll"), std::string::npos);
}

// What ExitWindowsEx would have been asked, and whether the privilege was on by then.
struct SExitCall {
    unsigned uFlags = 0;
    bool bPrivilegeEnabled = false;
    int nResult = 0;
} g_exitCall;

int __stdcall RecordExit(unsigned uFlags, unsigned long) {
    g_exitCall.uFlags = uFlags;
    HANDLE hToken = nullptr;
    LUID luid{};
    PRIVILEGE_SET required{1, PRIVILEGE_SET_ALL_NECESSARY, {{luid, 0}}};
    BOOL bHeld = FALSE;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken) &&
        LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &required.Privilege[0].Luid) &&
        PrivilegeCheck(hToken, &required, &bHeld))
        g_exitCall.bPrivilegeEnabled = bHeld != FALSE;
    CloseHandle(hToken);
    return g_exitCall.nResult;
}

TEST(PowerTest, ShutdownPrivilegeFirstThenForcedRequestAndRefusalReported) {
    CFakeLog log;
    CWinPowerService power(log, &RecordExit);
    g_exitCall = {0, false, 1};
    EXPECT_TRUE(power.ExitSystem(EWX::Reboot));
    EXPECT_EQ(g_exitCall.uFlags, 6u);
    EXPECT_TRUE(g_exitCall.bPrivilegeEnabled);
    g_exitCall = {0, false, 0};
    EXPECT_FALSE(power.ExitSystem(EWX::Shutdown));
    EXPECT_EQ(g_exitCall.uFlags, 5u);
    ASSERT_FALSE(log.m_lines.empty());
    EXPECT_EQ(log.m_lines.back().first, LogLevel::Error);
}

TEST(FileTimesTest, OpenFilesAreSkippedClosedOnesGiveTheirTimeFoldersNothing) {
    const auto dir = TempDir("filetimes");
    const std::string strFile = (dir / "alive.txt").string();
    std::ofstream(strFile) << "x";
    CWinFileTimes files;
    std::uint64_t ft = 0;
    EXPECT_TRUE(files.GetLastWriteTime(strFile, ft));
    EXPECT_NE(ft, 0u);
    HANDLE hWriter = CreateFileA(strFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hWriter, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.GetLastWriteTime(strFile, ft));
    CloseHandle(hWriter);
    EXPECT_FALSE(files.GetLastWriteTime(dir.string(), ft));
    EXPECT_FALSE(files.GetLastWriteTime((dir / "missing").string(), ft));
    std::filesystem::remove_all(dir);
}

TEST(StateStoreTest, LinesAppendReplaceAndGoAwayTheStatusGoesWithTheStoreBootIdStays) {
    const auto dir = TempDir("state");
    const std::string strDir = (dir / "Tarnwick").string();
    std::vector<std::string> lines;
    {
        CWinStateStore store(strDir);
        EXPECT_FALSE(store.ReadLines("history", lines));
        EXPECT_NE(store.LastError().find("history"), std::string::npos);
        ASSERT_TRUE(store.AppendLine("history", "one")) << store.LastError();
        ASSERT_TRUE(store.AppendLine("history", "two")) << store.LastError();
        ASSERT_TRUE(store.ReadLines("history", lines));
        EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));
        ASSERT_TRUE(store.WriteLines("history", {"three"})) << store.LastError();
        ASSERT_TRUE(store.ReadLines("history", lines));
        EXPECT_EQ(lines, std::vector<std::string>{"three"});
        EXPECT_TRUE(store.WriteLines("history", {}));
        EXPECT_FALSE(std::filesystem::exists(dir / "Tarnwick" / "history"));
        ASSERT_TRUE(store.PublishStatus("state: watching\n")) << store.LastError();
        EXPECT_TRUE(std::filesystem::exists(dir / "Tarnwick" / "status.txt"));
        EXPECT_FALSE(store.GetBootId().empty());
        EXPECT_EQ(store.GetBootId(), CWinStateStore(strDir).GetBootId());
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "Tarnwick" / "status.txt"));
    std::filesystem::remove_all(dir);
}

TEST(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstEnds) {
    unsigned nPid = 0;
    std::string strDetail;
    auto pFirst = std::make_unique<CToolhelpProcessList>("LockTest.exe");
    ASSERT_EQ(pFirst->LockInstance(nPid, strDetail), EInstanceLock::Taken) << strDetail;
    CToolhelpProcessList second("locktest");
    EXPECT_EQ(second.LockInstance(nPid, strDetail), EInstanceLock::HeldByOther);
    pFirst.reset();
    EXPECT_EQ(second.LockInstance(nPid, strDetail), EInstanceLock::Taken) << strDetail;
}

TEST(ProcessListTest, OwnProcessIsListedAsTheOwnUsers) {
    CToolhelpProcessList processes("windows_tests.exe");
    std::vector<SProcessEntry> snapshot;
    ASSERT_TRUE(processes.Snapshot(snapshot));
    const auto it = std::find_if(snapshot.begin(), snapshot.end(), [&](const SProcessEntry& e) {
        return e.nProcessId == processes.GetCurrentProcessId();
    });
    ASSERT_NE(it, snapshot.end());
    EXPECT_TRUE(it->bOwnUser);
    EXPECT_EQ(MbLower(it->strExeFile), "windows_tests.exe");
}

TEST(ClockTest, LocalTimeIsTheWallTimeMovedByTheOffset) {
    CWinClock clock;
    const std::int64_t nNow = clock.GetWallTime();
    EXPECT_GT(nNow, 1700000000);
    const int nOffset = clock.GetUtcOffset(nNow);
    const SLocalTime local = clock.LocalTimeAt(nNow);
    const std::int64_t nDay = ((nNow + nOffset) % 86400 + 86400) % 86400;
    EXPECT_EQ(local.nHour * 3600 + local.nMinute * 60 + local.nSecond, nDay);
}

TEST(WinsockTest, ListeningPortConnectsClosedPortDoesNot) {
    CFakeLog log;
    CWinsockNetService net(log, 5000);
    std::uint32_t nAddr = 0;
    ASSERT_TRUE(net.InetAddr("127.0.0.1", nAddr));
    EXPECT_FALSE(net.InetAddr("1.2.3.x", nAddr));
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int nLen = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), nLen), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &nLen);
    const std::uint16_t nPort = ntohs(address.sin_port);
    std::string strDetail;
    EXPECT_EQ(net.Connect("127.0.0.1", false, nPort, strDetail), EConnectResult::Connected);
    closesocket(listener);
    EXPECT_EQ(net.Connect("127.0.0.1", false, nPort, strDetail), EConnectResult::Refused)
        << strDetail;
    EXPECT_EQ(net.Connect("not an address", false, nPort, strDetail), EConnectResult::Unreachable);
}
} // namespace

} // namespace tarnwick
