// SPDX-License-Identifier: MIT
// The pieces every write into a working folder is made of: plain names, whole writes, exclusive temporaries.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <QByteArray>

#include "files/tempfiles.h"

namespace pelorix {

// The system calls a write goes through; tests replace some of them to inject faults (a full
// disk, a folder that refuses new files). Each behaves as its POSIX namesake.
struct FileCalls {
    std::function<int(const char* path, int flags, mode_t mode)> open;
    std::function<ssize_t(int fd, const void* data, size_t size)> write;
    std::function<int(int fd)> fsync;
    std::function<int(const char* from, const char* to)> rename;
    static FileCalls posix();
};

// Owns a file descriptor: closes it when it goes, unless it was handed on first. Moves, never copies.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { static_cast<void>(close()); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            static_cast<void>(close());
            fd_ = other.release();
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Hands the descriptor on: the caller closes it now.
    int release() { return std::exchange(fd_, -1); }
    // Closes it now; false when there was none or the close reported an error (a write that the
    // system had deferred may have failed).
    bool close();

private:
    int fd_;
};

// True for a name of an entry inside the folder itself: not empty, not "." or "..", and without a
// separator or a NUL byte (which the system would take as the name's end).
bool isPlainName(std::string_view name);

// Writes all `size` bytes at `data` to `fd` through `calls`, going on after short writes and
// interruptions. False when a write fails or writes nothing.
bool writeAll(const FileCalls& calls, int fd, const void* data, std::size_t size);

// A new file of this process in `folder`, under a temporary name of its own: created exclusively,
// so no entry present (a file, a link, anything) is opened or touched. The name is marked in use
// for the object's lifetime, so no clean-up of stale temporaries removes it meanwhile. Destroying
// the object closes the file and removes it, unless it was renamed or linked away (`release`).
class NewTemporary {
public:
    // Tries up to 100 names from `nextName` while each is taken; any other failure ends at once.
    NewTemporary(const FileCalls& calls, const std::filesystem::path& folder,
                 const std::function<std::string()>& nextName, mode_t mode);
    ~NewTemporary();
    NewTemporary(const NewTemporary&) = delete;
    NewTemporary& operator=(const NewTemporary&) = delete;

    bool opened() const { return fd_.valid(); }
    int fd() const { return fd_.get(); }
    const std::string& name() const { return inUse_->name(); }
    const std::filesystem::path& path() const { return path_; }
    // Closes the file; false when it was not open or the close reported an error (a write that
    // the system had deferred may have failed).
    bool close() { return fd_.close(); }
    // The file has its lasting name now: nothing is removed on destruction.
    void release() { released_ = true; }

private:
    std::optional<TemporaryInUse> inUse_;
    std::filesystem::path path_;
    FileDescriptor fd_;
    bool released_ = false;
};

// Creates `folder`/`name` holding `bytes`, never replacing anything: the bytes go to a temporary
// file in the folder first, synced, which is then linked (or renamed without replacing) to the
// name, so no one sees a half-written file. Fails, writing nothing, when the name is taken in any
// form (file, folder, symbolic link, dangling link), when `name` is not a plain file name, or on
// any I/O error. The writes go through `calls`, as the settings writes do.
bool createNewFile(const std::filesystem::path& folder, const std::string& name, const QByteArray& bytes,
                   const FileCalls& calls = FileCalls::posix());

}  // namespace pelorix
