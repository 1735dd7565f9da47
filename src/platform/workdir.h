// The working directory's files: names that compare without regard to case, pattern lists, small text files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelorix {

bool sameNameIgnoringCase(std::string_view a, std::string_view b);
// Wildcard match, `*` any run of characters and `?` one character, ignoring case.
bool matchesPattern(std::string_view name, std::string_view pattern);
// Sorts names alphabetically without regard to case (ties keep a stable, case-sensitive order).
void sortIgnoringCase(std::vector<std::string>& names);

// Reads and writes plain files of one directory.
class WorkDir {
public:
    explicit WorkDir(std::filesystem::path dir) : dir_(std::move(dir)) {}

    const std::filesystem::path& path() const { return dir_; }
    // The path of the regular file whose name equals `name` ignoring case (the exact name wins).
    // Empty result: no such file.
    std::optional<std::filesystem::path> find(const std::string& name) const;
    // Text of a file up to `maxBytes`; empty result when missing or unreadable.
    std::optional<std::string> readText(const std::string& name, std::size_t maxBytes = 65536) const;
    // Replaces the file's content, reusing an existing file whose name differs only in case.
    bool writeText(const std::string& name, const std::string& content) const;
    // Names of the regular files matching `pattern`, sorted ignoring case.
    std::vector<std::string> list(std::string_view pattern) const;

private:
    std::filesystem::path dir_;
};

}  // namespace pelorix
