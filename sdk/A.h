/* Basic scalar types, times, matrices and the A_Err codes shared by every
 * host interface header. Plain C; nothing here belongs to the effect.
 *
 * Widths are fixed: A_long is 32 bits on every platform the host runs on. */
#ifndef QA_SDK_A_H
#define QA_SDK_A_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef char A_char;
typedef unsigned char A_u_char;
typedef uint8_t A_Boolean;
typedef int64_t A_longlong;
typedef uint64_t A_u_longlong;
typedef double A_FpLong;
typedef float A_FpShort;
typedef uint16_t A_UTF16Char;

/* A_Err: 0 is success; every suite function answers one of these. */
typedef A_long A_Err;
enum {
    A_Err_NONE = 0,
    A_Err_GENERIC = 1,
    A_Err_STRUCT = 2,
    A_Err_PARAMETER = 3,
    A_Err_ALLOC = 4,
    A_Err_WRONG_THREAD = 5,
    A_Err_CONST_PROJECT_MODIFICATION = 6,
    A_Err_MISSING_SUITE = 13 /* a suite could not be acquired */
};

/* A time is value / scale seconds. */
typedef struct {
    A_long value;
    A_u_long scale;
} A_Time;

typedef struct {
    A_long num;
    A_u_long den;
} A_Ratio;

typedef struct {
    A_FpLong x, y;
} A_FloatPoint;

typedef struct {
    A_FpLong x, y, z;
} A_FloatPoint3;

typedef struct {
    A_FpLong left, top, right, bottom;
} A_FloatRect;

/* 4x4 transform with row vectors: a point (x, y, z, 1) times the matrix;
 * the translation sits in row 3. */
typedef struct {
    A_FpLong mat[4][4];
} A_Matrix4;

#ifdef __cplusplus
}
#endif

#endif
