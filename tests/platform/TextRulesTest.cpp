// Field splitting, the probe's reading of its text, the shutdown arithmetic and the
// case-insensitive comparison, the times written into the history and report (AtoI is tested
// through the number fields, ControlsTest).
#include "CFakeServices.h"

#include "platform/CProbeTarget.h"
#include "platform/CheckURLConnect.h"
#include "platform/GetField.h"
#include "platform/ShutdownTime.h"
#include "platform/TextUtil.h"
#include "platform/TimeText.h"

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

// Addresses skip the lookup; a name's addresses are tried in turn; every failure is false
// and logged with its cause; texts that name no address never try to connect, and texts
// that can never connect (a port outside 1..65535, a bad bracket, too long a name) are not
// even looked up.
TEST(ProbeTest, AddressesSkipTheLookupNamesTryEveryAddressFailuresSayWhy) {
    CFakeNetService net;
    CFakeLog log;
    net.m_open = {{"192.0.2.1", 21}, {"::1", 80}, {"::7", 443}};
    net.m_hosts["www.example.com"] = {"::6", "::7"};
    const std::string strLongest(CProbeTarget::kMaxHostLength, 'a');
    struct {
        const char* pszName;
        std::string strText;
        bool bPass;
        std::vector<std::pair<std::string, std::uint16_t>> connects;
    } const rows[] = {
        {"dotted address, port", "192.0.2.1:21", true, {{"192.0.2.1", 21}}},
        {"closed port", "192.0.2.1", false, {{"192.0.2.1", 80}}},
        {"IPv6 literal with port", "http://[::1]:80/x", true, {{"::1", 80}}},
        {"secure URL", "https://www.example.com/", true, {{"::6", 443}, {"::7", 443}}},
        {"URL, port, path", "HTTP://WWW.Example.COM:81/x", false, {{"::6", 81}, {"::7", 81}}},
        {"unknown name", "unknown.example", false, {}},
        {"longest host name", strLongest, false, {}},
        {"empty", "", false, {}},
        {"address 0", "0.0.0.0", false, {}},
        {"not an address", "1.2.3.4.5", false, {}},
        {"port out of range", "www.example.com:65979", false, {}},
        {"port not a number", "www.example.com:https", false, {}},
        {"other scheme", "ftp://www.example.com/", false, {}},
        {"IPv6 port out of range", "[::1]:65616", false, {}},
        {"IPv6 unclosed", "[::1:80", false, {}},
        {"text after IPv6", "[::1]80", false, {}},
        {"host too long", strLongest + "a", false, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        net.m_connects.clear();
        log.m_lines.clear();
        EXPECT_EQ(CheckURLConnect(row.strText, net, log), row.bPass);
        EXPECT_EQ(net.m_connects, row.connects);
        EXPECT_EQ(log.m_lines.size(), row.bPass ? 0u : 1u);
    }
    EXPECT_EQ(net.m_lookups, (std::vector<std::string>{"www.example.com", "www.example.com",
                                                       "unknown.example", strLongest}));
    ASSERT_FALSE(log.m_lines.empty());
    EXPECT_EQ(log.m_lines.back().second, "check: cannot probe \"" + strLongest +
                                             "a\": the host name is longer than 253 characters");
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
    EXPECT_EQ(MbLower(std::string("A\xff") + "B"), std::string("a\xff") + "b");
}

TEST(TimeTextTest, IsoTimesAreExactAndReadBack) {
    struct SRow {
        const char* pszName;
        std::int64_t tUnix;
        int nOffset;
        const char* pszText;
    };
    const SRow rows[] = {
        {"epoch", 0, 0, "1970-01-01T00:00:00+00:00"},
        {"east", 1796613125, 3600, "2026-12-07T04:12:05+01:00"},
        {"west, half hour", 1796613125, -(9 * 3600 + 1800), "2026-12-06T17:42:05-09:30"},
        {"leap day", 951782400, 0, "2000-02-29T00:00:00+00:00"},
        {"before 1970", -86400, 0, "1969-12-31T00:00:00+00:00"},
        {"three-digit year", -50491123200, 0, "0370-01-01T00:00:00+00:00"},
        {"five-digit year", 253402300800, 0, "10000-01-01T00:00:00+00:00"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.pszName);
        EXPECT_EQ(FormatIsoTime(row.tUnix, row.nOffset), row.pszText);
        std::int64_t tRead = 0;
        if (row.tUnix < 253402300800) {
            EXPECT_TRUE(ParseIsoTime(row.pszText, tRead));
            EXPECT_EQ(tRead, row.tUnix);
        }
    }
    EXPECT_EQ(FormatClock(1796613125, 3600), "04:12");
}

} // namespace

} // namespace tarnwick
