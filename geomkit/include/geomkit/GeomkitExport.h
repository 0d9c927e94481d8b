// SPDX-License-Identifier: Apache-2.0
// Export macro of geomkit. The library is built with hidden visibility; only
// what carries GEOMKIT_API is reachable from other modules.
#ifndef GEOMKIT_GEOMKITEXPORT_H
#define GEOMKIT_GEOMKITEXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define GEOMKIT_API __attribute__((visibility("default")))
#else
#define GEOMKIT_API
#endif

#endif
