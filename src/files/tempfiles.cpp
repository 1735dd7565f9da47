// SPDX-License-Identifier: MIT
// Temporary file names with the writer's process id, the names in use, and removing what killed writes left.
#include "files/tempfiles.h"

#include "files/safefiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace pelorix {

namespace {

constexpr std::string_view replacingSuffix = ".tmp";
constexpr std::string_view newFilePrefix = ".pelorix-";
constexpr std::string_view newFileSuffix = ".part";

std::string nextSerial() {
    static std::atomic<unsigned> serial{0};
    return std::to_string(++serial);
}

// The temporary names this process has in use, shared by every thread.
std::mutex inUseLock;
std::multiset<std::string>& namesInUse() {
    static std::multiset<std::string> names;
    return names;
}

// A decimal as `std::to_string` prints it: digits only, no leading zero, at most `limit`.
std::optional<std::uint64_t> plainNumber(std::string_view text, std::uint64_t limit) {
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > limit) return std::nullopt;
    return value;
}

// "PID.N" with a process id of at least 1; kill(0, …) would mean our own process group.
std::optional<pid_t> pidAndSerial(std::string_view text) {
    const auto dot = text.rfind('.');
    if (dot == std::string_view::npos || !plainNumber(text.substr(dot + 1), UINT_MAX)) return std::nullopt;
    const auto pid = plainNumber(text.substr(0, dot), INT_MAX);
    if (!pid || *pid == 0) return std::nullopt;
    return static_cast<pid_t>(*pid);
}

bool running(pid_t pid) {
    // EPERM: the process exists but belongs to another user.
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

bool quiet(const struct stat& st) {
    // A clock set back makes the file look new, which only keeps it longer.
    return std::time(nullptr) - st.st_mtim.tv_sec >= temporaryQuietSeconds;
}

}  // namespace

std::string replacingTemporaryName(const std::string& target) {
    return "." + target + "." + std::to_string(::getpid()) + "." + nextSerial() + std::string(replacingSuffix);
}

std::string newFileTemporaryName() {
    return std::string(newFilePrefix) + std::to_string(::getpid()) + "." + nextSerial() + std::string(newFileSuffix);
}

TemporaryName parseTemporaryName(std::string_view name) {
    TemporaryName result;
    if (name.starts_with(newFilePrefix) && name.ends_with(newFileSuffix)) {
        const auto body = name.substr(newFilePrefix.size(), name.size() - newFilePrefix.size() - newFileSuffix.size());
        if (const auto pid = pidAndSerial(body)) {
            result = {true, *pid};
        } else if (plainNumber(body, UINT_MAX)) {
            result = {true, 0};
        }
        return result;
    }
    if (!name.starts_with('.') || !name.ends_with(replacingSuffix)) return result;
    // ".NAME.PID.N.tmp": the target's own name may hold dots, so the numbers are read from the end.
    const auto body = name.substr(1, name.size() - 1 - replacingSuffix.size());
    const auto serialDot = body.rfind('.');
    if (serialDot == std::string_view::npos || serialDot == 0) return result;
    const auto pidDot = body.rfind('.', serialDot - 1);
    if (pidDot == std::string_view::npos || pidDot == 0) return result;
    if (const auto pid = pidAndSerial(body.substr(pidDot + 1))) result = {true, *pid};
    return result;
}

TemporaryInUse::TemporaryInUse(std::string name) : name_(std::move(name)) {
    const std::lock_guard lock(inUseLock);
    namesInUse().insert(name_);
}

TemporaryInUse::~TemporaryInUse() {
    const std::lock_guard lock(inUseLock);
    namesInUse().erase(namesInUse().find(name_));
}

int removeStaleTemporaries(const std::filesystem::path& folder) {
    const FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.valid()) return 0;
    const int dir = folderFd.get();
    // The names are gathered first, so that removing does not disturb the listing.
    std::vector<std::pair<std::string, pid_t>> candidates;
    FileDescriptor listFd(::dup(dir));
    // The listing takes the descriptor over when it opens, and closes it with itself.
    if (DIR* list = listFd.valid() ? ::fdopendir(listFd.get()) : nullptr) {
        static_cast<void>(listFd.release());
        while (const dirent* entry = ::readdir(list)) {
            const TemporaryName parsed = parseTemporaryName(entry->d_name);
            if (parsed.ours) candidates.emplace_back(entry->d_name, parsed.pid);
        }
        ::closedir(list);
    }

    const pid_t self = ::getpid();
    int removed = 0;
    for (const auto& [name, pid] : candidates) {
        struct stat st {};
        if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) || !quiet(st)) continue;
        if (pid != 0 && pid != self && running(pid)) continue;
        // Held across the removal, so a writer of this process cannot take the name up in between.
        const std::lock_guard lock(inUseLock);
        if (pid == self && namesInUse().count(name) != 0) continue;
        // Without AT_REMOVEDIR a folder put there meanwhile is refused, and a link is removed, not followed.
        if (::unlinkat(dir, name.c_str(), 0) == 0) ++removed;
    }
    return removed;
}

}  // namespace pelorix
