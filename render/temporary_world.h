// A world the effect creates for one step of one character and frees before
// the next: the guard disposes of it on every path.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"

class TemporaryWorld {
public:
    TemporaryWorld(const PF_WorldSuite2& suite, PF_ProgPtr effect_ref) : suite_(suite), effect_ref_(effect_ref) {}
    // Disposes of a world still held; the result is lost, so the normal path
    // calls dispose() itself.
    ~TemporaryWorld();

    TemporaryWorld(const TemporaryWorld&) = delete;
    TemporaryWorld& operator=(const TemporaryWorld&) = delete;

    // Asks the host for a cleared width x height world in format; answers the
    // host's result. On failure nothing is held.
    PF_Err create(A_long width, A_long height, PF_PixelFormat format);
    // Frees the world if one is held and answers the host's result (0 when
    // nothing was held).
    PF_Err dispose();

    PF_EffectWorld& world() { return world_; }

private:
    const PF_WorldSuite2& suite_;
    PF_ProgPtr effect_ref_;
    PF_EffectWorld world_{};
    bool held_ = false;
};
