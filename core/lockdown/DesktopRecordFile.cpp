#include "core/lockdown/DesktopRecordFile.h"

#include "core/support/FileIO.h"
#include "core/support/SystemFiles.h"

namespace plintor {

DesktopRecordFile::Leftover DesktopRecordFile::keepIn(const std::string& fileName) {
    m_fileName = fileName;
    Leftover leftover;
    if (!fileExists(fileName)) {
        return leftover;
    }
    leftover.record = readDesktopRecord(fileName);
    leftover.damaged = !leftover.record;
    return leftover;
}

std::string DesktopRecordFile::save(const DesktopRecord& record) const {
    if (m_fileName.empty()) {
        return {};
    }
    if (record.empty()) {
        removeFileForced(m_fileName);
        return {};
    }
    const std::string why = writeFileWholeOrSayWhy(m_fileName, formatDesktopRecord(record));
    return why.empty() ? why : m_fileName + " cannot be written: " + why;
}

}  // namespace plintor
