/* Build configuration of the host interface headers. Nothing to configure:
 * the headers pick the platform from the compiler (_WIN32 or not). */
#ifndef QA_SDK_AECONFIG_H
#define QA_SDK_AECONFIG_H

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
