#include "documents/BackgroundConversion.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <optional>
#include <thread>

#include "documents/OfficeConverter.h"
#include "glib/Timeout.h"
#include "platform/OfficeLocator.h"
#include "platform/ProcessRunner.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

class FoundOffice final : public OfficeLocator {
public:
    std::string findLibreOfficePath() const override { return "/usr/bin/soffice"; }
};

// A converter that writes its PDF only when the test lets it go on.
class HeldConverterRun final : public ProcessRunner {
public:
    explicit HeldConverterRun(std::string pdf) : m_pdf(std::move(pdf)) {}

    bool runCommandLine(const std::string&, bool, int& exitCode, int) override {
        exitCode = -1;
        return false;
    }
    bool runProgram(const std::string&, const std::string&, bool, int& exitCode, int) override {
        m_release.get_future().wait();
        test::writeBytes(m_pdf, "%PDF-1.4\n%%EOF\n");
        exitCode = 0;
        m_done = true;
        return true;
    }
    void release() { m_release.set_value(); }
    bool done() const { return m_done; }

private:
    std::string m_pdf;
    std::promise<void> m_release;
    std::atomic<bool> m_done = false;
};

// Turns the main loop until the condition holds, for at most 20 s.
bool loopUntil(const std::function<bool()>& condition) {
    bool late = false;
    Timeout deadline([&] { late = true; });
    deadline.start(20000);
    Timeout tick([] {}, true);  // the worker's end shows in no event of this loop
    tick.start(20);
    while (!condition() && !late) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return condition();
}

class BackgroundConversionTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    FoundOffice m_office;
    HeldConverterRun m_run{m_dir.path("temp.pdf")};
    OfficeConverter m_converter{m_office, m_run};
};

// The loop goes on while the converter works, and the result comes back on the loop's thread.
TEST_F(BackgroundConversionTest, ResultComesBackOnTheMainLoopWhichKeepsRunning) {
    BackgroundConversion conversion(m_converter);
    std::optional<bool> result;
    std::thread::id resultThread;
    conversion.start(m_dir.path("temp.docx"), m_dir.root().string(), [&](bool converted) {
        result = converted;
        resultThread = std::this_thread::get_id();
    });

    bool painted = false;
    Timeout paint([&] { painted = true; });
    paint.start(0);
    ASSERT_TRUE(loopUntil([&] { return painted; }));
    EXPECT_FALSE(result.has_value());

    m_run.release();
    ASSERT_TRUE(loopUntil([&] { return result.has_value(); }));
    EXPECT_TRUE(*result);
    EXPECT_EQ(resultThread, std::this_thread::get_id());
}

// The receiver went while the converter worked: its result is dropped, nothing waits for it.
TEST_F(BackgroundConversionTest, ResultForAReceiverThatWentIsDropped) {
    bool called = false;
    {
        BackgroundConversion conversion(m_converter);
        conversion.start(m_dir.path("temp.docx"), m_dir.root().string(),
                         [&](bool) { called = true; });
    }
    m_run.release();
    ASSERT_TRUE(loopUntil([&] { return m_run.done(); }));
    // The worker posts just after the runner returned; the loop gets the time to take that.
    bool settled = false;
    Timeout settle([&] { settled = true; });
    settle.start(200);
    loopUntil([&] { return settled; });
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace plintor
