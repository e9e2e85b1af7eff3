#pragma once
// Finding a byte string in a block, as fast as the C library can. QtCore only.

#include <QByteArrayView>

// The first occurrence of `needle` (not empty) in [from, end), or end when there is none.
const char* findBytes(const char* from, const char* end, QByteArrayView needle);
