#pragma once

// Building a fighter's look: part meshes modelled in the part's own frame
// (y along the part from its joint, x and z across it as the rig's rest axes
// say), their coarse shadow boxes, cloth sheets, textures and materials.

#include <functional>
#include <string>
#include <vector>

#include "content/BmpWriter.h"
#include "content/MatWriter.h"
#include "content/MeshWriter.h"
#include "content/Rig.h"

namespace content {

// One ring of a lofted part: at height y along the part, half-widths rx
// (across) and rz (front to back), centre offset cz toward the part's z.
struct Ring {
    float y, rx, rz, cz = 0;
};

// A smooth tube through the rings (at least two), closed by flat caps.
MeshBuilder Loft(const std::vector<Ring>& rings, int segments);

// The part's own frame to the fighter's rest pose.
Matrix PartFrame(const Part& part);

// Writes a part's mesh (built in its own frame unless `inRestPose`) and its
// shadow mesh under 3/ into the fighter's folder `dir`.
void WritePartMeshes(const std::string& dir, const Part& part, MeshBuilder mesh, MeshBuilder shadow,
                     bool inRestPose = false);

// Shadow meshes are coarse on purpose: every triangle that faces away from
// the light casts three long quads into the stencil buffer, so each part
// casts from a tetrahedron (four triangles) spanned by two crossing edges,
// a0-a1 at one end and b0-b1 at the other, wide enough that its shadow has
// the part's breadth.
MeshBuilder ShadowWedge(const Vector3& a0, const Vector3& a1, const Vector3& b0, const Vector3& b1);
// Small parts cast no shadow of their own: an empty shadow mesh. Their
// shadow would hardly show beside the trunk's and the limbs', and each
// shadow-casting part costs its own volume.
inline MeshBuilder NoShadow() { return MeshBuilder(); }
// The wedge of a box, spanned along its longest side.
MeshBuilder ShadowWedgeBox(const Vector3& lo, const Vector3& hi);
// The wedge of a lofted part: across (x) at the joint end, front to back at the far end.
MeshBuilder ShadowWedge(const std::vector<Ring>& rings);

// A cloth sheet: `rows` chains of points (rows[r][j], j down the chain),
// triangles between neighbouring rows as `joined` says (joined[r]: row r to
// row r + 1), wound toward `outward`. Written for a loader that flips it.
void WriteCloth(const std::string& path, const std::vector<std::vector<Vector3>>& rows,
                const std::vector<bool>& joined, const Vector3& outward);

// Images: `paint` gives each pixel's colour from (u, v) in 0..1.
void WriteImage(const std::string& path, int width, int height,
                const std::function<Vector3(float u, float v)>& paint);
void WriteGreyImage(const std::string& path, int width, int height,
                    const std::function<float(float u, float v)>& paint);

// A lit, textured material for a body part: colour from the image.
MatSpec BodyMaterial(const std::string& image, const std::string& map = "CYL");

// Small helpers for painting.
float Grain(float u, float v, int cells, unsigned seed);  // tiling noise 0..1
// Distance from (u, v) to (cu, cv) with u wrapping round, in pixels of an
// image `width` by `height`.
float WrappedDistance(float u, float v, float cu, float cv, int width, int height);

}  // namespace content
