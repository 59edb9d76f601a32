#include "core/documents/DocumentFetch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>

#include "core/app/KioskState.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"
#include "tests/support/TinyZip.h"

namespace plintor {

void PrintTo(const FetchAction& action, std::ostream* out) {
    static const char* const Names[] = {"Fetch",       "Cancel",     "Accept",     "Log",
                                        "BlockedHint", "Progress",   "StartTimer", "StopTimer",
                                        "Navigate",    "ShowAsPage", "Convert"};
    *out << Names[static_cast<int>(action.kind)] << "(" << action.download << ", \"" << action.text
         << "\", \"" << action.folder << "\", " << action.on << ")";
}

namespace {

using Actions = DocumentFetch::Actions;
using A = FetchAction;

constexpr std::uint64_t Limit = DocumentFetch::SizeLimitBytes;
const std::string Pdf = "application/pdf";
const std::string Docx = "application/vnd.openxmlformats-officedocument.wordprocessingml.document";
const std::string Page = "http://127.0.0.1/page.html";
const std::string Report = "http://127.0.0.1/files/report.pdf";
const std::string Letter = "http://127.0.0.1/files/letter.docx";
const std::string Setup = "http://127.0.0.1/dl/setup";

// What a step sees: the machine, and the documents folder its files are in ("$T" in a row).
struct Bench {
    DocumentFetch& fetch;
    const TempFiles& files;
    std::string folder;
};
using Step = std::function<Actions(Bench&)>;

std::string expand(std::string text, const std::string& folder) {
    for (std::size_t at; (at = text.find("$T")) != std::string::npos;) {
        text.replace(at, 2, folder);
    }
    return text;
}

Step opened(std::string source, DownloadId id) {
    return [=](Bench& bench) { return bench.fetch.opened(expand(source, bench.folder), id); };
}
Step started(DownloadId id, std::string address) {
    return
        [=](Bench& bench) { return bench.fetch.engineStarted(id, expand(address, bench.folder)); };
}
Step responded(DownloadId id, std::string fileName, std::string mime, std::uint64_t size = 0,
               std::string address = {}, bool allowed = true) {
    return [=](Bench& bench) {
        return bench.fetch.responded(id, {address, fileName, mime, size, allowed});
    };
}
// The answer came from an address the lists refuse (after redirects nobody judged).
Step respondedFromRefused(DownloadId id, std::string fileName, std::string mime) {
    return responded(id, std::move(fileName), std::move(mime), 0, "http://elsewhere/x", false);
}
Step received(DownloadId id, std::uint64_t bytes, std::uint64_t announced) {
    return [=](Bench& bench) { return bench.fetch.received(id, bytes, announced); };
}
// The engine wrote the whole file into the destination it was given, and says so.
Step completed(DownloadId id, std::string bytes = "%PDF-1.4\n%%EOF\n") {
    return [=](Bench& bench) {
        test::writeBytes(bench.files.tmp, bytes);
        return bench.fetch.finished(id);
    };
}
Step completedDocx(DownloadId id) {
    return completed(id, test::tinyZip({"[Content_Types].xml", "word/document.xml"}));
}
// The engine's last word on a download that failed or was cancelled.
Step finished(DownloadId id) {
    return [=](Bench& bench) { return bench.fetch.finished(id); };
}
Step failed(DownloadId id) {
    return [=](Bench& bench) { return bench.fetch.failed(id); };
}
Step timeUp() {
    return [](Bench& bench) { return bench.fetch.timeUp(); };
}
Step converted(bool succeeded) {
    return [=](Bench& bench) { return bench.fetch.converted(succeeded); };
}
// Something in the way of the result: a folder that neither deletion nor renaming removes.
Step folderAt(std::string name) {
    return [=](Bench& bench) {
        std::filesystem::create_directories(bench.folder + "/" + name + "/inside");
        return Actions{};
    };
}

A blockedLog(const std::string& source) {
    return A::refused(source);
}

struct Switches {
    bool pdf = false;
    bool word = false;
    bool convert = false;
    bool viewer = false;
    bool tempFolderMissing = false;
};
constexpr Switches PdfOn{.pdf = true, .viewer = true};

struct FetchCase {
    const char* name;
    Switches switches;
    std::vector<Step> steps;
    Actions expected;
    const char* kept = nullptr;  // the temporary file that holds the document at the end
    DocumentFetch::State end = DocumentFetch::State::Idle;
};

const FetchCase FetchCases[] = {
    {"PdfOfferedByPageIsShownWithViewerParameters",
     PdfOn,
     {started(1, Report), responded(1, "report.pdf", Pdf, 15), received(1, 15, 15), completed(1)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::stopTimer(), A::log("Download file: " + Report), A::log("Downloaded file: $T/temp.pdf"),
      A::navigate("file://$T/temp.pdf#toolbar=0&navpanes=0"), A::progress(false)},
     "temp.pdf"},
    {"PdfWithoutViewerIsShownByItsPath",
     {.pdf = true},
     {started(1, Report), responded(1, "report.pdf", Pdf), completed(1)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::stopTimer(), A::log("Download file: " + Report), A::log("Downloaded file: $T/temp.pdf"),
      A::navigate("$T/temp.pdf"), A::progress(false)},
     "temp.pdf"},
    {"NameComesFromTheAddressWhenTheEngineSuggestsNone",
     {.pdf = true},
     {started(1, "http://127.0.0.1/files/Report.PDF?x=1"), responded(1, " ", Pdf), completed(1)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::stopTimer(), A::log("Download file: http://127.0.0.1/files/Report.PDF?x=1"),
      A::log("Downloaded file: $T/temp.pdf"), A::navigate("$T/temp.pdf"), A::progress(false)},
     "temp.pdf"},
    {"OpenedPdfIsFetchedAndShownWhateverThePdfSwitchSays",
     {.viewer = true},
     {opened(Report, 7), responded(7, "report.pdf", Pdf), completed(7)},
     {A::progress(true), A::startTimer(), A::fetch(7, Report), A::accept(7, "$T/temp.tmp"),
      A::startTimer(), A::stopTimer(), A::log("Download file: " + Report),
      A::log("Downloaded file: $T/temp.pdf"),
      A::navigate("file://$T/temp.pdf#toolbar=0&navpanes=0"), A::progress(false)},
     "temp.pdf"},
    {"PageServedWhereAPdfWasOpenedIsShownAsAPage",
     {.viewer = true},
     {opened(Report, 1),
      responded(1, "login.html", "text/html; charset=utf-8", 0, "http://127.0.0.1/login")},
     {A::progress(true), A::startTimer(), A::fetch(1, Report), A::cancel(1), A::stopTimer(),
      A::progress(false), A::showAsPage("http://127.0.0.1/login")}},
    {"AnswerFromARefusedAddressIsBlocked",
     PdfOn,
     {started(1, Report), respondedFromRefused(1, "report.pdf", Pdf)},
     {A::progress(true), A::startTimer(), A::cancel(1), blockedLog(Report), A::blockedHint(),
      A::stopTimer(), A::progress(false)}},
    {"PageFromARefusedAddressWhereAPdfWasOpenedIsBlocked",
     {.viewer = true},
     {opened(Report, 1), respondedFromRefused(1, "login.html", "text/html")},
     {A::progress(true), A::startTimer(), A::fetch(1, Report), A::cancel(1), blockedLog(Report),
      A::blockedHint(), A::stopTimer(), A::progress(false)}},
    {"PageOfferedAsADownloadIsBlocked",
     PdfOn,
     {started(1, Page), responded(1, "page.html", "text/html")},
     {A::progress(true), A::startTimer(), A::cancel(1), blockedLog(Page), A::blockedHint(),
      A::stopTimer(), A::progress(false)}},
    {"WordDocumentIsConvertedAndShown",
     {.word = true, .convert = true, .viewer = true},
     {opened(Letter, 1), responded(1, "letter.docx", Docx), completedDocx(1), converted(true)},
     {A::progress(true), A::startTimer(), A::fetch(1, Letter), A::accept(1, "$T/temp.tmp"),
      A::startTimer(), A::stopTimer(), A::log("Download file: " + Letter),
      A::log("Downloaded file: $T/temp.docx"), A::convert("$T/temp.docx", "$T"),
      A::log("Converted to PDF: $T/temp.pdf"),
      A::navigate("file://$T/temp.pdf#toolbar=0&navpanes=0"), A::progress(false)},
     "temp.docx"},
    {"FailedConversionLogsAndShowsTheHint",
     {.word = true, .convert = true},
     {started(1, Letter), responded(1, "letter.docx", Docx), completedDocx(1), converted(false)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::stopTimer(), A::log("Download file: " + Letter), A::log("Downloaded file: $T/temp.docx"),
      A::convert("$T/temp.docx", "$T"), A::log("Conversion to PDF failed: $T/temp.docx"),
      A::blockedHint(), A::progress(false)},
     "temp.docx"},
    {"PageUnderAWordNameIsBlockedUnconverted",
     {.word = true, .convert = true},
     {started(1, Letter), responded(1, "letter.docx", Docx),
      completed(1, "<html><img src='http://elsewhere/x.png'></html>")},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      blockedLog(Letter), A::blockedHint(), A::stopTimer(), A::progress(false)}},
    {"WordDocumentWithoutConversionIsBlocked",
     {.pdf = true, .word = true},
     {started(1, Letter), responded(1, "letter.docx", Docx)},
     {A::progress(true), A::startTimer(), A::cancel(1), blockedLog(Letter), A::blockedHint(),
      A::stopTimer(), A::progress(false)}},
    {"FileOfAnotherKindIsBlocked",
     PdfOn,
     {started(1, Setup), responded(1, "setup.exe", "application/octet-stream", 1024)},
     {A::progress(true), A::startTimer(), A::cancel(1), blockedLog(Setup), A::blockedHint(),
      A::stopTimer(), A::progress(false)}},
    {"NoneAllowedRefusesWithoutProgress",
     {.word = true},
     {started(1, Report)},
     {A::cancel(1), blockedLog(Report), A::blockedHint()}},
    {"NoneAllowedRefusesAnOpenedWordDocumentUnfetched",
     {.word = true},
     {opened(Letter, 1)},
     {blockedLog(Letter), A::blockedHint()}},
    {"UnwritableTempFolderRefuses",
     {.pdf = true, .tempFolderMissing = true},
     {started(1, Report)},
     {A::cancel(1), A::log("Documents folder $T is missing and cannot be made"), blockedLog(Report),
      A::blockedHint()}},
    {"SecondDownloadWhileBusyIsRefusedAndTheFirstGoesOn",
     {.pdf = true},
     {started(1, Report), started(2, Setup), opened(Letter, 3), responded(1, "report.pdf", Pdf),
      completed(1)},
     {A::progress(true), A::startTimer(), A::cancel(2), blockedLog(Setup), A::blockedHint(),
      blockedLog(Letter), A::blockedHint(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::stopTimer(), A::log("Download file: " + Report), A::log("Downloaded file: $T/temp.pdf"),
      A::navigate("$T/temp.pdf"), A::progress(false)},
     "temp.pdf"},
    {"DownloadWhileConvertingIsRefused",
     {.pdf = true, .word = true, .convert = true},
     {started(1, Letter), responded(1, "letter.docx", Docx), completedDocx(1), started(2, Report)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::stopTimer(), A::log("Download file: " + Letter), A::log("Downloaded file: $T/temp.docx"),
      A::convert("$T/temp.docx", "$T"), A::cancel(2), blockedLog(Report), A::blockedHint()},
     "temp.docx",
     DocumentFetch::State::Converting},
    {"SizeAnnouncedAtTheLimitIsAccepted",
     {.pdf = true},
     {started(1, Report), responded(1, "report.pdf", Pdf, Limit), received(1, Limit, Limit)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer()},
     nullptr,
     DocumentFetch::State::Transferring},
    {"SizeAnnouncedOverTheLimitIsBlocked",
     {.pdf = true},
     {started(1, Report), responded(1, "report.pdf", Pdf, Limit + 1)},
     {A::progress(true), A::startTimer(), A::cancel(1), blockedLog(Report), A::blockedHint(),
      A::stopTimer(), A::progress(false)}},
    {"SizeAnnouncedLateOverTheLimitIsBlocked",
     {.pdf = true},
     {started(1, Report), responded(1, "report.pdf", Pdf), received(1, 10, Limit + 1), finished(1)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::cancel(1), blockedLog(Report), A::blockedHint(), A::stopTimer(), A::progress(false)}},
    {"TransferPastTheLimitIsBlockedAndItsEndIgnored",
     {.pdf = true},
     {started(1, Report), responded(1, "report.pdf", Pdf), received(1, Limit + 1, 0), failed(1),
      finished(1)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::cancel(1), blockedLog(Report), A::blockedHint(), A::stopTimer(), A::progress(false)}},
    {"TimeUpBeforeTheEngineAnsweredAndItsLateAnswerIsCancelled",
     {.viewer = true},
     {opened(Report, 1), timeUp(), responded(1, "report.pdf", Pdf), received(1, 5, 5)},
     {A::progress(true), A::startTimer(), A::fetch(1, Report), A::cancel(1), blockedLog(Report),
      A::blockedHint(), A::progress(false), A::cancel(1), A::cancel(1)}},
    {"LateAnswerAfterGivingUpLeavesTheNextFetchAlone",
     {.pdf = true},
     {started(1, Report), timeUp(), started(2, Letter + ".pdf"), responded(1, "report.pdf", Pdf),
      finished(1), responded(2, "letter.docx.pdf", Pdf)},
     {A::progress(true), A::startTimer(), A::cancel(1), blockedLog(Report), A::blockedHint(),
      A::progress(false), A::progress(true), A::startTimer(), A::cancel(1),
      A::accept(2, "$T/temp.tmp"), A::startTimer()},
     nullptr,
     DocumentFetch::State::Transferring},
    {"TimeUpDuringTheTransferIsBlocked",
     {.pdf = true},
     {started(1, Report), responded(1, "report.pdf", Pdf), received(1, 5, 0), timeUp(), failed(1),
      finished(1), timeUp()},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::cancel(1), blockedLog(Report), A::blockedHint(), A::progress(false)}},
    {"FailedTransferIsBlocked",
     {.pdf = true},
     {started(1, Report), responded(1, "report.pdf", Pdf), failed(1), finished(1)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      blockedLog(Report), A::blockedHint(), A::stopTimer(), A::progress(false)}},
    {"EndBeforeAnyAnswerIsBlocked",
     {.pdf = true},
     {started(1, Report), finished(1)},
     {A::progress(true), A::startTimer(), blockedLog(Report), A::blockedHint(), A::stopTimer(),
      A::progress(false)}},
    {"FailedRenameIsBlocked",
     {.pdf = true},
     {folderAt("temp.pdf"), started(1, Report), responded(1, "report.pdf", Pdf), completed(1)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      blockedLog(Report), A::blockedHint(), A::stopTimer(), A::progress(false)}},
    {"OwnDocumentHandedBackIsRefused",
     {.pdf = true, .word = true},
     {started(1, "file://$T/temp.docx")},
     {A::cancel(1), blockedLog("file://$T/temp.docx"), A::blockedHint()},
     nullptr},
    {"OwnPdfHandedBackWithParametersIsRefusedWhileBusy",
     {.pdf = true},
     {started(1, Report), started(2, "file://$T/temp.pdf#toolbar=0&navpanes=0")},
     {A::progress(true), A::startTimer(), A::cancel(2),
      blockedLog("file://$T/temp.pdf#toolbar=0&navpanes=0"), A::blockedHint()},
     nullptr,
     DocumentFetch::State::Requested},
    {"OtherLocalPdfIsFetchedLikeAnyFile",
     {.pdf = true},
     {started(1, "file://$T/other.pdf"), responded(1, "other.pdf", Pdf), completed(1)},
     {A::progress(true), A::startTimer(), A::accept(1, "$T/temp.tmp"), A::startTimer(),
      A::stopTimer(), A::log("Download file: file://$T/other.pdf"),
      A::log("Downloaded file: $T/temp.pdf"), A::navigate("$T/temp.pdf"), A::progress(false)},
     "temp.pdf"},
};

class DocumentFetchTest : public ::testing::TestWithParam<FetchCase> {};

TEST_P(DocumentFetchTest, EngineEventsGiveTheProgramsActions) {
    const FetchCase& row = GetParam();
    const test::TempDir dir;
    const std::string folder = dir.root().string();
    test::FakeClock clock(LocalTime{});
    KioskState kiosk(clock);
    kiosk.settings.downloadPdf = row.switches.pdf;
    kiosk.settings.downloadWord = row.switches.word;
    kiosk.settings.convertWordToPdf = row.switches.convert;
    kiosk.pdfViewer = row.switches.viewer;
    kiosk.documentFolder =
        DocumentFolder(row.switches.tempFolderMissing ? folder + "/gone" : folder);
    kiosk.documentFolder.prepare();
    kiosk.tempFiles = tempFilesIn(kiosk.documentFolder.path());
    const std::string documents = kiosk.documentFolder.path();
    DocumentFetch fetch(kiosk.settings, kiosk.documentFolder, kiosk.tempFiles, kiosk.pdfViewer);
    Bench bench{fetch, kiosk.tempFiles, documents};

    Actions actions;
    for (const Step& step : row.steps) {
        const Actions more = step(bench);
        actions.insert(actions.end(), more.begin(), more.end());
    }

    Actions expected = row.expected;
    for (FetchAction& action : expected) {
        action.text = expand(action.text, documents);
        action.folder = expand(action.folder, documents);
    }
    EXPECT_EQ(actions, expected);
    EXPECT_EQ(fetch.state(), row.end);
    if (row.kept != nullptr) {
        EXPECT_TRUE(std::filesystem::is_regular_file(documents + "/" + row.kept));
    }
    if (row.end == DocumentFetch::State::Idle) {
        EXPECT_FALSE(std::filesystem::exists(kiosk.tempFiles.tmp)) << "nothing half-fetched stays";
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, DocumentFetchTest, ::testing::ValuesIn(FetchCases),
                         test::RowName());

}  // namespace
}  // namespace plintor
