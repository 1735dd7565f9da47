// SPDX-License-Identifier: MIT
// Case-insensitive file lookup, wildcard lists, small text files and safe replacing writes.
#include "files/workdir.h"

#include "files/tempfiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCollator>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>

namespace pelorix {

namespace fs = std::filesystem;

namespace {
char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
}  // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    // Iterative wildcard match with one backtrack point for the last `*`.
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

void sortIgnoringCase(std::vector<std::string>& names, const QLocale& locale) {
    // The C locale names no language, and Qt would compare its names code unit by code unit, digits
    // and all; English collation is the language-neutral order people read.
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    // One key a name, so a long list is not decoded and collated again at every comparison.
    std::vector<std::pair<QCollatorSortKey, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names)
        keyed.emplace_back(collator.sortKey(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))),
                           std::move(name));
    // Names the collation cannot tell apart (case, leading zeros, bytes that are not UTF-8 and all
    // decode to the same replacement character) keep their byte order, so the order is total.
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

std::string chosenSpelling(const std::vector<std::string>& spellings) {
    if (spellings.empty()) return {};
    return *std::min_element(spellings.begin(), spellings.end());
}

bool leadingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::optional<fs::path> WorkDir::resolve(const std::string& name) const {
    if (!isPlainName(name)) return std::nullopt;
    std::vector<std::string> spellings;
    std::error_code ec;
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().native();
        if (sameNameIgnoringCase(candidate, name)) spellings.push_back(std::move(candidate));
    }
    if (spellings.empty()) return std::nullopt;
    return dir_ / chosenSpelling(spellings);
}

std::optional<fs::path> WorkDir::find(const std::string& name) const {
    if (!isPlainName(name)) return std::nullopt;
    std::error_code ec;
    const fs::path exact = dir_ / name;
    if (fs::is_regular_file(exact, ec)) return exact;
    const auto chosen = resolve(name);
    if (chosen && fs::is_regular_file(*chosen, ec)) return chosen;
    return std::nullopt;
}

std::optional<std::string> WorkDir::readText(const std::string& name, std::size_t maxBytes) const {
    const auto file = resolve(name);
    if (!file) return std::nullopt;
    // Non-blocking, so that a pipe in the file's place cannot stall the game; only files are read.
    const FileDescriptor opened(::open(file->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!opened.valid()) return std::nullopt;
    const int fd = opened.get();
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string text;
    char buffer[8192];
    bool blanks = true;
    while (text.size() < maxBytes) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        std::size_t from = 0;
        const auto size = static_cast<std::size_t>(got);
        if (blanks) {
            while (from < size && leadingBlank(buffer[from])) ++from;
            blanks = from == size;
        }
        text.append(buffer + from, std::min(size - from, maxBytes - text.size()));
    }
    return text;
}

namespace {
// A regular file that is not a link, or nothing at all, may be replaced.
bool replaceable(const fs::path& path, mode_t& mode, bool& exists) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        exists = false;
        return errno == ENOENT;
    }
    exists = true;
    mode = st.st_mode & 07777;
    return S_ISREG(st.st_mode);
}
}  // namespace

bool WorkDir::writeText(const std::string& name, const std::string& content) const {
    if (!isPlainName(name)) return false;
    const fs::path target = resolve(name).value_or(dir_ / name);
    mode_t mode = 0;
    bool exists = false;
    if (!replaceable(target, mode, exists)) return false;

    // Temporaries that killed writes left behind would otherwise pile up in the folder.
    NewTemporary temp(calls_, dir_, [&] { return replacingTemporaryName(target.filename().native()); }, 0666);
    if (!temp.opened()) return false;
    bool ok = writeAll(calls_, temp.fd(), content.data(), content.size());
    // The replaced file keeps its permissions; a new one gets the usual ones (0666 less umask).
    if (ok && exists) ok = ::fchmod(temp.fd(), mode) == 0;
    ok = ok && calls_.fsync(temp.fd()) == 0;
    ok = temp.close() && ok;
    // Look again just before the rename: whatever took the target's place meanwhile is left alone.
    ok = ok && replaceable(target, mode, exists) && calls_.rename(temp.path().c_str(), target.c_str()) == 0;
    if (!ok) return false;  // the temporary is removed with `temp`
    temp.release();
    // The rename itself is made lasting by syncing the folder; failing that, the file is still right.
    if (const int dirfd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirfd >= 0) {
        calls_.fsync(dirfd);
        ::close(dirfd);
    }
    return true;
}

std::vector<std::string> WorkDir::list(std::string_view pattern) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().native();
        if (matchesPattern(name, pattern)) names.push_back(std::move(name));
    }
    sortIgnoringCase(names);
    return names;
}

}  // namespace pelorix
