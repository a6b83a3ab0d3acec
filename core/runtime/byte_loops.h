// Loops that look a byte up in a table, one byte at a time: GCC vectorizes them by gathering the
// lookups through the stack, which stalls and runs several times slower than the plain loop.
#pragma once

#if defined(__GNUC__) && !defined(__clang__)
#define QUILLET_BYTE_BY_BYTE __attribute__((optimize("no-tree-vectorize")))
#else
#define QUILLET_BYTE_BY_BYTE
#endif
