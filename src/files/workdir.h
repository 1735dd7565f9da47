// SPDX-License-Identifier: MIT
// The working directory's files: one spelling rule for names that differ in case, pattern lists, safe writes.
#pragma once

#include <QLocale>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/safefiles.h"

namespace pelorix {

bool sameNameIgnoringCase(std::string_view a, std::string_view b);
// Wildcard match, `*` any run of characters and `?` one character, ignoring case.
bool matchesPattern(std::string_view name, std::string_view pattern);
// Sorts names as `locale` orders words (the user's locale unless given; English for the C locale):
// without regard to case, and runs of digits by their value ("photo 2" before "photo 10"). Names
// the collation holds equal, names that are not valid UTF-8 among them, go in byte order.
void sortIgnoringCase(std::vector<std::string>& names, const QLocale& locale = QLocale());
// Of several spellings of one name, the one a name means: the first in byte order. Readers and
// writers (and the headless test platform) all choose with it. Empty input gives an empty result.
std::string chosenSpelling(const std::vector<std::string>& spellings);
// True for the blanks that may precede a file's first number: space, tab, CR, LF.
bool leadingBlank(char c);

// Reads and writes plain files of one directory. Names are raw bytes, as the file system keeps
// them: a name that is not valid UTF-8 is listed, read and written like any other.
class WorkDir {
public:
    explicit WorkDir(std::filesystem::path dir, FileCalls calls = FileCalls::posix())
        : dir_(std::move(dir)), calls_(std::move(calls)) {}

    const std::filesystem::path& path() const { return dir_; }
    // The system calls its writes go through.
    const FileCalls& calls() const { return calls_; }
    // The entry `name` means: of all entries whose names equal it ignoring case, whatever their
    // type, the one `chosenSpelling` picks. Empty result: no entry, or `name` is not a plain name.
    std::optional<std::filesystem::path> resolve(const std::string& name) const;
    // A picture file to load: the entry of exactly this name if it is a file (lists show every
    // spelling, and each entry loads its own), else the one `resolve` gives if it is a file.
    std::optional<std::filesystem::path> find(const std::string& name) const;
    // The text of a file from its first non-blank byte on, at most `maxBytes` of it. Leading
    // blanks are passed over however many there are. Empty result: missing, not a regular file
    // or unreadable.
    std::optional<std::string> readText(const std::string& name, std::size_t maxBytes = 65536) const;
    // Replaces the file `resolve` gives (keeping its spelling), or creates `name`. The bytes go to
    // a new file in the same folder that is synced and then renamed over the old one, so a failed
    // write leaves the old file whole. Refused (false, nothing changed) when the entry is a
    // symbolic link or anything but a regular file.
    bool writeText(const std::string& name, const std::string& content) const;
    // Names of the regular files matching `pattern`, in the user's reading order (`sortIgnoringCase`).
    std::vector<std::string> list(std::string_view pattern) const;

private:
    std::filesystem::path dir_;
    FileCalls calls_;
};

}  // namespace pelorix
