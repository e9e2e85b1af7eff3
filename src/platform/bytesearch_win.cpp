#include <cstring>

#include "platform/bytesearch.h"

const char* findBytes(const char* from, const char* end, QByteArrayView needle) {
    // Windows' C library has no memmem. Horspool's search: the byte under the needle's last
    // place tells how far the needle may move on; most bytes of a.bz (letters, Chinese, commas)
    // are not in a date, so it moves its whole length.
    const qsizetype n = needle.size();
    qsizetype skip[256];
    for (qsizetype& s : skip) s = n;
    for (qsizetype i = 0; i + 1 < n; ++i) skip[uchar(needle[i])] = n - 1 - i;
    const char last = needle.back();
    for (const char* p = from; end - p >= n; p += skip[uchar(p[n - 1])])
        if (p[n - 1] == last && memcmp(p, needle.data(), size_t(n - 1)) == 0) return p;
    return end;
}
