// AEGP_SuiteHandler and ScopedSuite against a small fake SPBasicSuite that
// counts what they ask for.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <map>
#include <string>

#include <stdexcept>

#include "host/entry_points.h"
#include "host/scoped_suite.h"
#include "host/suite_handler.h"

namespace {

struct Fake {
    std::map<std::string, int> acquired, released;
    bool fail = false;          // answer an error
    bool write_pointer = true;  // write a table pointer, even when failing
    SPErr release_answer = kSPNoError;
    PF_OutFlags flags_at_message = -1;
    std::string message;
    PF_OutData* out = nullptr;
};
Fake fake;
const int kTable = 42;  // any non-null table will do: nothing calls into it

std::string key(const char* name, A_long version) { return std::string(name) + "/" + std::to_string(version); }

SPErr acquire(const char* name, A_long version, const void** suite) {
    if (fake.write_pointer) *suite = &kTable;
    if (fake.fail) return 1;
    ++fake.acquired[key(name, version)];
    return kSPNoError;
}

SPErr release(const char* name, A_long version) {
    ++fake.released[key(name, version)];
    return fake.release_answer;
}

int recordSprintf(A_char* buffer, const A_char* format, ...) {
    fake.flags_at_message = fake.out->out_flags;
    fake.message = format;
    std::strcpy(buffer, format);
    return static_cast<int>(std::strlen(format));
}

SPBasicSuite basic() {
    SPBasicSuite b{};
    b.AcquireSuite = acquire;
    b.ReleaseSuite = release;
    return b;
}

class SuiteCache : public ::testing::Test {
protected:
    void SetUp() override { fake = Fake{}; }
    SPBasicSuite suite = basic();
};

TEST_F(SuiteCache, UsedSuiteIsAcquiredOnceAndReleasedOnceUnusedOnesNever) {
    {
        AEGP_SuiteHandler h(&suite);
        EXPECT_EQ(static_cast<const void*>(h.LayerSuite13()), static_cast<const void*>(&kTable));
        h.LayerSuite13();
        h.LayerSuite13();
        h.ANSICallbacksSuite1();
        EXPECT_TRUE(fake.released.empty());
    }
    EXPECT_EQ(fake.acquired, (std::map<std::string, int>{{"AEGP Layer Suite/13", 1}, {"PF ANSI Suite/1", 1}}));
    EXPECT_EQ(fake.released, fake.acquired);
}

TEST_F(SuiteCache, VersionsAreSeparateSlots) {
    {
        AEGP_SuiteHandler h(&suite);
        h.LayerSuite11();
        h.LayerSuite13();
        h.LayerSuite14();
        h.StreamSuite7();
        h.StreamSuite9();
    }
    EXPECT_EQ(fake.acquired.size(), 5u);
    EXPECT_EQ(fake.released.size(), 5u);
}

TEST_F(SuiteCache, AnErrorCountsAsMissingEvenWithAPointer) {
    AEGP_SuiteHandler h(&suite);
    fake.fail = true;
    fake.write_pointer = true;
    EXPECT_THROW(
        {
            try {
                h.MathSuite1();
            } catch (int e) {
                EXPECT_EQ(e, PF_Err_BAD_CALLBACK_PARAM);
                throw;
            }
        },
        int);
    fake.fail = false;
    fake.write_pointer = false;  // success without a table is missing too
    EXPECT_THROW(h.MathSuite1(), int);
}

TEST_F(SuiteCache, AnExceptionAfterTwoAcquisitionsReleasesBoth) {
    try {
        AEGP_SuiteHandler h(&suite);
        h.TextLayerSuite1();
        h.PathDataSuite1();
        throw 7;
    } catch (int) {}
    EXPECT_EQ(fake.released, (std::map<std::string, int>{{"AEGP Text Layer Suite/1", 1}, {"PF Path Data Suite/1", 1}}));
}

TEST_F(SuiteCache, NullBasicSuiteThrows516) {
    try {
        AEGP_SuiteHandler h(nullptr);
        FAIL() << "no exception";
    } catch (int e) {
        EXPECT_EQ(e, PF_Err_BAD_CALLBACK_PARAM);
    }
}

TEST_F(SuiteCache, ReleaseErrorsAreIgnored) {
    fake.release_answer = 5;
    EXPECT_NO_THROW({
        AEGP_SuiteHandler h(&suite);
        h.EffectSuite2();
    });
    EXPECT_EQ(fake.released.size(), 1u);
}

class Scoped : public SuiteCache {
protected:
    void SetUp() override {
        SuiteCache::SetUp();
        utils.ansi.sprintf = recordSprintf;
        in.utils = &utils;
        in.pica_basicP = &suite;
        fake.out = &out;
    }
    PF_UtilCallbacks utils{};
    PF_InData in{};
    PF_OutData out{};
};

TEST_F(Scoped, HeldForItsScope) {
    {
        ScopedSuite s(kPFWorldSuite, 2, &in, &out);
        EXPECT_EQ(s.get(), static_cast<const void*>(&kTable));
        EXPECT_TRUE(fake.released.empty());
    }
    EXPECT_EQ(fake.released["PF World Suite/2"], 1);
    EXPECT_EQ(out.out_flags, 0);
}

TEST_F(Scoped, FailureAddsTheFlagThenWritesTheMessageThenThrows13) {
    out.out_flags = PF_OutFlag_NON_PARAM_VARY | PF_OutFlag_SEND_UPDATE_PARAMS_UI;
    fake.fail = true;
    try {
        ScopedSuite s(kPFWorldSuite, 2, &in, &out);
        FAIL() << "no exception";
    } catch (int e) {
        EXPECT_EQ(e, A_Err_MISSING_SUITE);
    }
    EXPECT_EQ(out.out_flags,
              PF_OutFlag_NON_PARAM_VARY | PF_OutFlag_SEND_UPDATE_PARAMS_UI | PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    // The flag was already there when the message was written.
    EXPECT_EQ(fake.flags_at_message, out.out_flags);
    EXPECT_STREQ(out.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_TRUE(fake.released.empty());  // nothing was acquired, nothing given back
}

TEST_F(Scoped, NoBasicSuiteIsAFailureToAcquire) {
    in.pica_basicP = nullptr;
    try {
        ScopedSuite s(kPFWorldSuite, 2, &in, &out);
        FAIL() << "no exception";
    } catch (int e) {
        EXPECT_EQ(e, A_Err_MISSING_SUITE);
    }
    EXPECT_EQ(out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_STREQ(out.return_msg, "Not able to acquire AEFX Suite.");
}

// EffectMain is the one exception boundary. A C++ fake can throw straight
// through the effect's frames, which a real host shim never does, so this is
// the way to reach the boundary's two answers.
SPErr acquireThrowsRuntimeError(const char*, A_long, const void**) { throw std::runtime_error("host broke"); }
SPErr acquireThrowsInt(const char*, A_long, const void**) { throw 4242; }

TEST(EffectMainBoundary, NonIntExceptionBecomes512AndIntPassesThrough) {
    PF_InData in{};
    PF_OutData out{};
    SPBasicSuite throwing{};
    in.pica_basicP = &throwing;
    throwing.AcquireSuite = acquireThrowsRuntimeError;
    EXPECT_EQ(EffectMain(PF_Cmd_ABOUT, &in, &out, nullptr, nullptr, nullptr), PF_Err_INTERNAL_STRUCT_DAMAGED);
    throwing.AcquireSuite = acquireThrowsInt;
    EXPECT_EQ(EffectMain(PF_Cmd_ABOUT, &in, &out, nullptr, nullptr, nullptr), 4242);
    in.pica_basicP = nullptr;
    EXPECT_EQ(EffectMain(PF_Cmd_ABOUT, &in, &out, nullptr, nullptr, nullptr), PF_Err_BAD_CALLBACK_PARAM);
}

}  // namespace
