// The operator's checks, run through the real program as an operator would run them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "tests/support/CheckOutputs.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

struct ProgramRun {
    int exitCode;
    std::string out;
    std::string err;
};

class DiagnosticsTest : public ::testing::Test {
protected:
    ProgramRun runProgram(const std::string& arguments) {
        return runWithTemp(m_output.root().string(), arguments);
    }

    // `tempFolder` is the kiosk's temporary folder (TMPDIR).
    ProgramRun runWithTemp(const std::string& tempFolder, const std::string& arguments) {
        const std::string out = m_output.path("out");
        const std::string err = m_output.path("err");
        const std::string command = "TMPDIR=" + tempFolder + " " + std::string(PLINTOR_BINARY) +
                                    " --home=" + m_home.root().string() + " " + arguments + " >" +
                                    out + " 2>" + err;
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(out), readBytes(err)};
    }

    std::set<std::string> homeFiles() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_home.root())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    TempDir m_home;
    TempDir m_output;
};

TEST_F(DiagnosticsTest, DefaultsWhenNothingIsConfigured) {
    const ProgramRun run = runProgram("--check-config");
    EXPECT_EQ(run.exitCode, 1) << "it warned";
    EXPECT_EQ(run.out, test::DefaultSettingsOutput);
    EXPECT_NE(run.err.find("EFOpenError: Cannot open file \"" + m_home.path("plintor.ini") + "\""),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("the shutdown password is the default one"), std::string::npos)
        << run.err;
    EXPECT_TRUE(homeFiles().empty()) << "nothing may be written";
}

TEST_F(DiagnosticsTest, EffectiveSettingsAndWarnings) {
    writeBytes(m_home.path("plintor_Default.ini"),
               "\xEF\xBB\xBFPassword=secret\r"
               "navigationpanel = false\r"
               "AutoRestart=3 pm\r"
               "AutoReturn=5\r"
               "AutoReturn=7\r"
               "Wheelchair=95\r"
               "DownloadPDF=yes\r"
               "BackgroundColor=ff8000\r"
               "Pasword=typo\r"
               ";KillExplorer=False\r"
               "[Section]\r"
               "Button2Width=150\rButton2URL=http://demo.example/\rButton2Caption=#\r"
               "Button3Width=wide\rButton3URL=http://three.example/\r"
               "Button4Width=90\rButton4URL=\r"
               "Button5Width=80\rButton5URL= http://five.example/ \rButton5Caption=Five\r");
    writeBytes(m_home.path("Whitelist.txt"), "\xEF\xBB\xBFhttp://demo.example/*\n[A\n");
    const std::set<std::string> before = homeFiles();

    const ProgramRun run = runProgram("--check-config");
    EXPECT_EQ(run.exitCode, 1) << "it warned";
    EXPECT_EQ(
        run.out,
        "Password=secret\nNavigationPanel=False\nTouchKeyboard=True\nTouchKeyboardOnTop=False\n"
        "TouchKeyboardSize=100\nTouchKeyboardLayout=Standard\nDisplayAlwaysOn=True\n"
        "AutoReturn=5\nAutoRestart=15:00:00\nDownloadPDF=False\nDownloadWord=False\n"
        "ConvertWordToPDF=False\nWheelchair=70\nMsgBlocked=\nAutoCloseAll=False\n"
        "KillExplorer=True\nProgressIndicator=False\nMarginRight=0\nBackgroundColor=#FF8000\n"
        "Screensaver=\nDenyAllRequests=True\nClearSessionOnReturn=True\nReturnWarning=30\n"
        "MsgReturnWarning=Are you still there? This page returns to the start in %d s\n"
        "MemoryLimitMB=0\n"
        "KeyboardOnFocus=1\nZoomButtons=False\nZoomMin=50\nZoomMax=300\nPinchZoom="
        "True\nBlockedHintSeconds=8\nMsgLoadError=This page cannot be shown at the "
        "moment.\nRetrySeconds=30\nSessionMinutes=0\nMsgSessionEnd=Your time at this terminal ends "
        "in %d s\nMetricsFile=\n"
        "Button=150|#|http://demo.example/"
        "\nButton=80|Five|http://five.example/\n");
    for (const char* warning : {
             "line 9: unknown key \"Pasword\"",
             "line 5: AutoReturn is set again; the value of line 4 is used",
             "line 7: \"yes\" is neither True nor False",
             "URL button 3 is left out: its width is not a positive number",
             "URL button 4 is left out: its address is empty",
             "Whitelist.txt starts with a byte-order mark",
             "allow mask \"[A\" is not a valid mask",
         }) {
        EXPECT_NE(run.err.find(warning), std::string::npos) << warning << "\n" << run.err;
    }
    EXPECT_EQ(run.err.find("Section"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("KillExplorer"), std::string::npos) << run.err;
    EXPECT_EQ(homeFiles(), before) << "nothing may be written";
}

TEST_F(DiagnosticsTest, CleanConfigurationExitsWithZero) {
    writeBytes(m_home.path("plintor.ini"),
               "Password=own\r\nDownloadWord=True\r\nConvertWordToPDF=True\r\n");
    writeBytes(m_home.path("Whitelist.txt"), "http://library.example/*\r\n");
    writeBytes(m_home.path("Blacklist.txt"),
               "http://library.example/private\r\nhttp://library.example/private/*\r\n");
    const ProgramRun run = runProgram("--check-config");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
}

TEST_F(DiagnosticsTest, MasksThatMissTheirAimAreNamed) {
    writeBytes(m_home.path("plintor.ini"), "Password=own\r\nDownloadWord=True\r\n");
    writeBytes(m_home.path("Whitelist.txt"),
               "http://library.example*\r\n*://*.museum.example*\r\nhttp://ok.example/*\r\n");
    writeBytes(m_home.path("Blacklist.txt"),
               "http://library.example/private/*\r\n*/covered/*\r\n*/covered\r\n");
    const ProgramRun run = runProgram("--check-config");
    EXPECT_EQ(run.exitCode, 1);
    for (const char* warning : {
             "deny mask \"HTTP://LIBRARY.EXAMPLE/PRIVATE/*\" leaves "
             "\"HTTP://LIBRARY.EXAMPLE/PRIVATE\" itself open",
             "allow mask \"HTTP://LIBRARY.EXAMPLE*\" also allows other hosts",
             "write \"HTTP://LIBRARY.EXAMPLE/*\" to allow that one site",
             "allow mask \"*://*.MUSEUM.EXAMPLE*\" also allows other hosts",
             "DownloadWord without ConvertWordToPDF cannot show Word documents here",
         }) {
        EXPECT_NE(run.err.find(warning), std::string::npos) << warning << "\n" << run.err;
    }
    for (const char* quiet : {"COVERED", "OK.EXAMPLE"}) {
        EXPECT_EQ(run.err.find(quiet), std::string::npos) << quiet << "\n" << run.err;
    }
}

TEST_F(DiagnosticsTest, LocalFilesAreJudgedLikeTheKioskDoes) {
    writeBytes(m_home.path("Whitelist.txt"), "http://library.example/*\nfile:///srv/docs/*\n");
    const std::string tmp = m_output.root().string();
    // The kiosk's own documents lie in its documents folder, not beside it.
    const std::string documents = tmp + "/plintor-documents-" + std::to_string(::geteuid());
    const ProgramRun run =
        runWithTemp(tmp, "--check-url file://" + documents + "/temp.pdf#toolbar=0 file://" + tmp +
                             "/temp.pdf file://" + m_home.path("plintor.ini") +
                             " file:///srv/docs/a.pdf file://" + documents + "/temp.tmp");
    EXPECT_EQ(run.out, "allowed file://" + documents + "/temp.pdf#toolbar=0\nblocked file://" +
                           tmp + "/temp.pdf\nblocked file://" + m_home.path("plintor.ini") +
                           "\nallowed file:///srv/docs/a.pdf\nblocked file://" + documents +
                           "/temp.tmp\n");
}

TEST_F(DiagnosticsTest, DemoDenyListCoversItsFolder) {
    for (const auto& entry : std::filesystem::directory_iterator(PLINTOR_DEMO_CONFIG)) {
        std::filesystem::copy_file(entry.path(), m_home.root() / entry.path().filename());
    }
    EXPECT_EQ(
        runProgram(
            "--check-url http://127.0.0.1:8765/private/ http://127.0.0.1:8765/private/a.html "
            "http://127.0.0.1:8765/index.html")
            .out,
        "blocked http://127.0.0.1:8765/private/\nblocked http://127.0.0.1:8765/private/a.html\n"
        "allowed http://127.0.0.1:8765/index.html\n");
    EXPECT_EQ(runProgram("--check-config").err.find("mask"), std::string::npos);
}

TEST_F(DiagnosticsTest, InvalidColourIsShownEmpty) {
    writeBytes(m_home.path("plintor.ini"), "BackgroundColor=red\n");
    const ProgramRun run = runProgram("--check-config");
    EXPECT_NE(run.out.find("\nBackgroundColor=\n"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("\"red\" is not a colour"), std::string::npos) << run.err;
}

TEST_F(DiagnosticsTest, CheckUrlJudgesWithTheKiosksLists) {
    writeBytes(m_home.path("plintor.ini"),
               "Button1Width=100\nButton1URL=http://home.example/start\n");
    writeBytes(m_home.path("Whitelist_Default.txt"),
               "http://demo.example/*\r\nhttp://open.example*\x1Ahttp://late.example/*\n");
    writeBytes(m_home.path("Blacklist_Default.txt"), "*/private/*\n");
    const std::set<std::string> before = homeFiles();

    const ProgramRun run = runProgram(
        "--check-url http://demo.example/a 'http://demo.example/private/b' "
        "http://home.example/start "
        "http://home.example/other about:blank 'javascript:void(0)' http://late.example/ "
        "'http://demo.example@evil.example/' http://open.example.evil/");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "allowed http://demo.example/a\n"
              "blocked http://demo.example/private/b\n"
              "allowed http://home.example/start\n"
              "blocked http://home.example/other\n"
              "allowed about:blank\n"
              "allowed javascript:void(0)\n"
              "blocked http://late.example/\n"
              "blocked http://demo.example@evil.example/\n"
              "allowed http://open.example.evil/\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(homeFiles(), before) << "nothing may be written";
}

// The operator's check decides as the engine will: other spellings of a denied host, either
// alphabet, and an address that tries to talk to the terminal is written back escaped.
TEST_F(DiagnosticsTest, CheckUrlReadsAddressesAsTheEngineDoes) {
    writeBytes(m_home.path("plintor.ini"), "Password=own\n");
    writeBytes(m_home.path("Whitelist.txt"), "*\n");
    writeBytes(m_home.path("Blacklist.txt"),
               "*://127.0.0.2\n*://127.0.0.2[/:#]*\n*://xn--bcher-kva.de\n"
               "*://xn--bcher-kva.de[/:#]*\n*://t\xC3\xA4st2.xyz[/:#]*\n*://[::1]*\n");
    const ProgramRun run = runProgram(
        "--check-url 'http://127\xE3\x80\x82"
        "0\xE3\x80\x82"
        "0\xE3\x80\x82"
        "2/' "
        "'http://\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x97.0.0.2/' 'http:\\\\127.0.0.2/' "
        "http:127.0.0.2/ 'http://b\xC3\xBC"
        "cher.de/x' http://xn--tst2-loa.xyz/a "
        "'http://[::1]/x' \"$(printf 'http://a/\\033]0;x\\007\\342\\200\\256')\" "
        "http://127.0.0.3/");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "blocked http://127\xE3\x80\x82"
              "0\xE3\x80\x82"
              "0\xE3\x80\x82"
              "2/\n"
              "blocked http://\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x97.0.0.2/\n"
              "blocked http:\\\\127.0.0.2/\n"
              "blocked http:127.0.0.2/\n"
              "blocked http://b\xC3\xBC"
              "cher.de/x\n"
              "blocked http://xn--tst2-loa.xyz/a\n"
              "blocked http://[::1]/x\n"
              "allowed http://a/\\x1B]0;x\\x07\\u202E\n"
              "allowed http://127.0.0.3/\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(DiagnosticsTest, CheckConfigSaysHowMaskHostsWereRead) {
    writeBytes(m_home.path("plintor.ini"), "Password=own\r\n");
    writeBytes(m_home.path("Whitelist.txt"), "*\r\n");
    writeBytes(m_home.path("Blacklist.txt"), "*://[0::1]*\r\n*://b\xC3\xBC*\r\n");
    const ProgramRun run = runProgram("--check-config");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("note: deny mask \"*://[::1]*\" names the IPv6 host [::1], not a set"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("warning: deny mask \"*://B\xC3\x9C*\" has the host label"),
              std::string::npos)
        << run.err;
}

// A deny list that is there but cannot be read: the kiosk denies everything, and the operator's
// checks say so rather than judge by an empty list. A FIFO in its place must not hang them.
TEST_F(DiagnosticsTest, UnreadableDenyListIsAnError) {
    writeBytes(m_home.path("plintor.ini"), "Password=own\r\n");
    writeBytes(m_home.path("Whitelist.txt"), "*\r\n");
    ASSERT_EQ(::mkfifo(m_home.path("Blacklist.txt").c_str(), 0644), 0);
    const ProgramRun config = runProgram("--check-config");
    EXPECT_EQ(config.exitCode, 1);
    EXPECT_NE(config.err.find("error: Blacklist.txt cannot be read"), std::string::npos)
        << config.err;
    const ProgramRun check = runProgram("--check-url http://host/ about:blank");
    EXPECT_EQ(check.out, "blocked http://host/\nallowed about:blank\n");
}

TEST_F(DiagnosticsTest, SafeWebBrowserWithoutAddressIsAUsageError) {
    const ProgramRun run = runProgram("-SafeWebBrowser");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("-SafeWebBrowser needs the address to show"), std::string::npos)
        << run.err;
}

}  // namespace
}  // namespace plintor
