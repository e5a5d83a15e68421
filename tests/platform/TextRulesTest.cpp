// Field splitting, the probe's reading of its text, the shutdown arithmetic and the
// case-insensitive comparison (AtoI is tested through the number fields, ControlsTest).
#include "CFakeServices.h"

#include "platform/CheckURLConnect.h"
#include "platform/GetField.h"
#include "platform/ShutdownTime.h"
#include "platform/TextUtil.h"

#include <clocale>
#include <gtest/gtest.h>

namespace tarnwick {

namespace {

TEST(GetFieldTest, SplitsAtOneSeparator) {
    EXPECT_EQ(GetField("21:30", 1, ':'), "21");
    EXPECT_EQ(GetField("21:30", 2, ':'), "30");
    EXPECT_EQ(GetField("21:30", 3, ':'), "");
    EXPECT_EQ(GetField("2130", 1, ':'), "2130");
    EXPECT_EQ(GetField("2130", 2, ':'), "");
    EXPECT_EQ(GetField("a::b", 2, ':'), "");
    EXPECT_EQ(GetField("a::b", 3, ':'), "b");
    EXPECT_EQ(GetField("a:b", 0, ':'), "");
    EXPECT_EQ(GetField("a:b", -1, ':'), "");
}

TEST(ProbeTargetTest, ReadsHostAndPortLikeTheOriginal) {
    struct {
        const char* pszText;
        const char* pszHost;
        unsigned nPort;
    } const cases[] = {
        {"http://www.example.com/path/page.html", "www.example.com", 80},
        {"HTTP://WWW.Example.COM:81/x", "www.example.com", 81},
        {"192.0.2.1", "192.0.2.1", 80},
        {"192.0.2.1:21", "192.0.2.1", 21},
        {"https://host/", "host", 443},
        {"HTTPS://host:8443/x", "host", 8443},
        {"http://[::1]:8080/", "::1", 8080},
        {"[2001:db8::1]", "2001:db8::1", 80},
        {"ftp://host/", "ftp", 0},
        {":80", ":80", 80},
        {"host:abc", "host", 0},
        {"host:65617", "host", 81},
        {"host: -1", "host", 65535},
        {"a.http://b", "a.b", 80},
        {"", "", 80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszText);
        const SProbeTarget target = ParseProbeTarget(c.pszText);
        EXPECT_EQ(target.strHost, c.pszHost);
        EXPECT_EQ(target.nPort, c.nPort);
    }
}

// Addresses skip the lookup; a name's addresses are tried in turn; every failure is false
// and logged with its cause; texts that name no address never try to connect.
TEST(ProbeTest, AddressesSkipTheLookupNamesTryEveryAddressFailuresSayWhy) {
    CFakeNetService net;
    CFakeLog log;
    net.m_open = {{"192.0.2.1", 21}, {"::1", 80}, {"2001:db8::7", 443}};
    net.m_hosts["www.example.com"] = {"2001:db8::6", "2001:db8::7"};
    struct {
        const char* pszText;
        bool bPass;
        std::vector<std::pair<std::string, std::uint16_t>> connects;
    } const cases[] = {
        {"192.0.2.1:21", true, {{"192.0.2.1", 21}}},
        {"192.0.2.1", false, {{"192.0.2.1", 80}}},
        {"[::1]:80", true, {{"::1", 80}}},
        {"https://www.example.com/", true, {{"2001:db8::6", 443}, {"2001:db8::7", 443}}},
        {"unknown.example", false, {}},
        {"", false, {}},
        {"0.0.0.0", false, {}},
        {"1.2.3.4.5", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszText);
        net.m_connects.clear();
        log.m_lines.clear();
        EXPECT_EQ(CheckURLConnect(c.pszText, net, log), c.bPass);
        EXPECT_EQ(net.m_connects, c.connects);
        EXPECT_EQ(log.m_lines.size(), c.bPass ? 0u : 1u);
    }
    EXPECT_EQ(net.m_lookups, (std::vector<std::string>{"www.example.com", "unknown.example"}));
    EXPECT_EQ(log.Find("check: cannot connect to \"1.2.3.4.5\" (host 1.2.3.4.5, port 80): "
                       "unreachable, not a usable IPv4 address")
                  .size(),
              1u);
}

TEST(ShutdownTimeTest, ParsesTheHourAndMinuteOfAValidTimeOfDay) {
    struct {
        const char* pszTime;
        bool bValid;
        int nHour, nMinute;
    } const cases[] = {
        {"07:30", true, 7, 30},  {"7", true, 7, 0},      {":30", true, 0, 30},
        {"23:59", true, 23, 59}, {"", false, 0, 0},      {"ab:cd", false, 0, 0},
        {"24:00", false, 0, 0},  {"12:60", false, 0, 0}, {"-1:00", false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszTime);
        int nHour = -1;
        int nMinute = -1;
        EXPECT_EQ(ParseShutdownTime(c.pszTime, nHour, nMinute), c.bValid);
        if (c.bValid) {
            EXPECT_EQ(nHour * 60 + nMinute, c.nHour * 60 + c.nMinute);
        }
    }
}

TEST(TextUtilTest, LowerCaseOfTheLocalesText) {
#ifdef _WIN32
    // Windows texts are in the ANSI code page.
    std::setlocale(LC_ALL, ".1252");
    EXPECT_EQ(MbLower("WORK Dial-Up"), "work dial-up");
    EXPECT_EQ(MbLower("\xC4RGER"), "\xE4rger");
#else
    std::setlocale(LC_ALL, "C.UTF-8");
    EXPECT_EQ(MbLower("WORK Dial-Up"), "work dial-up");
    EXPECT_EQ(MbLower("ÄRGER"), "ärger");
#endif
    EXPECT_EQ(MbLower(std::string("A\xff"
                                  "B")),
              std::string("a\xff"
                          "b"));
}

} // namespace

} // namespace tarnwick
