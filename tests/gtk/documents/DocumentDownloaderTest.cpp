// The document downloader with the real engine: one web view with an ephemeral network
// session, under Xvfb, fetching from the document server on 127.0.0.1 (run_with_display.sh).
#include "documents/DocumentDownloader.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <utility>

#include "core/app/KioskState.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/Clock.h"
#include "core/support/Log.h"
#include "documents/OfficeConverter.h"
#include "platform/OfficeLocator.h"
#include "platform/ProcessRunner.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Turns the main loop until the condition holds or the time is up; it wakes for the engine's
// events, and at most every 100 ms for what only a file shows.
bool loopUntil(const std::function<bool()>& condition, int seconds) {
    bool late = false;
    Timeout deadline([&] { late = true; });
    deadline.start(seconds * 1000LL);
    Timeout tick([] {}, true);
    tick.start(100);
    while (!condition() && !late) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return condition();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// No converter in these cases: only PDF documents are fetched.
class NoOffice final : public OfficeLocator {
public:
    std::string findLibreOfficePath() const override { return {}; }
};
class NoProcesses final : public ProcessRunner {
public:
    bool runCommandLine(const std::string&, bool, int& exitCode, int) override {
        exitCode = -1;
        return false;
    }
    bool runProgram(const std::string&, const std::string&, bool, int& exitCode, int) override {
        exitCode = -1;
        return false;
    }
};

// The browser's part: it records what it is asked, and navigates as the browser would; only
// the server's own address (127.0.0.1) is allowed.
class RecordingHost final : public DownloadHost {
public:
    RecordingHost(WebKitWebView* view, std::string allowed)
        : m_view(view),
          m_allowed(std::move(allowed)),
          m_responses(view, "decide-policy", G_CALLBACK(decideResponse), this) {}

    void showProgress(bool visible) override { progress.push_back(visible); }
    void showBlockedHint() override { ++hints; }
    void downloadRefused() override { ++refusals; }
    void navigateAsync(const std::string& address) override {
        navigated.push_back(address);
        m_later.start(0);
    }
    void showAsPage(const std::string& address) override { pages.push_back(address); }
    void fetchThroughPage(const std::string& address) override {
        m_fetching = true;
        webkit_web_view_load_uri(m_view, address.c_str());
    }
    void stopPageFetch() override { m_fetching = false; }
    bool allows(const std::string& address) override { return address.starts_with(m_allowed); }

    std::vector<bool> progress;
    int hints = 0;
    int refusals = 0;
    std::vector<std::string> navigated;
    std::vector<std::string> pages;

private:
    // The answer to the page's fetch becomes a download, as the browser's policy makes it.
    static gboolean decideResponse(WebKitWebView*, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, RecordingHost* host) {
        if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE ||
            !std::exchange(host->m_fetching, false)) {
            return FALSE;
        }
        webkit_policy_decision_download(decision);
        return TRUE;
    }

    WebKitWebView* m_view;
    std::string m_allowed;
    bool m_fetching = false;
    ScopedSignal m_responses;
    Timeout m_later{
        [this] { webkit_web_view_load_uri(m_view, toFileUrl(navigated.back()).c_str()); }};
};

class DocumentDownloaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gtk_init(); }

    void SetUp() override {
        ASSERT_FALSE(m_server.empty()) << "run under run_with_display.sh";
        startProgramLog(m_dir.path("plintor.log"), logClock());
        m_kiosk.documentFolder = DocumentFolder(m_dir.root().string());
        m_kiosk.documentFolder.prepare();
        m_kiosk.tempFiles = tempFilesIn(m_kiosk.documentFolder.path());
        m_kiosk.pdfViewer = true;

        m_session = GObjectRef<WebKitNetworkSession>::adopt(webkit_network_session_new_ephemeral());
        m_view = WEBKIT_WEB_VIEW(
            g_object_new(WEBKIT_TYPE_WEB_VIEW, "network-session", m_session.get(), nullptr));
        m_window = GTK_WINDOW(gtk_window_new());
        gtk_window_set_default_size(m_window, 800, 600);
        gtk_window_set_child(m_window, GTK_WIDGET(m_view));
        gtk_window_present(m_window);
        m_loads =
            ScopedSignal(m_view, "load-changed",
                         G_CALLBACK(+[](WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
                             if (event == WEBKIT_LOAD_FINISHED) {
                                 static_cast<DocumentDownloaderTest*>(self)->m_loaded =
                                     webkit_web_view_get_uri(view);
                             }
                         }),
                         this);
        m_host = std::make_unique<RecordingHost>(m_view, m_server);
        m_downloader = std::make_unique<DocumentDownloader>(*m_host, m_kiosk, m_converter);
        m_downloads = ScopedSignal(
            m_session.get(), "download-started",
            G_CALLBACK(+[](WebKitNetworkSession*, WebKitDownload* download, gpointer self) {
                auto* test = static_cast<DocumentDownloaderTest*>(self);
                if (webkit_download_get_web_view(download) == test->m_view) {
                    test->m_downloader->engineDownloadStarted(download);
                }
            }),
            this);
    }

    void TearDown() override {
        m_downloads.disconnect();
        m_loads.disconnect();
        m_downloader.reset();
        gtk_window_destroy(m_window);
        startProgramLog("", logClock());
    }

    // The log outlives every case.
    static const Clock& logClock() {
        static const SystemClock clock;
        return clock;
    }

    std::string url(const std::string& path) const { return m_server + path; }

    void load(const std::string& path) {
        m_loaded.clear();
        webkit_web_view_load_uri(m_view, url(path).c_str());
        ASSERT_TRUE(loopUntil([&] { return m_loaded == url(path); }, 30)) << path;
    }

    static std::string read(const std::string& file) { return test::readBytes(file); }
    std::string log() const { return read(m_dir.path("plintor.log")); }
    std::string document(const std::string& name) const {
        return m_kiosk.documentFolder.path() + "/" + name;
    }
    std::string record() const { return read(environment("PLINTOR_TEST_RECORD")); }

    bool noTemporaryFiles() const {
        for (const char* name : {"temp.tmp", "temp.pdf", "temp.doc", "temp.docx"}) {
            if (std::filesystem::exists(document(name))) {
                return false;
            }
        }
        return true;
    }

    const std::string m_server = environment("PLINTOR_TEST_SERVER");
    test::TempDir m_dir;
    SystemClock m_clock;
    KioskState m_kiosk{m_clock};
    NoOffice m_office;
    NoProcesses m_processes;
    OfficeConverter m_converter{m_office, m_processes};
    GObjectRef<WebKitNetworkSession> m_session;
    WebKitWebView* m_view = nullptr;
    GtkWindow* m_window = nullptr;
    std::unique_ptr<RecordingHost> m_host;
    std::unique_ptr<DocumentDownloader> m_downloader;
    ScopedSignal m_downloads;
    ScopedSignal m_loads;
    std::string m_loaded;
};

// With the visitor's session: the cookie a page set goes along with the document's request.
TEST_F(DocumentDownloaderTest, OpenedPdfIsFetchedIntoTheTempFileAndShown) {
    load("/setcookie");
    m_downloader->download(url("/files/report.pdf"));

    const std::string shown = "file://" + document("temp.pdf") + "#toolbar=0&navpanes=0";
    ASSERT_TRUE(loopUntil([&] { return m_loaded == shown; }, 60)) << log();
    EXPECT_EQ(m_host->navigated, std::vector<std::string>{shown});
    EXPECT_EQ(m_host->progress, (std::vector<bool>{true, false}));
    EXPECT_EQ(m_host->hints, 0);
    EXPECT_EQ(read(document("temp.pdf")), read(environment("PLINTOR_TEST_PDF")));
    EXPECT_FALSE(std::filesystem::exists(document("temp.tmp")));
    EXPECT_TRUE(contains(log(), "Download file: " + url("/files/report.pdf")));
    EXPECT_TRUE(contains(log(), "Downloaded file: " + document("temp.pdf")));
    EXPECT_TRUE(contains(record(), "GET /files/report.pdf cookie=visitor=v1"));
}

// A page's own download, raised by the engine: a program is no document.
TEST_F(DocumentDownloaderTest, FileOfAnotherKindOfferedByAPageIsBlocked) {
    m_kiosk.settings.downloadPdf = true;
    webkit_web_view_load_uri(m_view, url("/dl/setup").c_str());

    ASSERT_TRUE(loopUntil([&] { return m_host->hints == 1; }, 60)) << log();
    EXPECT_TRUE(contains(log(), "Blocked download: " + url("/dl/setup")));
    EXPECT_EQ(m_host->refusals, 1) << "counted once, with its entry";
    EXPECT_FALSE(contains(log(), "Download file:"));
    EXPECT_TRUE(m_host->navigated.empty());
    EXPECT_EQ(m_host->progress, (std::vector<bool>{true, false}));
    EXPECT_TRUE(noTemporaryFiles());
}

// A page's own download that the server sent on to a host the lists do not allow: whatever it
// is, nothing of it is kept.
TEST_F(DocumentDownloaderTest, DocumentFromAnAddressTheListsRefuseIsBlocked) {
    m_kiosk.settings.downloadPdf = true;
    webkit_web_view_load_uri(m_view, url("/dl/elsewhere").c_str());

    ASSERT_TRUE(loopUntil([&] { return m_host->hints == 1; }, 60)) << log();
    EXPECT_TRUE(contains(log(), "Blocked download: ")) << log();
    EXPECT_FALSE(contains(log(), "Downloaded file:"));
    EXPECT_TRUE(m_host->navigated.empty());
    EXPECT_TRUE(noTemporaryFiles());
}

struct OversizeCase {
    const char* name;
    const char* path;
};

class OversizeTest : public DocumentDownloaderTest,
                     public ::testing::WithParamInterface<OversizeCase> {};

// The transfer is cancelled: the server sees the kiosk hang up before it sent everything.
TEST_P(OversizeTest, TransferPastTheSizeLimitIsCancelled) {
    const std::string path = GetParam().path;
    m_downloader->download(url(path));

    ASSERT_TRUE(loopUntil([&] { return m_host->hints == 1; }, 120)) << log();
    EXPECT_TRUE(contains(log(), "Blocked download: " + url(path)));
    EXPECT_TRUE(m_host->navigated.empty());
    EXPECT_TRUE(noTemporaryFiles());
    EXPECT_TRUE(loopUntil([&] { return contains(record(), "END " + path + " "); }, 40));
    EXPECT_TRUE(contains(record(), "END " + path + " ") &&
                contains(record().substr(record().find("END " + path)), "hungup=1"))
        << record();
}

INSTANTIATE_TEST_SUITE_P(Documents, OversizeTest,
                         ::testing::Values(OversizeCase{"SizeCountedWhileReceived",
                                                        "/files/endless.pdf"},
                                           OversizeCase{"SizeAnnounced", "/files/announced.pdf"}),
                         test::RowName());

}  // namespace
}  // namespace plintor
