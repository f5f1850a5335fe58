/* Error codes that the suite access interface answers. */
#ifndef QA_SDK_SP_SPERRORCODES_H
#define QA_SDK_SP_SPERRORCODES_H

#ifdef __cplusplus
extern "C" {
#endif

#define kASNoError 0
#define kASUnimplementedError 0x21494d50 /* '!IMP' */
#define kASUserCanceledError 0x73746f70  /* 'stop' */
#define kSPNoError 0
#define kSPUnimplementedError 0x21494d50           /* '!IMP' */
#define kSPUserCanceledError 0x73746f70            /* 'stop' */
#define kSPLogicError 0x66626172                   /* 'fbar' */
#define kSPCantAcquirePluginError 0x21416371       /* '!Acq' */
#define kSPCantReleasePluginError 0x2152656c       /* '!Rel' */
#define kSPPluginAlreadyReleasedError 0x416c526c   /* 'AlRl' */
#define kSPAdapterAlreadyExistsError 0x41644578    /* 'AdEx' */
#define kSPBadAdapterListIteratorError 0x4264414c  /* 'BdAL' */
#define kSPBadParameterError 0x5061726d            /* 'Parm' */
#define kSPCantChangeBlockDebugNowError 0x214e6f77 /* '!Now' */
#define kSPBlockDebugNotEnabledError 0x214e626c    /* '!Nbl' */
#define kSPOutOfMemoryError (-148)
#define kSPBlockSizeOutOfRangeError 0x426b5267      /* 'BkRg' */
#define kSPTroubleAddingFilesError 0x54416464       /* 'TAdd' */
#define kSPBadFileListIteratorError 0x42464974      /* 'BFIt' */
#define kSPTroubleInitializingError 0x54496e69      /* 'TIni' */
#define kHostCanceledStartupPluginsError 0x48215374 /* 'H!St' */
#define kSPNotASweetPeaPluginError 0x4e535050       /* 'NSPP' */
#define kSPAlreadyInSPCallerError 0x41495343        /* 'AISC' */
#define kSPUnknownAdapterError 0x3f416470           /* '?Adp' */
#define kSPBadPluginListIteratorError 0x50694c49    /* 'PiLI' */
#define kSPCantAddHostPluginError 0x4164486f        /* 'AdHo' */
#define kSPCorruptPiPLError 0x4350504c              /* 'CPPL' */
#define kSPBadPropertyListIteratorError 0x42507249  /* 'BPrI' */
#define kSPSuiteNotFoundError 0x53214664            /* 'S!Fd' */
#define kSPSuiteAlreadyExistsError 0x53457869       /* 'SExi' */
#define kSPSuiteAlreadyReleasedError 0x5352656c     /* 'SRel' */
#define kSPBadSuiteListIteratorError 0x534c4974     /* 'SLIt' */
#define kSPBadSuiteInternalVersionError 0x53495673  /* 'SIVs' */

#ifdef __cplusplus
}
#endif

#endif
