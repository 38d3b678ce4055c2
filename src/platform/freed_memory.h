#pragma once

// Hands the heap pages that a closed window freed back to the system a moment
// later, once the engine behind it has let go of them too (glibc keeps freed
// pages otherwise). Calls close together make one release. Nothing happens
// where the C library has no such call.
void releaseFreedMemorySoon();
