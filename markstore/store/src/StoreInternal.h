// Visibility of the store's internal classes. They are not part of the
// installed headers, but the library's own tests reach them directly, so
// their symbols stay visible in the shared library.
#ifndef MARKSTORE_STORE_STOREINTERNAL_H
#define MARKSTORE_STORE_STOREINTERNAL_H

#include <markstore/MarkstoreExport.h>

#define MARKSTORE_INTERNAL_API MARKSTORE_API

#endif
