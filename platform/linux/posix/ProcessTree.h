#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace plintor {

// The parent's process id in the text of /proc/<pid>/stat; 0 when the text is not one. The
// program's name, in parentheses, may hold blanks and parentheses of its own.
long parentProcessIdInStat(std::string_view stat);

// The "Pss:" figure of /proc/<pid>/smaps_rollup in KiB; -1 when the text has none (a process
// without memory of its own, such as a zombie, gives an empty file).
std::int64_t pssKiBInSmapsRollup(std::string_view rollup);

// The process and every process below it, as /proc shows them now.
std::vector<long> processTree(long root);

// The proportional set size of the process and every process below it: shared pages count
// once in all, split among the processes that share them. -1 when it is unknown: the root's
// figure cannot be read, or a process of the tree cannot be read (not one that ended while
// the tree was read, which counts as none).
std::int64_t processTreePssKiB(long root);

}  // namespace plintor
