// The temporary world guard and the sticky status of compositing, against a
// world suite that counts and fails on request.
#include <gtest/gtest.h>

#include "AE_EffectCB.h"
#include "render/composite_character.h"
#include "render/guide_overlay.h"
#include "render/matrix.h"
#include "render/temporary_world.h"

namespace {

struct fake_worlds {
    int created = 0;
    int disposed = 0;
    PF_Err new_answer = PF_Err_NONE;
    PF_Err dispose_answer = PF_Err_NONE;
    A_long last_width = 0, last_height = 0;
    PF_PixelFormat last_format = 0;
    int copies = 0, transforms = 0, fills = 0;
};
fake_worlds g_fake;

PF_Err newWorld(PF_ProgPtr, A_long w, A_long h, PF_Boolean clear, PF_PixelFormat f, PF_EffectWorld* world) {
    EXPECT_TRUE(clear);
    if (g_fake.new_answer != PF_Err_NONE) {
        return g_fake.new_answer;
    }
    ++g_fake.created;
    g_fake.last_width = w;
    g_fake.last_height = h;
    g_fake.last_format = f;
    world->width = w;
    world->height = h;
    return PF_Err_NONE;
}
PF_Err disposeWorld(PF_ProgPtr, PF_EffectWorld*) {
    ++g_fake.disposed;
    return g_fake.dispose_answer;
}
PF_Err copyCb(PF_ProgPtr, PF_EffectWorld*, PF_EffectWorld*, PF_Rect*, PF_Rect*) {
    ++g_fake.copies;
    return PF_Err_BAD_CALLBACK_PARAM;  // not looked at
}
PF_Err fillCb(PF_ProgPtr, const PF_Pixel*, const PF_Rect*, PF_EffectWorld*) {
    ++g_fake.fills;
    return PF_Err_BAD_CALLBACK_PARAM;
}
PF_Err transformCb(PF_ProgPtr, PF_Quality, PF_ModeFlags, PF_Field, const PF_EffectWorld*, const PF_CompositeMode*,
                   const PF_MaskWorld*, const PF_FloatMatrix*, A_long, PF_Boolean, const PF_Rect*, PF_EffectWorld*) {
    ++g_fake.transforms;
    return PF_Err_BAD_CALLBACK_PARAM;
}

class CompositeStatus : public ::testing::Test {
protected:
    void SetUp() override {
        g_fake = {};
        suite.PF_NewWorld = newWorld;
        suite.PF_DisposeWorld = disposeWorld;
        utils.copy = copyCb;
        utils.fill = fillCb;
        utils.transform_world = transformCb;
        in_data.utils = &utils;
        settings.pixel_format = PF_PixelFormat_ARGB64;
        p.width = 12;
        p.height = 7;
        p.advance = 30;
    }
    PF_WorldSuite2 suite{};
    PF_UtilCallbacks utils{};
    PF_InData in_data{};
    RenderSettings settings;
    placement p;
    PF_EffectWorld input{};
    PF_EffectWorld output{};
};

TEST_F(CompositeStatus, GuardDisposesOnScopeExitOnlyWhatWasCreated) {
    {
        TemporaryWorld w(suite, nullptr);
        EXPECT_EQ(w.create(3, 4, PF_PixelFormat_ARGB32), PF_Err_NONE);
    }
    EXPECT_EQ(g_fake.disposed, 1);
    g_fake.new_answer = PF_Err_OUT_OF_MEMORY;
    {
        TemporaryWorld w(suite, nullptr);
        EXPECT_EQ(w.create(3, 4, PF_PixelFormat_ARGB32), PF_Err_OUT_OF_MEMORY);
    }
    EXPECT_EQ(g_fake.disposed, 1);
}

TEST_F(CompositeStatus, ExplicitDisposeAnswersTheHostAndHappensOnce) {
    g_fake.dispose_answer = A_Err_GENERIC;
    {
        TemporaryWorld w(suite, nullptr);
        ASSERT_EQ(w.create(3, 4, PF_PixelFormat_ARGB32), PF_Err_NONE);
        EXPECT_EQ(w.dispose(), A_Err_GENERIC);
        EXPECT_EQ(w.dispose(), PF_Err_NONE);
    }
    EXPECT_EQ(g_fake.disposed, 1);
}

TEST_F(CompositeStatus, CharacterWorldTakesTheSourceSizeAndOutputFormat) {
    compositeCharacter(in_data, suite, settings, p, input, output);
    EXPECT_EQ(settings.status, PF_Err_NONE);  // copy and transform answers are ignored
    EXPECT_EQ(g_fake.last_width, 12);
    EXPECT_EQ(g_fake.last_height, 7);
    EXPECT_EQ(g_fake.last_format, PF_PixelFormat_ARGB64);
    EXPECT_EQ(g_fake.copies, 1);
    EXPECT_EQ(g_fake.transforms, 1);
    EXPECT_EQ(g_fake.disposed, 1);
}

TEST_F(CompositeStatus, GuideWorldSpansTheAdvanceAlongTheAxis) {
    drawGuide(in_data, suite, settings, p, 0, output);
    EXPECT_EQ(g_fake.last_width, 30);
    EXPECT_EQ(g_fake.last_height, 7);
    settings.horizontal = false;
    drawGuide(in_data, suite, settings, p, 0, output);
    EXPECT_EQ(g_fake.last_width, 12);
    EXPECT_EQ(g_fake.last_height, 30);
    EXPECT_EQ(g_fake.fills, 2);
    EXPECT_EQ(g_fake.disposed, 2);
}

TEST_F(CompositeStatus, FailedDisposeBecomesTheStatusAndStopsTheRun) {
    g_fake.dispose_answer = A_Err_GENERIC;
    compositeCharacter(in_data, suite, settings, p, input, output);
    EXPECT_EQ(settings.status, A_Err_GENERIC);
    drawGuide(in_data, suite, settings, p, 0, output);
    compositeCharacter(in_data, suite, settings, p, input, output);
    EXPECT_EQ(g_fake.created, 1);
    EXPECT_EQ(g_fake.transforms, 1);
    EXPECT_EQ(settings.status, A_Err_GENERIC);
}

TEST_F(CompositeStatus, FirstErrorStays) {
    settings.status = PF_Err_OUT_OF_MEMORY;
    compositeCharacter(in_data, suite, settings, p, input, output);
    drawGuide(in_data, suite, settings, p, 0, output);
    EXPECT_EQ(g_fake.created, 0);
    EXPECT_EQ(settings.status, PF_Err_OUT_OF_MEMORY);
}

TEST_F(CompositeStatus, GuideMatrixDropsTheCentring) {
    p.center_offset = 7.5;
    SetIdentityMatrix(p.translation);
    p.translation.mat[2][0] = 100.0;
    p.translation.mat[2][1] = 20.0;
    PF_FloatMatrix m = guideMatrix(settings, p);
    EXPECT_EQ(m.mat[2][0], 92.5);
    EXPECT_EQ(m.mat[2][1], 20.0);
    settings.horizontal = false;
    m = guideMatrix(settings, p);
    EXPECT_EQ(m.mat[2][0], 100.0);
    EXPECT_EQ(m.mat[2][1], 12.5);
}

TEST(GuideColors, CycleRedGreenBlueYellowMagenta) {
    const PF_Pixel expected[] = {{255, 128, 0, 0},   {255, 0, 128, 0},   {255, 0, 0, 128},
                                 {255, 128, 128, 0}, {255, 128, 0, 128}, {255, 128, 0, 0}};
    for (std::size_t k = 0; k < 6; ++k) {
        const PF_Pixel& c = guideColor(k);
        EXPECT_EQ(c.alpha, expected[k].alpha);
        EXPECT_EQ(c.red, expected[k].red) << k;
        EXPECT_EQ(c.green, expected[k].green) << k;
        EXPECT_EQ(c.blue, expected[k].blue) << k;
    }
}

}  // namespace
