#pragma once

#include <vector>

// Counts shadow volumes into the stencil buffer: each volume adds one where
// GL sees a front face of it and then takes one away, down to zero at
// most, where GL sees a back face, on the pixels whose depth test passes.
// The plain way is two passes per volume, the front faces with the back
// faces culled and then the back faces. Where GL has separate stencil
// operations for the two faces, one pass does it: the quads are put in the
// order the two passes would draw them, front faces first, so the counts
// come out the same; and while a batch is open the volumes are collected
// and sent as one.
class StencilVolumes {
public:
    // Quads of four corners of three floats each, in world space.
    static void Send(const std::vector<float>& quads);
    static void BeginBatch();
    static void EndBatch();  // sends what the batch collected, in the volumes' GL state
};
