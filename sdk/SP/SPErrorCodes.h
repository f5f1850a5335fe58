/* Error codes that the suite access interface answers. */
#ifndef QA_SDK_SP_SPERRORCODES_H
#define QA_SDK_SP_SPERRORCODES_H

#ifdef __cplusplus
extern "C" {
#endif

#define kASNoError 0
#define kASUnimplementedError 0x21494d50
#define kASUserCanceledError 0x73746f70
#define kSPNoError 0
#define kSPUnimplementedError 0x21494d50
#define kSPUserCanceledError 0x73746f70
#define kSPLogicError 0x66626172
#define kSPCantAcquirePluginError 0x21416371
#define kSPCantReleasePluginError 0x2152656c
#define kSPPluginAlreadyReleasedError 0x416c526c
#define kSPAdapterAlreadyExistsError 0x41644578
#define kSPBadAdapterListIteratorError 0x4264414c
#define kSPBadParameterError 0x5061726d
#define kSPCantChangeBlockDebugNowError 0x214e6f77
#define kSPBlockDebugNotEnabledError 0x214e626c
#define kSPOutOfMemoryError -148
#define kSPBlockSizeOutOfRangeError 0x426b5267
#define kSPTroubleAddingFilesError 0x54416464
#define kSPBadFileListIteratorError 0x42464974
#define kSPTroubleInitializingError 0x54496e69
#define kHostCanceledStartupPluginsError 0x48215374
#define kSPNotASweetPeaPluginError 0x4e535050
#define kSPAlreadyInSPCallerError 0x41495343
#define kSPUnknownAdapterError 0x3f416470
#define kSPBadPluginListIteratorError 0x50694c49
#define kSPCantAddHostPluginError 0x4164486f
#define kSPCorruptPiPLError 0x4350504c
#define kSPBadPropertyListIteratorError 0x42507249
#define kSPSuiteNotFoundError 0x53214664
#define kSPSuiteAlreadyExistsError 0x53457869
#define kSPSuiteAlreadyReleasedError 0x5352656c
#define kSPBadSuiteListIteratorError 0x534c4974
#define kSPBadSuiteInternalVersionError 0x53495673

#ifdef __cplusplus
}
#endif

#endif
