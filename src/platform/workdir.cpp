// Case-insensitive file lookup, wildcard lists and small text files in the working directory.
#include "platform/workdir.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

namespace pelorix {

namespace fs = std::filesystem;

namespace {
char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool isPlainName(const std::string& name) {
    // Only names inside the working directory: no separators, no parent references.
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}
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

void sortIgnoringCase(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto cmp = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                      [](char x, char y) { return lower(x) < lower(y); });
        if (cmp) return true;
        if (sameNameIgnoringCase(a, b)) return a < b;
        return false;
    });
}

std::optional<fs::path> WorkDir::find(const std::string& name) const {
    if (!isPlainName(name)) return std::nullopt;
    std::error_code ec;
    const fs::path exact = dir_ / name;
    if (fs::is_regular_file(exact, ec)) return exact;
    std::optional<fs::path> found;
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (sameNameIgnoringCase(candidate, name) && it->is_regular_file(ec)) {
            // Several spellings may exist; take the first in sorted order so the choice is stable.
            if (!found || candidate < found->filename().string()) found = it->path();
        }
    }
    return found;
}

std::optional<std::string> WorkDir::readText(const std::string& name, std::size_t maxBytes) const {
    const auto file = find(name);
    if (!file) return std::nullopt;
    std::ifstream in(*file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(maxBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(maxBytes));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return text;
}

bool WorkDir::writeText(const std::string& name, const std::string& content) const {
    if (!isPlainName(name)) return false;
    const fs::path target = find(name).value_or(dir_ / name);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return !out.fail();
}

std::vector<std::string> WorkDir::list(std::string_view pattern) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (matchesPattern(name, pattern)) names.push_back(std::move(name));
    }
    sortIgnoringCase(names);
    return names;
}

}  // namespace pelorix
