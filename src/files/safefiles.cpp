// SPDX-License-Identifier: MIT
// Plain names, whole writes and exclusive temporary files for the writers of the working folder.
#include "files/safefiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace pelorix {

FileCalls FileCalls::posix() {
    FileCalls calls;
    calls.open = [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); };
    calls.write = [](int fd, const void* data, size_t size) { return ::write(fd, data, size); };
    calls.fsync = [](int fd) { return ::fsync(fd); };
    calls.rename = [](const char* from, const char* to) { return ::rename(from, to); };
    return calls;
}

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool writeAll(const FileCalls& calls, int fd, const void* data, std::size_t size) {
    const auto* at = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = calls.write(fd, at + done, size - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

NewTemporary::NewTemporary(const FileCalls& calls, const std::filesystem::path& folder,
                           const std::function<std::string()>& nextName, mode_t mode) {
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        // The name is marked before the file exists, so a clean-up never sees it unmarked.
        inUse_.emplace(nextName());
        path_ = folder / inUse_->name();
        fd_ = calls.open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) path_.clear();  // nothing of ours to remove
}

NewTemporary::~NewTemporary() {
    close();
    if (!released_ && !path_.empty()) ::unlink(path_.c_str());
}

bool NewTemporary::close() {
    if (fd_ < 0) return false;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
}

}  // namespace pelorix
