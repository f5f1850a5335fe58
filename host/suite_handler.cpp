#include "host/suite_handler.h"

AEGP_SuiteHandler::AEGP_SuiteHandler(const SPBasicSuite* pica_basicP)
    : pica_basicP_(pica_basicP),
      slots_{
          {kPFANSISuite, kPFANSISuiteVersion1, nullptr},
          {kPFWorldSuite, kPFWorldSuiteVersion2, nullptr},
          {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, nullptr},
          {kAEGPLayerSuite, kAEGPLayerSuiteVersion5, nullptr},
          {kAEGPLayerSuite, kAEGPLayerSuiteVersion7, nullptr},
          {kAEGPLayerSuite, kAEGPLayerSuiteVersion8, nullptr},
          {kAEGPStreamSuite, kAEGPStreamSuiteVersion2, nullptr},
          {kAEGPStreamSuite, kAEGPStreamSuiteVersion4, nullptr},
          {kAEGPMathSuite, kAEGPMathSuiteVersion1, nullptr},
          {kAEGPTextLayerSuite, kAEGPTextLayerSuiteVersion1, nullptr},
          {kPFPathDataSuite, kPFPathDataSuiteVersion1, nullptr},
          {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, nullptr},
          {kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2, nullptr},
          {kAEGPEffectSuite, kAEGPEffectSuiteVersion2, nullptr},
      } {
    if (pica_basicP_ == nullptr) {
        MissingSuiteError();
    }
}

AEGP_SuiteHandler::~AEGP_SuiteHandler() { ReleaseAllSuites(); }

const void* AEGP_SuiteHandler::slot(SlotIndex index) const {
    Slot& s = const_cast<Slot&>(slots_[index]);
    if (s.suite == nullptr) {
        s.suite = LoadSuite(s.name, s.version);
    }
    return s.suite;
}

const void* AEGP_SuiteHandler::LoadSuite(const char* name, A_long version) const {
    const void* suite = nullptr;
    const SPErr err = pica_basicP_->AcquireSuite(name, version, &suite);
    // An error counts as missing even when the host wrote a pointer.
    if (err != kSPNoError || suite == nullptr) {
        MissingSuiteError();
    }
    return suite;
}

SPErr AEGP_SuiteHandler::ReleaseSuite(const char* name, A_long version) {
    return pica_basicP_->ReleaseSuite(name, version);
}

void AEGP_SuiteHandler::ReleaseAllSuites() {
    for (const Slot& s : slots_) {
        if (s.suite != nullptr) {
            (void)ReleaseSuite(s.name, s.version);
        }
    }
}

void AEGP_SuiteHandler::MissingSuiteError() const { throw static_cast<int>(PF_Err_BAD_CALLBACK_PARAM); }

#define QA_SUITE_ACCESSOR(Type, Accessor, Slot) \
    const Type* AEGP_SuiteHandler::Accessor() const { return static_cast<const Type*>(slot(Slot)); }

QA_SUITE_ACCESSOR(PF_ANSICallbacksSuite1, ANSICallbacksSuite1, kANSI1)
QA_SUITE_ACCESSOR(PF_WorldSuite2, WorldSuite2, kWorld2)
QA_SUITE_ACCESSOR(AEGP_PFInterfaceSuite1, PFInterfaceSuite1, kPFInterface1)
QA_SUITE_ACCESSOR(AEGP_LayerSuite5, LayerSuite11, kLayer11)
QA_SUITE_ACCESSOR(AEGP_LayerSuite7, LayerSuite13, kLayer13)
QA_SUITE_ACCESSOR(AEGP_LayerSuite8, LayerSuite14, kLayer14)
QA_SUITE_ACCESSOR(AEGP_StreamSuite2, StreamSuite7, kStream7)
QA_SUITE_ACCESSOR(AEGP_StreamSuite4, StreamSuite9, kStream9)
QA_SUITE_ACCESSOR(AEGP_MathSuite1, MathSuite1, kMath1)
QA_SUITE_ACCESSOR(AEGP_TextLayerSuite1, TextLayerSuite1, kTextLayer1)
QA_SUITE_ACCESSOR(PF_PathDataSuite1, PathDataSuite1, kPathData1)
QA_SUITE_ACCESSOR(PF_ParamUtilsSuite3, ParamUtilsSuite3, kParamUtils3)
QA_SUITE_ACCESSOR(AEGP_DynamicStreamSuite2, DynamicStreamSuite2, kDynamicStream2)
QA_SUITE_ACCESSOR(AEGP_EffectSuite2, EffectSuite2, kEffect2)

#undef QA_SUITE_ACCESSOR
