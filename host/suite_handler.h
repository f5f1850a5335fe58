// Per-call cache of host suites.
//
// A handler lives for one operation inside one command: it acquires each
// suite on first use, by registration string and version, and releases every
// suite it acquired when it is destroyed, also while an exception passes.
// A missing suite ends the command: the int PF_Err_BAD_CALLBACK_PARAM is
// thrown, which EffectMain hands to the host.
#pragma once

#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "AE_GeneralPlug.h"
#include "SP/SPBasic.h"
#include "SP/SPErrorCodes.h"

class AEGP_SuiteHandler {
public:
    // Throws PF_Err_BAD_CALLBACK_PARAM when pica_basicP is null.
    explicit AEGP_SuiteHandler(const SPBasicSuite* pica_basicP);
    ~AEGP_SuiteHandler();

    AEGP_SuiteHandler(const AEGP_SuiteHandler&) = delete;
    AEGP_SuiteHandler& operator=(const AEGP_SuiteHandler&) = delete;

    // One accessor per slot; each acquires its suite on first use. An
    // accessor is named after the version number the host registers the
    // suite under, its return type after the SDK's name for that version's
    // table: the host's version 11 of "AEGP Layer Suite" is the table
    // AEGP_LayerSuite5 (kAEGPLayerSuiteVersion5 == 11), and so on.
    const PF_ANSICallbacksSuite1* ANSICallbacksSuite1() const;
    const PF_WorldSuite2* WorldSuite2() const;
    const AEGP_PFInterfaceSuite1* PFInterfaceSuite1() const;
    const AEGP_LayerSuite5* LayerSuite11() const;
    const AEGP_LayerSuite7* LayerSuite13() const;
    const AEGP_LayerSuite8* LayerSuite14() const;
    const AEGP_StreamSuite2* StreamSuite7() const;
    const AEGP_StreamSuite4* StreamSuite9() const;
    const AEGP_MathSuite1* MathSuite1() const;
    const AEGP_TextLayerSuite1* TextLayerSuite1() const;
    const PF_PathDataSuite1* PathDataSuite1() const;
    const PF_ParamUtilsSuite3* ParamUtilsSuite3() const;
    const AEGP_DynamicStreamSuite2* DynamicStreamSuite2() const;
    const AEGP_EffectSuite2* EffectSuite2() const;

    // Acquires name/version; throws PF_Err_BAD_CALLBACK_PARAM when the host
    // answers an error or a null table.
    const void* LoadSuite(const char* name, A_long version) const;
    // Gives back one acquisition; answers the host's result.
    SPErr ReleaseSuite(const char* name, A_long version);
    // Releases every filled slot; results are ignored, slots stay as they are.
    void ReleaseAllSuites();
    [[noreturn]] void MissingSuiteError() const;

private:
    struct Slot {
        const char* name;
        A_long version;
        mutable const void* suite;
    };
    enum SlotIndex {
        kANSI1,
        kWorld2,
        kPFInterface1,
        kLayer11,
        kLayer13,
        kLayer14,
        kStream7,
        kStream9,
        kMath1,
        kTextLayer1,
        kPathData1,
        kParamUtils3,
        kDynamicStream2,
        kEffect2,
        kSlotCount
    };
    const void* slot(SlotIndex index) const;

    const SPBasicSuite* pica_basicP_;
    Slot slots_[kSlotCount];
};
