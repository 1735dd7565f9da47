// SPDX-License-Identifier: MIT
// Plain names, whole writes, exclusive temporary files and new files for the writers of the working folder.
#include "files/safefiles.h"

#include <fcntl.h>
#include <stdio.h>
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

bool FileDescriptor::close() {
    if (fd_ < 0) return false;
    return ::close(release()) == 0;
}

NewTemporary::NewTemporary(const FileCalls& calls, const std::filesystem::path& folder,
                           const std::function<std::string()>& nextName, mode_t mode) {
    for (int attempt = 0; attempt < 100 && !fd_.valid(); ++attempt) {
        // The name is marked before the file exists, so a clean-up never sees it unmarked.
        inUse_.emplace(nextName());
        path_ = folder / inUse_->name();
        fd_ = FileDescriptor(calls.open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (!fd_.valid() && errno != EEXIST) break;
    }
    if (!fd_.valid()) path_.clear();  // nothing of ours to remove
}

NewTemporary::~NewTemporary() {
    static_cast<void>(close());
    if (!released_ && !path_.empty()) ::unlink(path_.c_str());
}

namespace {
// Writes the bytes straight into a name created exclusively; the fallback for folders whose file
// system has neither hard links nor a non-replacing rename.
bool writeExclusively(const FileCalls& calls, int dir, const std::string& name, const QByteArray& bytes) {
    FileDescriptor fd(::openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!fd.valid()) return false;
    const bool written = writeAll(calls, fd.get(), bytes.constData(), static_cast<std::size_t>(bytes.size())) &&
                         calls.fsync(fd.get()) == 0;
    if (fd.close() && written) return true;
    ::unlinkat(dir, name.c_str(), 0);  // ours, created above: never leave a broken file behind
    return false;
}
}  // namespace

bool createNewFile(const std::filesystem::path& folder, const std::string& name, const QByteArray& bytes,
                   const FileCalls& calls) {
    if (!isPlainName(name)) return false;
    const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) return false;

    // A temporary name of our own: created exclusively, so nothing present is touched.
    NewTemporary temp(calls, folder, newFileTemporaryName, 0644);
    if (!temp.opened()) return false;
    const bool written = writeAll(calls, temp.fd(), bytes.constData(), static_cast<std::size_t>(bytes.size())) &&
                         calls.fsync(temp.fd()) == 0;
    if (!temp.close() || !written) return false;  // the temporary is removed with `temp`

    // Linking fails when the name exists in any form, so a file that appeared meanwhile is kept.
    // Either way the temporary's own name goes with `temp`.
    if (::linkat(dir.get(), temp.name().c_str(), dir.get(), name.c_str(), 0) == 0) return true;
    if (errno == EEXIST) return false;
    if (::renameat2(dir.get(), temp.name().c_str(), dir.get(), name.c_str(), RENAME_NOREPLACE) == 0) {
        temp.release();
        return true;
    }
    const int renameError = errno;
    if (renameError == EINVAL || renameError == ENOSYS || renameError == EPERM || renameError == ENOTSUP)
        return writeExclusively(calls, dir.get(), name, bytes);
    return false;
}

}  // namespace pelorix
