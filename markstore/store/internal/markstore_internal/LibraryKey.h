// SPDX-License-Identifier: Apache-2.0
// The key every symbol library file is encrypted with. The SQLite engine opens
// library files with it, the benchmarks key the libraries they generate with
// it, and the build reads it from the definition below to key the sample and
// test databases (cmake/SitplotKeyedDatabase.cmake): keep that definition on
// one line, in this form.
#ifndef MARKSTORE_INTERNAL_LIBRARYKEY_H
#define MARKSTORE_INTERNAL_LIBRARYKEY_H

namespace HQ {

inline constexpr char kLibraryKey[] = "Stonegate_Sigils_V4.1";

// Length in bytes, without the terminating zero.
inline constexpr int kLibraryKeyLength = static_cast<int>(sizeof(kLibraryKey)) - 1;

}  // namespace HQ

#endif
