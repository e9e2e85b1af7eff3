#include <algorithm>
#include <functional>

#include "platform/bytesearch.h"

const char* findBytes(const char* from, const char* end, QByteArrayView needle) {
    // Windows' C library has no memmem. Horspool's search: the byte under the needle's last
    // place tells how far the needle may move on; most bytes of a.bz (letters, Chinese, commas)
    // are not in a date, so it moves its whole length.
    return std::search(from, end, std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
}
