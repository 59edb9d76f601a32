#include <sys/stat.h>
#include <sys/uio.h>
// The entry's place in the program's source says nothing to an operator: every entry would
// name this file.
#define SD_JOURNAL_SUPPRESS_LOCATION
#include <systemd/sd-journal.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/app/JournalFields.h"
#include "core/support/Log.h"
#include "platform/linux/LinuxServices.h"

namespace plintor {
namespace {

// Each log entry also as a structured journal entry, so that a fleet's journal can be searched
// by kind and address. Entries come from more than one thread (the lists are read on a thread
// of their own); sending is safe from any.
class JournalMirror final : public LogMirror {
public:
    void mirror(std::string_view text) override {
        std::vector<std::string> lines;
        for (const auto& [name, value] : journalFieldsOf(text)) {
            lines.push_back(name + "=" + value);
        }
        std::vector<iovec> fields;
        for (std::string& line : lines) {
            fields.push_back({line.data(), line.size()});
        }
        sd_journal_sendv(fields.data(), static_cast<int>(fields.size()));
    }
};

// JOURNAL_STREAM names the device and inode of the stream the manager connected to the journal;
// standard error is that stream only when they are its own (a redirected one is not).
bool standardErrorIsJournal() {
    const char* stream = std::getenv("JOURNAL_STREAM");
    unsigned long long device = 0;
    unsigned long long inode = 0;
    char rest = 0;
    if (stream == nullptr || std::sscanf(stream, "%llu:%llu%c", &device, &inode, &rest) != 2) {
        return false;
    }
    struct stat error {};
    return ::fstat(2, &error) == 0 && error.st_dev == device && error.st_ino == inode;
}

}  // namespace

std::unique_ptr<LogMirror> connectJournalMirror() {
    if (!standardErrorIsJournal()) {
        return nullptr;
    }
    return std::make_unique<JournalMirror>();
}

}  // namespace plintor
