/* Basic scalar types, times, matrices and the A_Err codes shared by every
 * host interface header. Widths are fixed: A_long is 32 bits everywhere. */
#ifndef QA_SDK_A_H
#define QA_SDK_A_H

#include <stdint.h>
#include "AEConfig.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t A_long;

typedef uint32_t A_u_long;

/* A time is value / scale seconds. */
typedef struct {
    A_long value;
    A_u_long scale;
} A_Time;

typedef struct {
    A_long num;
    A_u_long den;
} A_Ratio;

typedef double A_FpLong;

typedef struct {
    A_FpLong x;
    A_FpLong y;
} A_FloatPoint;

typedef struct {
    A_FpLong x;
    A_FpLong y;
    A_FpLong z;
} A_FloatPoint3;

typedef struct {
    A_FpLong left;
    A_FpLong top;
    A_FpLong right;
    A_FpLong bottom;
} A_FloatRect;

typedef struct {
    A_FpLong mat[3][3];
} A_Matrix3;

/* 4x4 transform with row vectors: a point (x, y, z, 1) times the matrix;
 * the translation sits in row 3. */
typedef struct {
    A_FpLong mat[4][4];
} A_Matrix4;

typedef struct _Up_OpaqueMem** AEGP_MemHandle;

typedef unsigned char A_Boolean;

typedef A_long A_Err;

enum {
    A_Err_NONE = 0,
    A_Err_GENERIC = 1,
    A_Err_STRUCT = 2,
    A_Err_PARAMETER = 3,
    A_Err_ALLOC = 4,
    A_Err_WRONG_THREAD = 5,
    A_Err_CONST_PROJECT_MODIFICATION = 6,
    A_Err_RESERVED_7 = 7,
    A_Err_RESERVED_8 = 8,
    A_Err_RESERVED_9 = 9,
    A_Err_RESERVED_10 = 10,
    A_Err_RESERVED_11 = 11,
    A_Err_RESERVED_12 = 12,
    /* a suite could not be acquired */
    A_Err_MISSING_SUITE = 13,
    A_Err_RESERVED_14 = 14,
    A_Err_RESERVED_15 = 15,
    A_Err_RESERVED_16 = 16,
    A_Err_RESERVED_17 = 17,
    A_Err_RESERVED_18 = 18,
    A_Err_RESERVED_19 = 19,
    A_Err_RESERVED_20 = 20,
    A_Err_RESERVED_21 = 21,
    A_Err_NOT_IN_CACHE_OR_COMPUTE_PENDING = 22,
    A_Err_PROJECT_LOAD_FATAL = 23,
    A_Err_EFFECT_APPLY_FATAL = 24,
    A_Err_LAST = 25
};

typedef float A_FpShort;

typedef uint16_t A_u_short;

typedef A_u_short A_UTF16Char;

typedef char A_char;

typedef int16_t A_short;

typedef unsigned char A_u_char;

typedef uint64_t A_u_longlong;

#ifdef __cplusplus
}
#endif

#endif
