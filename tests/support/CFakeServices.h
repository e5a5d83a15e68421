#pragma once

// Small fakes of the OS services and one bundle that holds them all.

#include "CFakeDialUpService.h"
#include "CFakePortModule.h"
#include "CFakeProfileStore.h"
#include "CFakeShellTray.h"
#include "CFakeTimerService.h"
#include "CFakeUserInterface.h"

#include "engine/CServices.h"
#include "platform/IAutorunStore.h"
#include "platform/IClock.h"
#include "platform/IFileTimes.h"
#include "platform/ILog.h"
#include "platform/INetService.h"
#include "platform/IPowerService.h"
#include "platform/IProcessList.h"
#include "platform/IStateStore.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

class CFakePowerService : public IPowerService {
public:
    bool ExitSystem(unsigned uFlags) override {
        m_requests.push_back(uFlags);
        return m_bAccept;
    }
    bool m_bAccept = true;
    std::vector<unsigned> m_requests;
};

class CFakeNetService : public INetService {
public:
    bool InetAddr(const std::string& strDotted, std::uint32_t& nAddr) override;
    EConnectResult Connect(const std::string& strHost, bool bLookUp, std::uint16_t nPort,
                           std::string& strDetail) override;

    std::map<std::string, std::vector<std::string>> m_hosts; // name -> addresses
    std::set<std::pair<std::string, std::uint16_t>> m_open;  // listening address and port
    std::vector<std::string> m_lookups;                      // names looked up
    std::vector<std::pair<std::string, std::uint16_t>> m_connects;
};

class CFakeFileTimes : public IFileTimes {
public:
    struct SFile {
        std::uint64_t ftWrite = 1;
        bool bHeldByWriter = false;
    };
    bool GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) override {
        const auto it = m_files.find(strPath);
        if (it == m_files.end() || it->second.bHeldByWriter)
            return false;
        ftLastWrite = it->second.ftWrite;
        return true;
    }
    std::map<std::string, SFile> m_files;
};

class CFakeProcessList : public IProcessList {
public:
    bool Snapshot(std::vector<SProcessEntry>& processes) override {
        processes = m_processes;
        return true;
    }
    unsigned GetCurrentProcessId() override { return 100; }
    std::string GetOwnExePath() override { return "/opt/tarnwick/bin/tarnwick"; }
    std::string GetOwnExeName() override { return "tarnwick"; }
    EInstanceLock LockInstance(unsigned& nHolderPid, std::string& strDetail) override {
        nHolderPid = m_nLockHolder;
        strDetail = "/run/lock/tarnwick.lock";
        return m_eLock;
    }

    EInstanceLock m_eLock = EInstanceLock::Taken;
    unsigned m_nLockHolder = 0;
    std::vector<SProcessEntry> m_processes{{1, "systemd"}, {100, "tarnwick"}};
};

// The wall clock moves with the fake timers' virtual time; the local time is the wall time
// plus an offset that a daylight-saving change (m_nChangeAt) moves by m_nChangeBy.
class CFakeClock : public IClock {
public:
    explicit CFakeClock(const CFakeTimerService& timers) : m_timers(timers) {}
    SLocalTime GetLocalTime() override { return LocalTimeAt(GetWallTime()); }
    std::int64_t GetWallTime() override {
        return m_nWallAtZero + static_cast<std::int64_t>(m_timers.Now() / 1000);
    }
    SLocalTime LocalTimeAt(std::int64_t nTime) override {
        const std::int64_t nLocal =
            nTime + m_nOffset + (m_nChangeAt != 0 && nTime >= m_nChangeAt ? m_nChangeBy : 0);
        const auto nDay = static_cast<int>(((nLocal % 86400) + 86400) % 86400);
        return {nDay / 3600, nDay / 60 % 60, nDay % 60};
    }
    // Sets the wall clock so that the local time is h:m:s now (on day 1000 of the epoch).
    void SetLocal(int h, int m, int s) {
        m_nWallAtZero = 1000 * 86400 + h * 3600 + m * 60 + s - m_nOffset -
                        static_cast<std::int64_t>(m_timers.Now() / 1000);
    }
    const CFakeTimerService& m_timers;
    std::int64_t m_nWallAtZero = 1000 * 86400 + 11 * 3600; // 12:00 local
    std::int64_t m_nOffset = 3600;
    std::int64_t m_nChangeAt = 0;
    std::int64_t m_nChangeBy = 0;
    int GetUtcOffset(std::int64_t) override { return static_cast<int>(m_nOffset); }
};

// State files in memory; a "reboot" keeps them and changes the boot id.
class CFakeStateStore : public IStateStore {
public:
    bool ReadLines(const std::string& strName, std::vector<std::string>& lines) override {
        const auto it = m_files.find(strName);
        if (it == m_files.end())
            return false;
        lines = it->second;
        return true;
    }
    bool AppendLine(const std::string& strName, const std::string& strLine) override {
        m_files[strName].push_back(strLine);
        return true;
    }
    bool WriteLines(const std::string& strName, const std::vector<std::string>& lines) override {
        if (lines.empty())
            m_files.erase(strName);
        else
            m_files[strName] = lines;
        return true;
    }
    bool PublishStatus(const std::string& strText) override {
        m_strStatus = strText;
        return true;
    }
    std::string GetBootId() override { return m_strBootId; }
    std::string LastError() const override { return ""; }
    std::string TakeWarning() override { return std::exchange(m_strWarning, std::string()); }

    std::map<std::string, std::vector<std::string>> m_files;
    std::string m_strStatus;
    std::string m_strWarning;
    std::string m_strBootId = "boot-1";
};

class CFakeAutorunStore : public IAutorunStore {
public:
    bool SetRunKeyEntry(bool bAdd, const std::string& strCommand) override {
        return Set(0, bAdd, strCommand);
    }
    bool SetWinIniEntry(bool bAdd, const std::string& strCommand) override {
        return Set(1, bAdd, strCommand);
    }
    // The command each method's entry runs; empty when the entry is absent.
    std::string m_entries[2];
    std::vector<std::string> m_calls; // "add 0 <cmd>", "remove 1"

private:
    bool Set(int nMethod, bool bAdd, const std::string& strCommand) {
        m_calls.push_back((bAdd ? "add " : "remove ") + std::to_string(nMethod) +
                          (bAdd ? " " + strCommand : std::string()));
        m_entries[nMethod] = bAdd ? strCommand : std::string();
        return true;
    }
};

// Keeps every line written, as "step: text".
class CFakeLog : public ILog {
public:
    void Write(LogLevel level, const std::string& strStep, const std::string& strText) override {
        m_lines.emplace_back(level, strStep + ": " + strText);
    }
    // The lines at or above a level that contain the text.
    std::vector<std::string> Find(const std::string& strPart,
                                  LogLevel upTo = LogLevel::Debug) const {
        std::vector<std::string> found;
        for (const auto& [level, strLine] : m_lines)
            if (level <= upTo && strLine.find(strPart) != std::string::npos)
                found.push_back(strLine);
        return found;
    }
    std::vector<std::pair<LogLevel, std::string>> m_lines;
};

// Every fake, and the services record that hands them to the program.
struct CFakeServices {
    CFakeProfileStore profile;
    CFakeTimerService timers;
    CFakeDialUpService dialUp;
    CFakePortModule modules;
    CFakePowerService power;
    CFakeNetService net;
    CFakeFileTimes files;
    CFakeProcessList processes;
    CFakeClock clock{timers};
    CFakeAutorunStore autorun;
    CFakeShellTray shell;
    CFakeUserInterface ui;
    CFakeLog log;
    CFakeStateStore state;
    CServices services{profile,   timers, dialUp,  modules, power, net, files,
                       processes, clock,  autorun, shell,   ui,    log, state};
};

} // namespace tarnwick
