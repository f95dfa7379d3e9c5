#pragma once

// What the two fighters share: the folder they are written to, their body,
// the flag words of their keys, and the moves every fighter has (stance,
// walks, side-steps, jump, crouch, guards and the reactions to blows), built
// from the poses of each fighter's own style. Each fighter adds its look and
// its attacks.

#include <string>
#include <vector>

#include "content/Look.h"
#include "content/Moves.h"
#include "content/Poser.h"
#include "content/Rig.h"

namespace content {

// The reaction files every fighter has; an attack names one as the move its
// opponent plays when it lands (found in the opponent's folder).
namespace reaction {
const char* const HIGH = "hit_high.kaf";        // head snapped back
const char* const BODY = "hit_body.kaf";        // doubled over
const char* const LOW = "hit_low.kaf";          // a leg buckles
const char* const KNOCKBACK = "knockback.kaf";  // thrown far back off the feet
const char* const THROWN = "thrown.kaf";        // lifted, hurled back and down
const char* const SWEPT = "swept.kaf";          // legs taken, flat on the back
}  // namespace reaction

class Fighter {
public:
    explicit Fighter(std::string name);
    virtual ~Fighter() = default;

    // The guard-up stance of this style; `breath` 0..1 rocks it gently.
    virtual Poser Stance(float breath) const = 0;
    virtual Poser Guard() const = 0;        // blocking, standing
    virtual Poser Crouch() const = 0;       // down low
    virtual Poser CrouchGuard() const = 0;  // blocking, low
    // The fighter's look: its meshes (and shadow meshes), images and materials.
    virtual void WriteMeshes() const = 0;
    virtual void WriteImages() const = 0;
    virtual void WriteMaterials() const = 0;
    // Writes the attacks and adds their records under the root of the tree.
    virtual void WriteAttacks(std::vector<Node>& rootMoves) const = 0;
    // The attacks' names for moves.txt: pairs of the steps joined by commas
    // and the name with underscores for spaces ("p,p,k roundhouse").
    virtual const char* AttackNames() const = 0;

    // Everything: folders, body definition, look, moves, move tree.
    void Write() const;

    Poser Pose0() const { return Poser(rig, body); }  // the rest pose
    // Flag words of a key: the body can be hit, the weapon and hair cannot.
    std::vector<int> Open() const;
    std::vector<int> Untouchable() const { return std::vector<int>(rig.Bones(), 0); }
    // Guarding: arms, trunk and head block; standing, the shins and feet
    // stay open to low blows.
    std::vector<int> Guarding(bool low) const;
    // Saves a move into the fighter's folder.
    void Save(const Move& move) const;
    // Saves the recovery of `attack`: its last pose held a moment, the time
    // in which a follow-up can break in, then back to the stance.
    void SaveRecovery(const std::string& file, const Move& attack, float back) const;
    std::string Dir() const { return "characters/" + name + "/"; }

    std::string name;
    Rig rig;
    BodyMap body;
    float tempo = 1;        // > 1 is slower: the time of every common move is scaled
    float stride = 20;      // how far one walk cycle carries the fighter
    float hipHeight = 50;   // where the legs meet the trunk, at rest
    float jumpSpeed = 250;  // upward speed of a jump

protected:
    float T(float seconds) const { return seconds * tempo; }
    // Writes a part lofted through `rings`, with a shadow wedge when it casts one.
    void Lofted(int part, const std::vector<Ring>& rings, int segments, bool casts = true) const;

private:
    void WriteLook() const;  // meshes, images, materials and the trail list
    void WriteCommonMoves(std::vector<Node>& rootMoves) const;
    void WriteReactions() const;
    // Flat on the back where a blow threw the fighter, then up again.
    void GetUp(Move& move, const Vector3& at) const;
    Poser Lying(const Vector3& at) const;
};

}  // namespace content
