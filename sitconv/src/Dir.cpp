// SPDX-License-Identifier: Apache-2.0
// Directory helpers: executable folder, folder test, recursive listing.
#include <sitconv/Dir.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>

namespace HQ {
namespace dir {

namespace {

// First buffer size for the executable path; doubled while too small.
const size_t kInitialPathBuffer = 256;

// Identity of a folder, so that a folder reached again through a symbolic
// link is not listed twice (and a link loop does not recurse forever).
using FolderId = std::pair<dev_t, ino_t>;

bool listInto(const std::string& folder, std::vector<std::string>& files, bool recursive,
              std::set<FolderId>& seen) {
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    if (!seen.insert(FolderId(st.st_dev, st.st_ino)).second) return true;

    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) return false;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        names.emplace_back(e->d_name);
    }
    ::closedir(d);
    // The platform reports entries in no useful order; byte order makes the
    // batch (and which of two same-named files wins) reproducible.
    std::sort(names.begin(), names.end());

    const std::string base = (!folder.empty() && folder.back() == '/') ? folder : folder + "/";
    for (const std::string& name : names) {
        const std::string path = base + name;
        if (isDirectory(path)) {
            if (recursive) listInto(path, files, recursive, seen);
        } else {
            files.push_back(path);
        }
    }
    return true;
}

}  // namespace

std::string exeFolderOf(const std::string& exePath) {
    if (exePath.empty()) return ".";
    const size_t slash = exePath.rfind('/');
    if (slash == std::string::npos) return exePath;
    return exePath.substr(0, slash);
}

bool getExeDir(std::string& folder) {
    std::vector<char> buffer(kInitialPathBuffer);
    std::string exePath;
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) break;  // not reported by the platform: treated as an empty path
        if (static_cast<size_t>(n) < buffer.size()) {
            exePath.assign(buffer.data(), static_cast<size_t>(n));
            break;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
    folder = exeFolderOf(exePath);
    return true;
}

bool isDirectory(const std::string& path) {
    std::string p = path;
    // A trailing separator names the same folder; the root keeps its own.
    if (p.size() > 1 && p.back() == '/') p.pop_back();
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool listFiles(const std::string& folder, std::vector<std::string>& files, bool recursive) {
    std::set<FolderId> seen;
    return listInto(folder, files, recursive, seen);
}

int replaceAll(std::string& text, const char* pStrOld, const char* pStrNew) {
    // A contract violation, checked in every build: without the check a
    // release build would read through a null pointer.
    if (pStrOld == NULL || pStrNew == NULL) {
        std::fprintf(stderr, "sitconv: assertion failed: %s\n", "pStrOld != NULL && pStrNew != NULL");
        std::abort();
    }
    const size_t oldLen = std::strlen(pStrOld);
    if (oldLen == 0) return 0;
    const size_t newLen = std::strlen(pStrNew);
    int count = 0;
    if (oldLen == newLen) {
        for (size_t pos = text.find(pStrOld); pos != std::string::npos;
             pos = text.find(pStrOld, pos + oldLen)) {
            text.replace(pos, oldLen, pStrNew);
            ++count;
        }
        return count;
    }
    std::string rebuilt;
    size_t from = 0;
    for (size_t pos = text.find(pStrOld); pos != std::string::npos; pos = text.find(pStrOld, from)) {
        rebuilt.append(text, from, pos - from);
        rebuilt.append(pStrNew, newLen);
        from = pos + oldLen;
        ++count;
    }
    if (count == 0) return 0;
    rebuilt.append(text, from, std::string::npos);
    text.swap(rebuilt);
    return count;
}

}  // namespace dir
}  // namespace HQ
