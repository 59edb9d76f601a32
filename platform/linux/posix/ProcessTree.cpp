#include "platform/linux/posix/ProcessTree.h"

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/posix/UniqueFd.h"

namespace plintor {
namespace {

// /proc files are small and are read whole at once; an error number when that fails.
int readProcFile(const std::string& path, std::string& text) {
    const UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.isOpen()) {
        return errno;
    }
    text.clear();
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return 0;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

std::optional<long> numberIn(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) {
        return std::nullopt;
    }
    return value;
}

// Every process's parent, read from /proc/<pid>/stat; a process that ends meanwhile is left out.
std::unordered_map<long, long> parentsOfAll() {
    std::unordered_map<long, long> parents;
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
    if (proc == nullptr) {
        return parents;
    }
    std::string stat;
    while (const dirent* entry = ::readdir(proc.get())) {
        const std::string_view name = entry->d_name;
        const std::optional<long> processId = numberIn(name);
        if (!processId || std::to_string(*processId) != name) {
            continue;
        }
        if (readProcFile("/proc/" + std::string(name) + "/stat", stat) == 0) {
            if (const long parent = parentProcessIdInStat(stat); parent > 0) {
                parents.emplace(*processId, parent);
            }
        }
    }
    return parents;
}

bool isGone(int error) {
    return error == ENOENT || error == ESRCH;
}

}  // namespace

long parentProcessIdInStat(std::string_view stat) {
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string_view::npos || stat.size() < nameEnd + 4) {
        return 0;
    }
    // ") S 1234 ...": the state, then the parent.
    std::string_view rest = stat.substr(nameEnd + 2);
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) {
        return 0;
    }
    rest.remove_prefix(blank + 1);
    return numberIn(rest).value_or(0);
}

std::int64_t pssKiBInSmapsRollup(std::string_view rollup) {
    for (std::size_t start = 0; start < rollup.size();) {
        const std::size_t end = std::min(rollup.find('\n', start), rollup.size());
        std::string_view line = rollup.substr(start, end - start);
        if (line.starts_with("Pss:")) {
            line.remove_prefix(4);
            while (!line.empty() && line.front() == ' ') {
                line.remove_prefix(1);
            }
            std::int64_t kib = 0;
            const auto [at, error] = std::from_chars(line.data(), line.data() + line.size(), kib);
            return error == std::errc() && at != line.data() ? kib : -1;
        }
        start = end + 1;
    }
    return -1;
}

std::vector<long> processTree(long root) {
    const std::unordered_map<long, long> parents = parentsOfAll();
    std::vector<long> tree{root};
    // Breadth first: every process found adds its children at the end.
    for (std::size_t next = 0; next < tree.size(); ++next) {
        for (const auto& [processId, parent] : parents) {
            if (parent == tree[next] && processId != root) {
                tree.push_back(processId);
            }
        }
    }
    return tree;
}

std::int64_t processTreePssKiB(long root) {
    std::int64_t total = 0;
    std::string rollup;
    for (const long processId : processTree(root)) {
        const int error =
            readProcFile("/proc/" + std::to_string(processId) + "/smaps_rollup", rollup);
        if (error != 0) {
            if (processId == root || !isGone(error)) {
                return -1;
            }
            continue;
        }
        const std::int64_t kib = pssKiBInSmapsRollup(rollup);
        if (kib < 0 && processId == root) {
            return -1;
        }
        total += std::max<std::int64_t>(kib, 0);
    }
    return total;
}

}  // namespace plintor
