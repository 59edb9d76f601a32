// plintor-check.exe run as an operator runs it, under Wine: the same output as the program
// prints on Linux for the same files, whatever their encoding and line ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "core/app/ProgramOptions.h"
#include "platform/win32/SystemFolders.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
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

UniqueHandle inheritableFile(const std::string& name) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return UniqueHandle(CreateFileW(toWide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

class CheckToolTest : public ::testing::Test {
protected:
    ProgramRun run(const std::string& arguments, bool inHome = true) {
        const std::string own = runningProgramPath();
        const std::string tool =
            own.substr(0, own.find_last_of('\\')) + "\\..\\..\\tools\\plintor-check.exe";
        std::wstring commandLine =
            toWide("\"" + tool + "\" " + (inHome ? "--home=" + m_home.root().string() + " " : "") +
                   arguments);
        const std::string outName = m_output.path("out");
        const std::string errName = m_output.path("err");
        DWORD exitCode = 1000;
        {
            UniqueHandle out = inheritableFile(outName);
            UniqueHandle err = inheritableFile(errName);
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = out.get();
            startup.hStdError = err.get();
            PROCESS_INFORMATION info{};
            if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &info)) {
                return {-2, "", ""};
            }
            const UniqueHandle process(info.hProcess);
            CloseHandle(info.hThread);
            if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
                TerminateProcess(process.get(), 1);
            }
            GetExitCodeProcess(process.get(), &exitCode);
        }
        return {static_cast<int>(exitCode), readBytes(outName), readBytes(errName)};
    }

    TempDir m_home;
    TempDir m_output;
};

TEST_F(CheckToolTest, DefaultsWhenNothingIsConfigured) {
    const ProgramRun result = run("--check-config");
    EXPECT_EQ(result.exitCode, 1) << "it warned";
    EXPECT_EQ(result.out, test::DefaultSettingsOutput);
    EXPECT_NE(result.err.find("EFOpenError: Cannot open file \"" + m_home.path("plintor.ini") +
                              "\". No such file or directory"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(std::filesystem::is_empty(m_home.root())) << "nothing may be written";
}

TEST_F(CheckToolTest, UnicodeFileWithCrLfLines) {
    // "Password=Grüße\r\nMsgBlocked=Zugriff – nein\r\nAutoReturn=5\r\n" as UTF-16 LE with its
    // byte-order mark.
    const std::u16string text =
        u"Password=Gr\u00FC\u00DFe\r\nMsgBlocked=Zugriff \u2013 nein\r\n"
        u"AutoReturn=5\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    writeBytes(m_home.path("plintor.ini"), bytes);
    writeBytes(m_home.path("Whitelist.txt"), "http://library.example/*\r\n");
    const ProgramRun result = run("--check-config");
    EXPECT_NE(result.out.find("Password=Gr\xC3\xBC\xC3\x9F"
                              "e\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\nMsgBlocked=Zugriff \xE2\x80\x93 nein\n"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\nAutoReturn=5\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find('\r'), std::string::npos) << "lines end with LF alone";
}

TEST_F(CheckToolTest, Windows1252File) {
    writeBytes(m_home.path("plintor.ini"), "Password=own\r\nMsgBlocked=Caf\xE9 ferm\xE9\r\n");
    const ProgramRun result = run("--check-config");
    EXPECT_NE(result.out.find("\nMsgBlocked=Caf\xC3\xA9 ferm\xC3\xA9\n"), std::string::npos)
        << result.out;
}

TEST_F(CheckToolTest, CheckUrlJudgesWithTheKiosksLists) {
    writeBytes(m_home.path("plintor.ini"),
               "Button1Width=100\r\nButton1URL=http://home.example/start\r\n");
    writeBytes(m_home.path("Whitelist_Default.txt"),
               "http://demo.example/*\r\nhttp://open.example*\x1Ahttp://late.example/*\n");
    writeBytes(m_home.path("Blacklist_Default.txt"), "*/private/*\r\n");
    const ProgramRun result =
        run("--check-url http://demo.example/a http://demo.example/private/b "
            "http://home.example/start http://home.example/other about:blank javascript:void(0) "
            "http://late.example/ http://demo.example@evil.example/ http://open.example.evil/");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "allowed http://demo.example/a\n"
              "blocked http://demo.example/private/b\n"
              "allowed http://home.example/start\n"
              "blocked http://home.example/other\n"
              "allowed about:blank\n"
              "allowed javascript:void(0)\n"
              "blocked http://late.example/\n"
              "blocked http://demo.example@evil.example/\n"
              "allowed http://open.example.evil/\n");
    EXPECT_EQ(result.err, "");
    EXPECT_FALSE(std::filesystem::exists(m_home.path("Whitelist.txt"))) << "nothing is copied";
}

TEST_F(CheckToolTest, HelpVersionAndMistakes) {
    const ProgramRun help = run("--help", false);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, usageText());
    const ProgramRun version = run("--version", false);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Plintor " PLINTOR_VERSION "\n");
    EXPECT_EQ(run("--chek-config", false).exitCode, ExitUsage);
    EXPECT_EQ(run("", false).exitCode, ExitUsage) << "the kiosk itself is another program";
    EXPECT_EQ(run("--check-config", false).exitCode, 1) << "its own folder, without files";
}

}  // namespace
}  // namespace plintor
