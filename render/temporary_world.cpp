#include "render/temporary_world.h"

TemporaryWorld::~TemporaryWorld() { (void)dispose(); }

PF_Err TemporaryWorld::create(A_long width, A_long height, PF_PixelFormat format) {
    const PF_Err err = suite_.PF_NewWorld(effect_ref_, width, height, true, format, &world_);
    held_ = err == PF_Err_NONE;
    return err;
}

PF_Err TemporaryWorld::dispose() {
    if (!held_) {
        return PF_Err_NONE;
    }
    held_ = false;
    return suite_.PF_DisposeWorld(effect_ref_, &world_);
}
