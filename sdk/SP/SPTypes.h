/* Scalar types of the suite access interface. SPBoolean is one byte on
 * macOS (and on every non-Windows build here) and four bytes on Windows. */
#ifndef QA_SDK_SP_SPTYPES_H
#define QA_SDK_SP_SPTYPES_H

#include "PSIntTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef _WIN32
typedef int32_t SPBoolean;
#else
typedef unsigned char SPBoolean;
#endif

typedef int32 SPErr;

#ifdef __cplusplus
}
#endif

#endif
