// The browser engine's FeatureControl values and the office program's registration, against
// Wine's real registry.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/OfficeLocator.h"
#include "platform/win32/FeatureControl.h"
#include "platform/win32/RegistryKey.h"
#include "platform/win32/RegistryOfficeLocator.h"
#include "platform/win32/SystemFolders.h"
#include "platform/win32/WindowsServices.h"
#include "tests/win32/HelperProcess.h"

namespace plintor {
namespace {

constexpr char FeatureKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\";
constexpr char Emulation[] = "FEATURE_BROWSER_EMULATION";
constexpr char ScriptUrl[] = "FEATURE_SCRIPTURL_MITIGATION";
constexpr char OfficeKey[] = "SOFTWARE\\LibreOffice\\LibreOffice";

// Each test names its own program, so that no value of another test or of Wine is seen.
class FeatureControlTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
            for (const char* feature : {Emulation, ScriptUrl}) {
                if (auto key = RegistryKey::open(root, std::string(FeatureKey) + feature,
                                                 registry_access::ReadWrite)) {
                    key->deleteValue(m_program);
                }
            }
        }
    }

    void setRaw(RegistryRoot root, const char* feature, std::uint32_t value) {
        auto key = RegistryKey::create(root, std::string(FeatureKey) + feature,
                                       registry_access::ReadWrite);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->writeDword(m_program, value));
    }

    std::int32_t user(const char* feature) {
        return readFeatureControl(RegistryRoot::CurrentUser, feature, m_program);
    }

    const std::string m_program =
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".exe";
};

TEST_F(FeatureControlTest, EmulationValueFollowsTheEngineVersion) {
    EXPECT_EQ(ieEmulationValue("11.0.17134.1"), 11001);
    EXPECT_EQ(ieEmulationValue("10.0.1.2"), 10001);
    EXPECT_EQ(ieEmulationValue("9.0.8112.16421"), 9999);
    EXPECT_EQ(ieEmulationValue("7"), 7777);
    EXPECT_EQ(ieEmulationValue(""), NoFeatureValue);
    EXPECT_EQ(ieEmulationValue("beta.1"), NoFeatureValue);
}

TEST_F(FeatureControlTest, WithoutMachineValuesTheUsersAreWritten) {
    applyFeatureControls(m_program, 11001);
    EXPECT_EQ(user(Emulation), 11001);
    EXPECT_EQ(user(ScriptUrl), 1);
    auto key = RegistryKey::open(RegistryRoot::CurrentUser, std::string(FeatureKey) + Emulation,
                                 registry_access::Read);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readDword(m_program), 11001u) << "stored as a DWORD";
}

TEST_F(FeatureControlTest, MachineWideValueWinsAndTheUsersIsRemoved) {
    setRaw(RegistryRoot::CurrentUser, Emulation, 9999);
    setRaw(RegistryRoot::CurrentUser, ScriptUrl, 1);
    setRaw(RegistryRoot::LocalMachine, Emulation, 8888);
    setRaw(RegistryRoot::LocalMachine, ScriptUrl, 0);
    applyFeatureControls(m_program, 11001);
    EXPECT_EQ(user(Emulation), NoFeatureValue);
    EXPECT_EQ(user(ScriptUrl), NoFeatureValue);
    EXPECT_EQ(readFeatureControl(RegistryRoot::LocalMachine, Emulation, m_program), 8888)
        << "the administrator's value stays";
}

TEST_F(FeatureControlTest, MachineValueOfAllBitsCountsAsAbsent) {
    setRaw(RegistryRoot::LocalMachine, Emulation, 0xFFFFFFFFu);
    applyFeatureControls(m_program, 11001);
    EXPECT_EQ(user(Emulation), 11001);
}

TEST_F(FeatureControlTest, UnknownVersionRemovesTheUsersEmulationValue) {
    setRaw(RegistryRoot::CurrentUser, Emulation, 11001);
    applyFeatureControls(m_program, NoFeatureValue);
    EXPECT_EQ(user(Emulation), NoFeatureValue);
    EXPECT_EQ(user(ScriptUrl), 1);
}

TEST_F(FeatureControlTest, WritesReportTheirOutcome) {
    EXPECT_EQ(writeFeatureControl(RegistryRoot::CurrentUser, Emulation, m_program, 11001), 1);
    EXPECT_EQ(writeFeatureControl(RegistryRoot::CurrentUser, Emulation, m_program, 11001), 1)
        << "the same number again";
    EXPECT_EQ(writeFeatureControl(RegistryRoot::CurrentUser, Emulation, m_program, -1), 1);
    EXPECT_EQ(writeFeatureControl(RegistryRoot::CurrentUser, Emulation, m_program, -1), 1)
        << "nothing to remove";
    EXPECT_EQ(user(Emulation), NoFeatureValue);
}

TEST_F(FeatureControlTest, ValueOfAnotherTypeReadsAsNone) {
    auto key = RegistryKey::create(RegistryRoot::CurrentUser, std::string(FeatureKey) + Emulation,
                                   registry_access::ReadWrite);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->writeString(m_program, "11001"));
    EXPECT_EQ(user(Emulation), NoFeatureValue);
}

// The engine's registration, changed for the test and put back: a quoted path with arguments
// and an environment variable, then an unquoted one.
TEST(EngineProgramTest, RegistrationIsCutExpandedAndItsVersionRead) {
    const std::string serverKey =
        "Software\\Classes\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";
    auto key =
        RegistryKey::create(RegistryRoot::LocalMachine, serverKey, registry_access::ReadWrite);
    ASSERT_TRUE(key);
    const std::optional<std::string> original = key->readString("");
    ASSERT_TRUE(::_putenv("PLINTOR_ENGINE_FOLDER=C:\\Engine Folder") == 0);
    ASSERT_TRUE(key->writeString("", "\"%PLINTOR_ENGINE_FOLDER%\\iexplore.exe\" -nohome"));
    EXPECT_EQ(ieExecutablePath(), "C:\\Engine Folder\\iexplore.exe");

    ASSERT_TRUE(key->writeString("", test::helperPath()));
    EXPECT_EQ(ieExecutablePath(), test::helperPath()) << "an unquoted path is kept whole";
    EXPECT_EQ(ieEmulationValue(fileVersionOf(ieExecutablePath())), 1111)
        << "the helper's version is 1.2.0.15";
    if (original) {
        key->writeString("", *original);
    }
}

class OfficeLocatorTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        deleteRegistryTree(RegistryRoot::LocalMachine, OfficeKey);
        deleteRegistryTree(RegistryRoot::CurrentUser, OfficeKey);
    }
    static void registerVersion(RegistryRoot root, const std::string& version,
                                const std::string& path) {
        auto key = RegistryKey::create(root, std::string(OfficeKey) + "\\" + version,
                                       registry_access::ReadWrite);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->writeString("Path", path));
    }
    std::string found() const { return createRegistryOfficeLocator()->findLibreOfficePath(); }
};

TEST_F(OfficeLocatorTest, NothingRegisteredFindsNothing) {
    EXPECT_EQ(found(), "");
}

TEST_F(OfficeLocatorTest, MachineWideRegistrationComesBeforeTheUsers) {
    registerVersion(RegistryRoot::CurrentUser, "7.5", "C:\\User\\soffice.exe");
    EXPECT_EQ(found(), "C:\\User\\soffice.exe") << "the user's alone is found";
    registerVersion(RegistryRoot::LocalMachine, "7.4", "C:\\Machine\\soffice.exe");
    EXPECT_EQ(found(), "C:\\Machine\\soffice.exe");
}

TEST_F(OfficeLocatorTest, BlankPathsAreSkippedAndTheFoundOneIsTrimmed) {
    registerVersion(RegistryRoot::LocalMachine, "7.4", "   ");
    registerVersion(RegistryRoot::LocalMachine, "7.5", "");
    registerVersion(RegistryRoot::LocalMachine, "7.6", "  C:\\LO\\soffice.exe \t");
    EXPECT_EQ(found(), "C:\\LO\\soffice.exe");
}

TEST_F(OfficeLocatorTest, PathOfAnotherTypeCountsAsNone) {
    auto key = RegistryKey::create(RegistryRoot::LocalMachine, std::string(OfficeKey) + "\\7.4",
                                   registry_access::ReadWrite);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->writeDword("Path", 1));
    registerVersion(RegistryRoot::CurrentUser, "7.5", "C:\\User\\soffice.exe");
    EXPECT_EQ(found(), "C:\\User\\soffice.exe");
}

}  // namespace
}  // namespace plintor
