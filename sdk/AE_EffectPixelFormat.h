/* Pixel-format codes of worlds. Each code packs four characters with the
 * first character in the lowest byte: PF_PixelFormat_ARGB32 reads "argb" in
 * memory on a little-endian machine. */
#ifndef QA_SDK_AE_EFFECTPIXELFORMAT_H
#define QA_SDK_AE_EFFECTPIXELFORMAT_H

#include "A.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long PF_PixelFormat;

enum {
    PF_PixelFormat_ARGB32 = 0x62677261,
    PF_PixelFormat_ARGB64 = 0x36316561,
    PF_PixelFormat_ARGB128 = 0x32336561,
    PF_PixelFormat_GPU_BGRA128 = 0x41444340,
    PF_PixelFormat_RESERVED = 0x61444340,
    PF_PixelFormat_BGRA32 = 0x61726762,
    PF_PixelFormat_VUYA32 = 0x61797576,
    PF_PixelFormat_NTSCDV25 = 0x326e7664,
    PF_PixelFormat_PALDV25 = 0x32707664,
    PF_PixelFormat_INVALID = 0x66646162
};

#ifdef __cplusplus
}
#endif

#endif
