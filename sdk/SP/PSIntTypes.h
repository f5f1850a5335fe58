/* Fixed-width integer names of the suite access interface. */
#ifndef QA_SDK_SP_PSINTTYPES_H
#define QA_SDK_SP_PSINTTYPES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t int32;

#ifdef __cplusplus
}
#endif

#endif
