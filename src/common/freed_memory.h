#pragma once
// How the process gives memory back to the system.

namespace kerfline {

/// Keeps up to a few hundred megabytes of freed heap for reuse instead of returning it to the
/// system at once. The job view frees and allocates a drawing of tens of megabytes after every
/// edit; given back each time, every page of the next one is faulted in again, which costs
/// more than the layout. Call once at start-up, before any thread starts. No effect where the
/// C library has no such setting.
void keepFreedMemoryForReuse();

}  // namespace kerfline
