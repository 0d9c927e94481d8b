// SPDX-License-Identifier: Apache-2.0
// Export macro of markstore. The library is built with hidden visibility; only
// what carries MARKSTORE_API is reachable from other modules.
#ifndef MARKSTORE_MARKSTOREEXPORT_H
#define MARKSTORE_MARKSTOREEXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define MARKSTORE_API __attribute__((visibility("default")))
#else
#define MARKSTORE_API
#endif

#endif
