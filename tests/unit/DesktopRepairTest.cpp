// What a killed kiosk left changed on the desktop is put back by --restore-desktop, through the
// changes record, on a desktop in memory: every outcome the operator can meet.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "app/DesktopRestore.h"
#include "core/config/ConfigFiles.h"
#include "core/lockdown/DesktopRecord.h"
#include "core/support/FileIO.h"
#include "platform/DesktopShell.h"
#include "platform/DisplayPower.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

class DesktopRepairTest : public ::testing::Test {
protected:
    DesktopRepairTest() { m_options.home = m_dir.path(""); }

    std::string record() const { return m_dir.path(desktopStateFileName("plintor")); }

    // A run that changed the desktop and was killed: nothing of it was put back.
    void killedRun() {
        const std::unique_ptr<Desktop> desktop = m_platform.connectDesktop();
        ASSERT_EQ(desktop->keepChangesRecord(record()), "");
        ASSERT_TRUE(desktop->shell().stopShell());
        desktop->displayPower().keepDisplayOn(true);
        ASSERT_TRUE(std::filesystem::exists(record()));
        m_platform.calls.clear();
    }

    int restore() { return runDesktopRestore(m_options, m_platform, m_out, m_err); }

    test::TempDir m_dir;
    ProgramOptions m_options;
    test::FakePlatform m_platform;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(DesktopRepairTest, AKilledRunIsPutBackAndLogged) {
    ASSERT_NO_FATAL_FAILURE(killedRun());
    EXPECT_FALSE(m_platform.script.desktop.shellRunning);
    EXPECT_EQ(restore(), ExitOk) << m_err.str();
    EXPECT_EQ(m_out.str(),
              "Put back: display power saving is on again, the desktop shell is started again "
              "(4242)\n");
    EXPECT_TRUE(m_platform.script.desktop.shellRunning);
    EXPECT_FALSE(std::filesystem::exists(record()));
    EXPECT_NE(test::readBytes(m_dir.path("plintor.log"))
                  .find("Unclean end of the last run repaired: display power saving is on again"),
              std::string::npos);
}

TEST_F(DesktopRepairTest, AShellThatDoesNotStartStaysInTheRecord) {
    ASSERT_NO_FATAL_FAILURE(killedRun());
    m_platform.script.desktop.shellStartResult = 2;
    EXPECT_EQ(restore(), ExitWarnings);
    EXPECT_NE(m_err.str().find("keeps the rest for the next start"), std::string::npos);
    const std::optional<DesktopRecord> left = readDesktopRecord(record());
    ASSERT_TRUE(left);
    EXPECT_EQ(left->stoppedShell.size(), 1u);
    EXPECT_FALSE(left->powerSavingWasOn) << "what was put back is out of the record";
}

TEST_F(DesktopRepairTest, ADamagedRecordIsDropped) {
    ASSERT_EQ(writeFileWholeOrSayWhy(record(), "not a record\n"), "");
    EXPECT_EQ(restore(), ExitOk);
    EXPECT_EQ(m_out.str(), "Put back: its record " + record() + " was damaged and is dropped\n");
    EXPECT_FALSE(std::filesystem::exists(record()));
}

TEST_F(DesktopRepairTest, NothingIsTouchedWhenThereIsNothingToPutBackOrNoWayToDoIt) {
    EXPECT_EQ(restore(), ExitOk);
    EXPECT_EQ(m_out.str(), "Nothing to put back\n");
    EXPECT_EQ(m_platform.calls.count("platform.connectDesktop"), 0);

    ASSERT_NO_FATAL_FAILURE(killedRun());
    m_platform.script.displayThere = false;
    EXPECT_EQ(restore(), ExitWarnings);
    EXPECT_NE(m_err.str().find("the display cannot be reached"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(record()));

    m_platform.script.displayThere = true;
    m_platform.script.instanceHeldElsewhere = true;
    EXPECT_EQ(restore(), ExitWarnings);
    EXPECT_NE(m_err.str().find("a kiosk is running for this user"), std::string::npos);
    EXPECT_FALSE(m_platform.script.desktop.shellRunning) << "the running kiosk puts it back";
}

// The shell is stopped only once the record names it; asked again, it is named once.
TEST_F(DesktopRepairTest, TheShellIsStoppedOnlyOnceTheRecordNamesIt) {
    const std::unique_ptr<Desktop> desktop = m_platform.connectDesktop();
    ASSERT_EQ(desktop->keepChangesRecord(m_dir.path("missing/record")), "");
    EXPECT_FALSE(desktop->shell().stopShell());
    EXPECT_NE(desktop->shell().shellStopWithheld(), "");
    EXPECT_TRUE(m_platform.script.desktop.shellRunning);

    ASSERT_EQ(desktop->keepChangesRecord(record()), "");
    EXPECT_TRUE(desktop->shell().stopShell());
    EXPECT_EQ(desktop->shell().shellStopWithheld(), "");
    m_platform.script.desktop.shellRunning = true;  // it ignored the request
    EXPECT_TRUE(desktop->shell().stopShell());
    EXPECT_EQ(readDesktopRecord(record())->stoppedShell.size(), 1u);
}

}  // namespace
}  // namespace plintor
