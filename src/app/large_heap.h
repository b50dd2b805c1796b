#pragma once

namespace kerfline {

/// Lets the allocator keep the memory a conversion frees and grow its heap in steps of tens
/// of megabytes that the kernel may back with huge pages. Call once, first thing in a batch
/// program. Changes no result; where huge pages are off it only saves the trimming.
void useLargeHeap();

}  // namespace kerfline
