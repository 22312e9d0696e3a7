// Keeping freed memory for reuse. Under software rendering the GL driver takes and frees some
// 12 MB of working memory in every frame of the panel wall (the triangles binned for its
// rasteriser threads). By default glibc gives free memory at the top of the heap back to the
// kernel once it passes 128 KB and serves large blocks by fresh mappings, so every frame faulted
// those pages back in: thousands of page faults a frame, a large share of the frame's time.
// Keeping the memory costs nothing beyond the peak that every such frame reaches anyway.
#pragma once

#include <malloc.h>

constexpr int kHeapKeepBytes = 256 << 20;  // give memory back only past 256 MB free at the top
constexpr int kHeapMapBytes = 16 << 20;    // blocks below 16 MB come from the heap, not mappings

inline void keep_freed_memory() {
  mallopt(M_TRIM_THRESHOLD, kHeapKeepBytes);
  mallopt(M_MMAP_THRESHOLD, kHeapMapBytes);
}
