// SPDX-License-Identifier: Apache-2.0
// Directory helpers of the converter: the executable's folder, the folder
// test and the recursive file listing. Paths are texts with "/" as the
// separator; nothing here throws.
#ifndef SITCONV_DIR_H
#define SITCONV_DIR_H

#include <string>
#include <vector>

namespace HQ {
namespace dir {

// Fills folder with the folder of the running executable (from
// /proc/self/exe), without a trailing "/". When the path cannot be read the
// folder is "."; always answers true.
bool getExeDir(std::string& folder);

// The folder part of an executable path: "." for an empty path, the text
// before the last "/" when there is one, else the whole path.
std::string exeFolderOf(const std::string& exePath);

// True when path names an existing folder (symbolic links are followed). A
// trailing "/" is ignored, except for the root "/" itself.
bool isDirectory(const std::string& path);

// Appends the files below folder to files, each as folder + "/" + name.
// Order: the entries of a folder in ascending byte order of their names,
// depth first; a subfolder's files (when recursive) stand at the place of the
// subfolder, subfolders are skipped when not recursive. "." and ".." are
// skipped, and a folder reached twice through symbolic links is listed once.
// Every entry that is not a folder is listed; there is no filter. False when
// folder is not a folder or cannot be read; true otherwise (a subfolder that
// cannot be read contributes nothing).
bool listFiles(const std::string& folder, std::vector<std::string>& files, bool recursive);

// Replaces every occurrence of pStrOld in text by pStrNew, left to right and
// without overlap; answers the number of replacements (0 when pStrOld is
// empty). Both pointers must be non-null: a null one stops the program
// (abort) with the assertion text "pStrOld != NULL && pStrNew != NULL" on
// standard error, in every build.
int replaceAll(std::string& text, const char* pStrOld, const char* pStrNew);

}  // namespace dir
}  // namespace HQ

#endif
