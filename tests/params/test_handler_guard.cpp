// Handlers called directly with host records that lack what they need: they
// must refuse before touching anything, not crash.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "AE_EffectCB.h"
#include "host/handlers.h"
#include "params/param_index.h"

namespace {

int g_add_param_calls = 0;

PF_Err countingAddParam(PF_ProgPtr, PF_ParamIndex, PF_ParamDefPtr) {
    ++g_add_param_calls;
    return PF_Err_NONE;
}

struct Records {
    PF_InData in_data{};
    PF_OutData out_data{};
    PF_UtilCallbacks utils{};
    Records() {
        in_data.utils = &utils;
        in_data.inter.add_param = countingAddParam;
        utils.ansi.strcpy = [](A_char* dst, const A_char* src) { return std::strcpy(dst, src); };
        out_data.num_params = -7;
        g_add_param_calls = 0;
    }
};

TEST(ParamsSetupGuards, DeclaresEverythingWithBothCallbacks) {
    Records r;
    EXPECT_EQ(ParamsSetup(&r.in_data, &r.out_data, nullptr, nullptr), PF_Err_NONE);
    EXPECT_EQ(g_add_param_calls, 36);
    EXPECT_EQ(r.out_data.num_params, 37);
}

TEST(ParamsSetupGuards, RefusesWithoutAddParam) {
    Records r;
    r.in_data.inter.add_param = nullptr;
    EXPECT_EQ(ParamsSetup(&r.in_data, &r.out_data, nullptr, nullptr), PF_Err_INVALID_CALLBACK);
    EXPECT_EQ(r.out_data.num_params, -7);
}

TEST(ParamsSetupGuards, RefusesWithoutStrcpy) {
    Records r;
    r.utils.ansi.strcpy = nullptr;
    EXPECT_EQ(ParamsSetup(&r.in_data, &r.out_data, nullptr, nullptr), PF_Err_INVALID_CALLBACK);
    r.in_data.utils = nullptr;
    EXPECT_EQ(ParamsSetup(&r.in_data, &r.out_data, nullptr, nullptr), PF_Err_INVALID_CALLBACK);
    EXPECT_EQ(g_add_param_calls, 0);
    EXPECT_EQ(r.out_data.num_params, -7);
}

// pica_basicP stays null: reaching the suite cache would throw the int 516,
// so 512 proves the handler stopped before asking the host for anything.
TEST(UpdateParamsUIGuards, RefusesAMissingDefinitionBeforeAnyHostCall) {
    Records r;
    std::array<PF_ParamDef, PARAM_NUM_PARAMS> defs{};
    std::array<PF_ParamDef*, PARAM_NUM_PARAMS> params{};
    for (std::size_t i = 0; i < params.size(); ++i) {
        params[i] = &defs[i];
    }
    params[PARAM_BOTTOM] = nullptr;
    EXPECT_EQ(UpdateParamsUI(&r.in_data, &r.out_data, params.data(), nullptr), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(UpdateParamsUI(&r.in_data, &r.out_data, nullptr, nullptr), PF_Err_INTERNAL_STRUCT_DAMAGED);
}

TEST(UpdateParamsUIGuards, AcceptsAFullArrayAsFarAsTheSuiteCache) {
    Records r;
    std::array<PF_ParamDef, PARAM_NUM_PARAMS> defs{};
    std::array<PF_ParamDef*, PARAM_NUM_PARAMS> params{};
    for (std::size_t i = 0; i < params.size(); ++i) {
        params[i] = &defs[i];
    }
    try {
        (void)UpdateParamsUI(&r.in_data, &r.out_data, params.data(), nullptr);
        FAIL() << "a null pica_basicP must end the command";
    } catch (int err) {
        EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM);
    }
}

}  // namespace
