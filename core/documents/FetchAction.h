#pragma once

#include <cstdint>
#include <string>

namespace plintor {

// The adapter's number for one of the engine's downloads.
using DownloadId = std::uint64_t;

// One thing the document fetch asks its toolkit adapter to do, as a plain value.
struct FetchAction {
    enum class Kind {
        Fetch,        // ask the engine to download `text` as download `download`
        Cancel,       // cancel the engine's download `download`
        Accept,       // let download `download` write into the file `text`
        Log,          // write `text` to the program log
        Refused,      // the download of `text` is refused: logged as a blocked download, counted
        BlockedHint,  // show the blocked-content hint
        Progress,     // show (`on`) or hide the progress indicator
        StartTimer,   // (re)start the time limit
        StopTimer,
        Navigate,    // navigate to `text` once the engine's event has returned
        ShowAsPage,  // open `text` as a page, not as a document
        Convert,     // convert the Word document `text` to PDF into the folder `folder`
    };

    static FetchAction fetch(DownloadId id, std::string address) {
        return of(Kind::Fetch, id, std::move(address));
    }
    static FetchAction cancel(DownloadId id) { return of(Kind::Cancel, id); }
    static FetchAction accept(DownloadId id, std::string path) {
        return of(Kind::Accept, id, std::move(path));
    }
    static FetchAction log(std::string line) { return of(Kind::Log, 0, std::move(line)); }
    static FetchAction refused(std::string source) {
        return of(Kind::Refused, 0, std::move(source));
    }
    static FetchAction blockedHint() { return of(Kind::BlockedHint); }
    static FetchAction progress(bool on) { return of(Kind::Progress, 0, {}, {}, on); }
    static FetchAction startTimer() { return of(Kind::StartTimer); }
    static FetchAction stopTimer() { return of(Kind::StopTimer); }
    static FetchAction navigate(std::string address) {
        return of(Kind::Navigate, 0, std::move(address));
    }
    static FetchAction showAsPage(std::string address) {
        return of(Kind::ShowAsPage, 0, std::move(address));
    }
    static FetchAction convert(std::string document, std::string folder) {
        return of(Kind::Convert, 0, std::move(document), std::move(folder));
    }

    bool operator==(const FetchAction&) const = default;

    Kind kind;
    DownloadId download = 0;
    std::string text;
    std::string folder;
    bool on = false;

private:
    static FetchAction of(Kind kind, DownloadId id = 0, std::string text = {},
                          std::string folder = {}, bool on = false) {
        return {kind, id, std::move(text), std::move(folder), on};
    }
};

}  // namespace plintor
