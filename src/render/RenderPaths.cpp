#include "render/RenderPaths.h"

RenderPaths renderPaths;

RenderPaths RenderPaths::Plain() {
    RenderPaths plain;
    plain.sharedEdgesDropped = false;
    plain.twoSidedStencil = false;
    plain.volumesBatched = false;
    plain.viewCulling = false;
    plain.staticLists = false;
    plain.stencilWithDepth = false;
    return plain;
}
