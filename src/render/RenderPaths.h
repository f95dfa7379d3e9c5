#pragma once

// The faster ways the renderer can send a frame's work to GL. Each draws the
// same picture as the plain way it replaces, and each can be switched off,
// so that a test can compare the two pictures and a benchmark the two times.
class RenderPaths {
public:
    static RenderPaths Plain();  // every fast path off

    // Shadow volumes leave out the edges that two triangles facing away from
    // the light share: sent once each way, they cancel in the stencil count.
    bool sharedEdgesDropped = true;
    // Shadow volumes count both faces in one stencil pass where GL can.
    bool twoSidedStencil = true;
    // With one pass, a fighter's shadow volumes go to GL as one batch.
    bool volumesBatched = true;
    // Scenery wholly outside the view is left out of every pass.
    bool viewCulling = true;
    // Meshes that keep their shape are drawn from display lists.
    bool staticLists = true;
    // The stencil is cleared together with the depth, with which it shares
    // its buffer: one fill of both instead of a masked pass over each. The
    // shadows' count then finds it clean where nothing has written it since.
    bool stencilWithDepth = true;
};

extern RenderPaths renderPaths;  // the paths the game draws with
