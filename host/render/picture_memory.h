// The memory of a run that draws pictures (orvane-panel render, its
// benchmarks).
#pragma once

namespace orv::render {

// Pictures of hundreds of kilobytes to megabytes are drawn into fresh memory,
// and a fresh 4 KiB page costs a page fault on first touch: thousands of
// them, which cost more than the drawing. On glibc this makes the heap serve
// every block (none mapped and unmapped on its own) and keep what is freed
// for the next picture, and advises its first 64 MiB into huge pages, which
// fault in 2 MiB at a time. Elsewhere it does nothing. Call it once, early.
void prepare_picture_memory();

}  // namespace orv::render
