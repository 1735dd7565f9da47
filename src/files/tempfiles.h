// SPDX-License-Identifier: MIT
// The temporary files the game's writers make beside their targets, and clearing away those of killed writes.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelorix {

// The name of a replacing write's temporary file for `target`: ".TARGET.PID.N.tmp", with this
// process's id and a serial number new in this process.
std::string replacingTemporaryName(const std::string& target);
// The name of a new file's temporary file (an imported picture, a seeded sample): ".pelorix-PID.N.part".
std::string newFileTemporaryName();

// What a directory entry's name says about it as one of the game's temporary files.
struct TemporaryName {
    bool ours = false;  // the name has one of the shapes the writers give their temporary files
    pid_t pid = 0;      // the writing process; 0 when the name carries none
};

// Reads `name` as a temporary file's name: ".NAME.PID.N.tmp", ".pelorix-PID.N.part", or
// ".pelorix-N.part", an import's temporary that carries no process id. NAME is not
// empty; the numbers are plain decimals as the writers print them (no sign, no leading zero); a
// process id is at least 1. Any other name is not ours.
TemporaryName parseTemporaryName(std::string_view name);

// Marks a temporary file name of this process as in use for the guard's lifetime: no clean-up,
// from any thread, removes it meanwhile. Make the guard before creating the file.
class TemporaryInUse {
public:
    explicit TemporaryInUse(std::string name);
    ~TemporaryInUse();
    TemporaryInUse(const TemporaryInUse&) = delete;
    TemporaryInUse& operator=(const TemporaryInUse&) = delete;
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

// A temporary file modified within this many seconds is left alone even when its process id is not
// running here: the id may belong to a process of another PID namespace or machine sharing the folder.
inline constexpr std::time_t temporaryQuietSeconds = 60;

// Removes the temporary files that killed writes left in `folder`: entries whose name
// `parseTemporaryName` takes for ours, that are regular files (links are neither followed nor
// removed), unmodified for `temporaryQuietSeconds`, and whose process is gone. A process id that is
// running keeps its files, even if the id was reused by another program; this process's own id
// keeps only the files it has in use, the rest being left by an earlier process of the same id.
// Nothing else in the folder is touched. Returns how many files were removed. The program calls it
// once, at its start, for the folder it works in: killed writes are another process's, and that
// process was killed before this one started or while it runs, to be cleared at the next start.
int removeStaleTemporaries(const std::filesystem::path& folder);

}  // namespace pelorix
