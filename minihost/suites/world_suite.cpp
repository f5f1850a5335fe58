// "PF World Suite" 2: worlds whose struct belongs to the plug-in and whose
// pixels belong to the host until PF_DisposeWorld.
#include "AE_EffectCBSuites.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/pixels/world.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

PF_Err newWorld(PF_ProgPtr effect_ref, A_long widthL, A_long heightL, PF_Boolean /*clear_pixB*/,
                PF_PixelFormat pixel_format, PF_EffectWorld* worldP) {
    return guarded(HostFunction::PF_NewWorld, [&](CallContext& ctx) -> A_Err {
        ctx.checkRef(effect_ref);
        if (worldP == nullptr) {
            ctx.reject("null world", PF_Err_BAD_CALLBACK_PARAM);
        }
        const std::optional<Depth> depth = depthFromFormat(pixel_format);
        if (!depth) {
            ctx.reject("unknown pixel format", PF_Err_BAD_CALLBACK_PARAM);
        }
        if (widthL < 0 || heightL < 0) {
            ctx.reject("negative size " + std::to_string(widthL) + " x " + std::to_string(heightL),
                       PF_Err_BAD_CALLBACK_PARAM);
        }
        // Pixels always start transparent black, asked for or not.
        const PF_Err err = allocateWorld(*worldP, widthL, heightL, *depth);
        if (err == PF_Err_NONE) {
            ctx.worldCreated(*worldP);
        }
        return err;
    });
}

PF_Err disposeWorld(PF_ProgPtr effect_ref, PF_EffectWorld* worldP) {
    return guarded(
        HostFunction::PF_DisposeWorld,
        [&](CallContext& ctx) -> A_Err {
            ctx.checkRef(effect_ref);
            if (worldP == nullptr) {
                ctx.reject("null world", PF_Err_BAD_CALLBACK_PARAM);
            }
            if (!ctx.worldDisposed(*worldP)) {
                ctx.reject("world not made by PF_NewWorld in this call, or disposed of already",
                           PF_Err_BAD_CALLBACK_PARAM);
            }
            freeWorld(*worldP);
            return PF_Err_NONE;
        },
        Kind::kGivesBack);
}

PF_Err getPixelFormat(const PF_EffectWorld* worldP, PF_PixelFormat* pixel_formatP) {
    return guarded(HostFunction::PF_GetPixelFormat, [&](CallContext& ctx) -> A_Err {
        if (worldP == nullptr || pixel_formatP == nullptr) {
            ctx.reject("null world or output pointer", PF_Err_BAD_CALLBACK_PARAM);
        }
        if (!ctx.knownWorld(worldP)) {
            ctx.reject("world not handed out by the host in this call", PF_Err_BAD_CALLBACK_PARAM);
        }
        if (!tryDepthOf(*worldP)) {
            ctx.reject("world's format code was overwritten", PF_Err_BAD_CALLBACK_PARAM);
        }
        *pixel_formatP = static_cast<PF_PixelFormat>(worldP->reserved_long1);
        return PF_Err_NONE;
    });
}

const PF_WorldSuite2 kSuite = {newWorld, disposeWorld, getPixelFormat};

}  // namespace

const void* worldSuite2() { return &kSuite; }

}  // namespace minihost::detail
