/* The host's suite access interface. A plug-in asks for a suite by its
 * registration string and version and gives it back when it is done. */
#ifndef QA_SDK_SP_SPBASIC_H
#define QA_SDK_SP_SPBASIC_H

#include <stddef.h>
#include "PSIntTypes.h"
#include "SPTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

typedef struct SPBasicSuite {
    /* On success answers 0 and stores the suite's function table in *suite;
     * the table stays valid until the matching ReleaseSuite. Any non-zero
     * answer means the suite is not available, whatever *suite holds. Every
     * successful acquisition must be released exactly once. */
    /* [any command] Fails: kSPSuiteNotFoundError (name and version not offered, null argument). */
    SPErr (*AcquireSuite)(const char* name, int32 version, const void** suite);
    /* Gives back one acquisition of name/version. */
    /* [any command] Fails: kSPSuiteNotFoundError (not held: released more often than acquired). */
    SPErr (*ReleaseSuite)(const char* name, int32 version);
    SPBoolean (*IsEqual)(const char* token1, const char* token2);
    SPErr (*AllocateBlock)(size_t size, void** block);
    SPErr (*FreeBlock)(void* block);
    SPErr (*ReallocateBlock)(void* block, size_t newSize, void** newblock);
    SPErr (*Undefined)(void);
} SPBasicSuite;

#ifdef __cplusplus
}
#endif

#endif
