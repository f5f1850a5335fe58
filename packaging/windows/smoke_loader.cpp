// Loads the .aex the way the host does and checks what it answers: the
// property list resource, PluginDataEntryFunction, and EffectMain through
// global set-up, parameter set-up, the about box and an unknown command.
// Built for Windows and run under Wine by the native tests; prints one
// "smoke: N passed, N failed" line and exits non-zero on any failure.
//
//   quillarray_smoke_loader <path of Quillarray.aex>
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_PluginData.h"
#include "SP/SPErrorCodes.h"
#include "expected_pipl.h"
#include "host/four_char_code.h"
#include "host/identity.h"
#include "packaging/pipl/pipl.h"

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

std::string hex(long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(value));
    return text;
}

// ---- the property list resource ----

void checkPropertyList(HMODULE module) {
    HRSRC info = FindResourceExA(module, pipl::kWindowsResourceType, MAKEINTRESOURCEA(pipl::kResourceId),
                                 pipl::kWindowsLanguage);
    check(info != nullptr, "FindResourceEx finds PIPL 16000 in language 1033");
    if (info == nullptr) {
        return;
    }
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    check(size == sizeof kExpectedWindowsPiPL,
          "property list is " + std::to_string(sizeof kExpectedWindowsPiPL) + " bytes, got " + std::to_string(size));
    check(
        bytes != nullptr && size == sizeof kExpectedWindowsPiPL && std::memcmp(bytes, kExpectedWindowsPiPL, size) == 0,
        "property list bytes equal the generated list");
}

// ---- PluginDataEntryFunction ----

struct PluginData {
    int calls = 0;
    PF_PluginDataPtr ptr = nullptr;
    std::string name, matchName, category, entryPoint;
    A_long kind = 0, apiMajor = 0, apiMinor = 0, reserved = 0;
    PF_Err answer = PF_Err_NONE;
};

std::string text(const A_u_char* s) { return s != nullptr ? reinterpret_cast<const char*>(s) : "(null)"; }

PF_Err recordPluginData(PF_PluginDataPtr inPtr, const A_u_char* inNodeName, const A_u_char* inMatchName,
                        const A_u_char* inCategoryName, const A_u_char* inEntryPointName, A_long inkind,
                        A_long inApiVersionMajor, A_long inApiVersionMinor, A_long inReservedInfo) {
    auto* data = reinterpret_cast<PluginData*>(inPtr);
    ++data->calls;
    data->ptr = inPtr;
    data->name = text(inNodeName);
    data->matchName = text(inMatchName);
    data->category = text(inCategoryName);
    data->entryPoint = text(inEntryPointName);
    data->kind = inkind;
    data->apiMajor = inApiVersionMajor;
    data->apiMinor = inApiVersionMinor;
    data->reserved = inReservedInfo;
    return data->answer;
}

void checkPluginData(PluginDataEntryFunctionPtr entry) {
    for (const PF_Err answer : {PF_Err{PF_Err_NONE}, PF_Err{PF_Err_OUT_OF_MEMORY}}) {
        PluginData data;
        data.answer = answer;
        const PF_Err result =
            entry(reinterpret_cast<PF_PluginDataPtr>(&data), recordPluginData, nullptr, "Wine", "1.0");
        const std::string when = " (callback answers " + std::to_string(answer) + ")";
        check(result == answer, "PluginDataEntryFunction returns the callback's answer" + when);
        check(data.calls == 1, "the callback is called once" + when);
        check(data.ptr == reinterpret_cast<PF_PluginDataPtr>(&data), "the host's pointer is passed through" + when);
        check(data.name == identity::kName, "name is " + std::string(identity::kName) + ", got " + data.name);
        check(data.matchName == identity::kMatchName, "match name, got " + data.matchName);
        check(data.category == identity::kCategory, "category, got " + data.category);
        check(data.entryPoint == identity::kEntryPoint, "entry point, got " + data.entryPoint);
        check(data.kind == static_cast<A_long>(identity::kKind), "kind, got " + hex(data.kind));
        check(data.apiMajor == identity::kApiMajor && data.apiMinor == identity::kApiMinor,
              "API version, got " + std::to_string(data.apiMajor) + "." + std::to_string(data.apiMinor));
        check(data.reserved == identity::kPluginDataReservedInfo,
              "reserved info, got " + std::to_string(data.reserved));
    }
}

// ---- a minimal host for EffectMain ----

struct Host {
    PF_ProgPtr effectRef = reinterpret_cast<PF_ProgPtr>(static_cast<std::uintptr_t>(0x5eed));
    std::vector<PF_ParamDef> params;
    bool badAddParamCall = false;
    int acquired = 0;
    int released = 0;
};

Host host;

PF_Err addParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    if (effect_ref != host.effectRef || index != -1 || def == nullptr) {
        host.badAddParamCall = true;
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    host.params.push_back(*def);
    return PF_Err_NONE;
}

A_char* ansiStrcpy(A_char* dst, const A_char* src) { return std::strcpy(dst, src); }

// Only the about box formats here, into return_msg.
int ansiSprintf(A_char* buffer, const A_char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, PF_MAX_EFFECT_MSG_LEN + 1, format, args);
    va_end(args);
    return n;
}

PF_ANSICallbacksSuite1 ansiSuite = [] {
    PF_ANSICallbacksSuite1 s{};
    s.sprintf = ansiSprintf;
    s.strcpy = ansiStrcpy;
    return s;
}();

SPErr acquireSuite(const char* name, A_long version, const void** suite) {
    if (std::strcmp(name, kPFANSISuite) == 0 && version == kPFANSISuiteVersion1) {
        ++host.acquired;
        *suite = &ansiSuite;
        return kSPNoError;
    }
    *suite = nullptr;
    return 1;  // not available
}

SPErr releaseSuite(const char* name, A_long version) {
    if (std::strcmp(name, kPFANSISuite) == 0 && version == kPFANSISuiteVersion1) {
        ++host.released;
    }
    return kSPNoError;
}

struct Records {
    PF_UtilCallbacks utils{};
    SPBasicSuite basic{};
    PF_InData in{};
    PF_OutData out{};

    Records() {
        utils.ansi.sprintf = ansiSprintf;
        utils.ansi.strcpy = ansiStrcpy;
        basic.AcquireSuite = acquireSuite;
        basic.ReleaseSuite = releaseSuite;
        in.inter.add_param = addParam;
        in.utils = &utils;
        in.effect_ref = host.effectRef;
        in.pica_basicP = &basic;
        in.appl_id = static_cast<A_long>(fourCharCode('F', 'X', 'T', 'C'));
        in.version.major = static_cast<A_short>(identity::kApiMajor);
        in.version.minor = static_cast<A_short>(identity::kApiMinor);
        // Whatever a host may leave in the output record before a command.
        std::memset(&out, 0xa5, sizeof out);
    }
};

PF_Err run(PF_FilterProc main, PF_Cmd cmd, Records& r) {
    PF_ParamDef* noParams[1] = {nullptr};
    PF_LayerDef output{};
    return main(cmd, &r.in, &r.out, noParams, &output, nullptr);
}

void checkGlobalSetup(PF_FilterProc main) {
    Records r;
    const PF_Err err = run(main, PF_Cmd_GLOBAL_SETUP, r);
    check(err == PF_Err_NONE, "GLOBAL_SETUP returns 0, got " + std::to_string(err));
    check(r.out.my_version == identity::kPackedVersion, "my_version, got " + hex(static_cast<long>(r.out.my_version)));
    check(r.out.out_flags == identity::kOutFlags, "out_flags replaced, got " + hex(r.out.out_flags));
    check(r.out.out_flags2 == identity::kOutFlags2, "out_flags2 replaced, got " + hex(r.out.out_flags2));
}

// The controls after the input layer.
constexpr std::size_t kExpectedParams = 36;

void checkParamsSetup(PF_FilterProc main) {
    Records r;
    host.params.clear();
    const PF_Err err = run(main, PF_Cmd_PARAMS_SETUP, r);
    check(err == PF_Err_NONE, "PARAMS_SETUP returns 0, got " + std::to_string(err));
    check(!host.badAddParamCall, "add_param gets the effect reference, index -1 and a definition");
    check(host.params.size() == kExpectedParams, "PARAMS_SETUP adds " + std::to_string(kExpectedParams) +
                                                     " parameters, added " + std::to_string(host.params.size()));
    check(r.out.num_params == static_cast<A_long>(kExpectedParams + 1),
          "num_params counts the input layer too, got " + std::to_string(r.out.num_params));
}

void checkAbout(PF_FilterProc main) {
    Records r;
    host.acquired = host.released = 0;
    std::memset(r.out.return_msg, 0, sizeof r.out.return_msg);
    const PF_Err err = run(main, PF_Cmd_ABOUT, r);
    check(err == PF_Err_NONE, "ABOUT returns 0, got " + std::to_string(err));
    const std::string message(r.out.return_msg);
    check(message == "Quillarray v1.2.4\nEvenly spaces text per character.\n", "about text, got \"" + message + "\"");
    check(host.acquired == 1 && host.released == 1, "ABOUT acquires the ANSI suite once and releases it");
}

void checkUnknownCommand(PF_FilterProc main) {
    for (const PF_Cmd cmd : {PF_Cmd{PF_Cmd_RENDER}, PF_Cmd{PF_Cmd_NUM_CMDS}, PF_Cmd{1000}}) {
        Records r;
        PF_OutData before;
        std::memcpy(&before, &r.out, sizeof before);
        const PF_Err err = run(main, cmd, r);
        check(err == PF_Err_NONE, "command " + std::to_string(cmd) + " returns 0, got " + std::to_string(err));
        check(std::memcmp(&before, &r.out, sizeof before) == 0,
              "command " + std::to_string(cmd) + " leaves out_data untouched");
    }
}

template <typename F>
F entryPoint(HMODULE module, const char* name) {
    FARPROC proc = GetProcAddress(module, name);
    check(proc != nullptr, std::string("the .aex exports ") + name);
    return reinterpret_cast<F>(reinterpret_cast<void*>(proc));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <Quillarray.aex>\n", argv[0]);
        return 2;
    }

    HMODULE module = LoadLibraryA(argv[1]);
    check(module != nullptr, std::string("LoadLibrary ") + argv[1] + " (error " + std::to_string(GetLastError()) + ")");
    if (module != nullptr) {
        checkPropertyList(module);
        if (auto pluginData = entryPoint<PluginDataEntryFunctionPtr>(module, "PluginDataEntryFunction")) {
            checkPluginData(pluginData);
        }
        if (auto main = entryPoint<PF_FilterProc>(module, identity::kEntryPoint)) {
            checkGlobalSetup(main);
            checkParamsSetup(main);
            checkAbout(main);
            checkUnknownCommand(main);
        }
        check(FreeLibrary(module) != 0, "FreeLibrary");
    }
    std::printf("smoke: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
