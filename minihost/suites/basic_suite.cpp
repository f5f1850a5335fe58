// SPBasicSuite: suites by registration string and version, and the registry
// of every suite the host offers.
#include <cstdlib>
#include <cstring>
#include <string>

#include "AE_EffectCBSuites.h"
#include "SP/SPErrorCodes.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/core/host.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

/// What AcquireSuite answers for a suite the host does not have.
constexpr SPErr kSuiteNotFound = kSPSuiteNotFoundError;

struct Registered {
    const char* name;
    A_long version;
    const void* (*table)();
};

constexpr Registered kSuites[] = {
    {kPFANSISuite, kPFANSISuiteVersion1, &ansiSuite1},
    {kPFWorldSuite, kPFWorldSuiteVersion2, &worldSuite2},
    {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &paramUtilsSuite3},
    {kPFPathDataSuite, kPFPathDataSuiteVersion1, &pathDataSuite1},
    {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &pfInterfaceSuite1},
    {kAEGPLayerSuite, kAEGPLayerSuiteVersion5, &layerSuite11},
    {kAEGPLayerSuite, kAEGPLayerSuiteVersion7, &layerSuite13},
    {kAEGPLayerSuite, kAEGPLayerSuiteVersion8, &layerSuite14},
    {kAEGPStreamSuite, kAEGPStreamSuiteVersion2, &streamSuite7},
    {kAEGPStreamSuite, kAEGPStreamSuiteVersion4, &streamSuite9},
    {kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2, &dynamicStreamSuite2},
    {kAEGPEffectSuite, kAEGPEffectSuiteVersion2, &effectSuite2},
    {kAEGPMathSuite, kAEGPMathSuiteVersion1, &mathSuite1},
    {kAEGPTextLayerSuite, kAEGPTextLayerSuiteVersion1, &textLayerSuite1},
};

const Registered* findRegistered(const char* name, A_long version) {
    for (const Registered& r : kSuites) {
        if (r.version == version && std::strcmp(r.name, name) == 0) {
            return &r;
        }
    }
    return nullptr;
}

SPErr acquireSuite(const char* name, A_long version, const void** suite) {
    return guarded(HostFunction::AcquireSuite, [&](CallContext& ctx) -> A_Err {
        if (name == nullptr || suite == nullptr) {
            ctx.reject("null name or output pointer", kSuiteNotFound);
        }
        const Registered* registered = findRegistered(name, version);
        const void* table = registered == nullptr ? nullptr : registered->table();
        bool leave_pointer = false;
        if (table == nullptr || ctx.host().faults().suiteMissing(name, version, &leave_pointer)) {
            *suite = leave_pointer ? table : nullptr;
            return kSuiteNotFound;
        }
        *suite = table;
        ctx.suiteAcquired(SuiteName{registered->name, version});
        return kSPNoError;
    });
}

SPErr releaseSuite(const char* name, A_long version) {
    return guarded(
        HostFunction::ReleaseSuite,
        [&](CallContext& ctx) -> A_Err {
            if (name == nullptr) {
                ctx.reject("null name", kSuiteNotFound);
            }
            // Counted by the host's own string: the plug-in's may not outlive
            // the call.
            const Registered* registered = findRegistered(name, version);
            const char* own = registered != nullptr ? registered->name : internedSuiteName(name);
            if (!ctx.suiteReleased(SuiteName{own, version})) {
                ctx.reject(suiteKey(name, version) + " released more often than acquired", kSuiteNotFound);
            }
            return kSPNoError;
        },
        Kind::kGivesBack);
}

SPBoolean isEqual(const char* a, const char* b) { return a != nullptr && b != nullptr && std::strcmp(a, b) == 0; }

SPErr allocateBlock(size_t size, void** block) {
    if (block == nullptr) {
        return A_Err_PARAMETER;
    }
    *block = std::malloc(size == 0 ? 1 : size);
    return *block == nullptr ? static_cast<SPErr>(A_Err_ALLOC) : static_cast<SPErr>(kSPNoError);
}

SPErr freeBlock(void* block) {
    std::free(block);
    return kSPNoError;
}

SPErr reallocateBlock(void* block, size_t new_size, void** new_block) {
    if (new_block == nullptr) {
        return A_Err_PARAMETER;
    }
    void* p = std::realloc(block, new_size == 0 ? 1 : new_size);
    if (p == nullptr) {
        return A_Err_ALLOC;
    }
    *new_block = p;
    return kSPNoError;
}

SPErr undefined() { return A_Err_GENERIC; }

}  // namespace

const void* findSuite(const char* name, A_long version) {
    const Registered* r = findRegistered(name, version);
    return r == nullptr ? nullptr : r->table();
}

SPBasicSuite basicSuite() {
    return SPBasicSuite{&acquireSuite, &releaseSuite,    &isEqual,  &allocateBlock,
                        &freeBlock,    &reallocateBlock, &undefined};
}

}  // namespace minihost::detail
