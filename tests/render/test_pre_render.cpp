// The pre-render and the rectangle union, driven directly with host records.
#include <gtest/gtest.h>

#include "host/handlers.h"
#include "host/union_lrect.h"

namespace {

bool operator==(const PF_LRect& a, const PF_LRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(UnionLRect, EmptyDestinationTakesTheSource) {
    PF_LRect dst{0, 0, 0, 0};
    UnionLRect({10, 20, 30, 40}, dst);
    EXPECT_TRUE(dst == (PF_LRect{10, 20, 30, 40}));
    // Even an empty source is copied into an empty destination.
    PF_LRect inverted{5, 5, 1, 9};
    UnionLRect({7, 7, 7, 8}, inverted);
    EXPECT_TRUE(inverted == (PF_LRect{7, 7, 7, 8}));
}

TEST(UnionLRect, TwoNonEmptyGrowToHoldBoth) {
    PF_LRect dst{0, 0, 10, 10};
    UnionLRect({5, -5, 20, 8}, dst);
    EXPECT_TRUE(dst == (PF_LRect{0, -5, 20, 10}));
}

TEST(UnionLRect, EmptySourceLeavesDestination) {
    PF_LRect dst{0, 0, 10, 10};
    UnionLRect({50, 50, 50, 60}, dst);
    EXPECT_TRUE(dst == (PF_LRect{0, 0, 10, 10}));
    UnionLRect({50, 60, 70, 60}, dst);
    EXPECT_TRUE(dst == (PF_LRect{0, 0, 10, 10}));
}

TEST(UnionLRect, ExtremeCoordinatesNeedNoArithmetic) {
    constexpr A_long kMin = std::numeric_limits<A_long>::min();
    constexpr A_long kMax = std::numeric_limits<A_long>::max();
    PF_LRect dst{kMin, kMin, kMax, kMax};
    UnionLRect({-5, -5, 5, 5}, dst);
    EXPECT_TRUE(dst == (PF_LRect{kMin, kMin, kMax, kMax}));
}

// A host that records the pre-render's checkout.
struct checkout_record {
    int calls = 0;
    PF_ProgPtr effect_ref = nullptr;
    PF_ParamIndex index = -1;
    A_long checkout_id = -1;
    PF_RenderRequest request{};
    A_long what_time = 0, time_step = 0;
    A_u_long time_scale = 0;
    PF_Err answer = PF_Err_NONE;
};
checkout_record g_checkout;

PF_Err recordCheckout(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_idL, const PF_RenderRequest* req,
                      A_long what_time, A_long time_step, A_u_long time_scale, PF_CheckoutResult* result) {
    ++g_checkout.calls;
    g_checkout.effect_ref = effect_ref;
    g_checkout.index = index;
    g_checkout.checkout_id = checkout_idL;
    g_checkout.request = *req;
    g_checkout.what_time = what_time;
    g_checkout.time_step = time_step;
    g_checkout.time_scale = time_scale;
    // The result plays no part in the extent.
    result->result_rect = {-1000, -1000, 1000, 1000};
    result->max_result_rect = {-1000, -1000, 1000, 1000};
    return g_checkout.answer;
}

PF_Err failParamCheckout(PF_ProgPtr, PF_ParamIndex, A_long, A_long, A_u_long, PF_ParamDef*) {
    ADD_FAILURE() << "the pre-render reads no parameter";
    return PF_Err_BAD_CALLBACK_PARAM;
}

class SmartPreRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_checkout = {};
        in_data.effect_ref = reinterpret_cast<PF_ProgPtr>(&in_data);
        in_data.current_time = 300;
        in_data.time_step = 10;
        in_data.time_scale = 30;
        in_data.inter.checkout_param = failParamCheckout;
        input.output_request.rect = {10, 20, 110, 220};
        input.output_request.field = PF_Field_UPPER;
        input.output_request.channel_mask = PF_ChannelMask_ARGB;
        input.output_request.preserve_rgb_of_zero_alpha = 1;
        input.output_request.reserved[2] = 77;
        output.solid = 9;
        output.pre_render_data = &output;
        callbacks.checkout_layer = recordCheckout;
        extra = {&input, &output, &callbacks};
    }
    PF_Err run() { return SmartPreRender(&in_data, &extra); }

    PF_InData in_data{};
    PF_PreRenderInput input{};
    PF_PreRenderOutput output{};
    PF_PreRenderCallbacks callbacks{};
    PF_PreRenderExtra extra{};
};

TEST_F(SmartPreRenderTest, ChecksTheInputOutWithTheUnchangedRequest) {
    EXPECT_EQ(run(), PF_Err_NONE);
    EXPECT_EQ(g_checkout.calls, 1);
    EXPECT_EQ(g_checkout.effect_ref, in_data.effect_ref);
    EXPECT_EQ(g_checkout.index, 0);
    EXPECT_EQ(g_checkout.checkout_id, 0);
    EXPECT_TRUE(g_checkout.request.rect == input.output_request.rect);
    EXPECT_EQ(g_checkout.request.field, PF_Field_UPPER);
    EXPECT_EQ(g_checkout.request.channel_mask, PF_ChannelMask_ARGB);
    EXPECT_EQ(g_checkout.request.preserve_rgb_of_zero_alpha, 1);
    EXPECT_EQ(g_checkout.request.reserved[2], 77);
    EXPECT_EQ(g_checkout.what_time, 300);
    EXPECT_EQ(g_checkout.time_step, 10);
    EXPECT_EQ(g_checkout.time_scale, 30u);
}

TEST_F(SmartPreRenderTest, EmptyRectanglesBecomeTheRequest) {
    EXPECT_EQ(run(), PF_Err_NONE);
    EXPECT_TRUE(output.result_rect == (PF_LRect{10, 20, 110, 220}));
    EXPECT_TRUE(output.max_result_rect == (PF_LRect{10, 20, 110, 220}));
    EXPECT_EQ(output.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);
    // Nothing passes to the render.
    EXPECT_EQ(output.solid, 9);
    EXPECT_EQ(output.pre_render_data, &output);
    EXPECT_EQ(output.delete_pre_render_data_func, nullptr);
}

TEST_F(SmartPreRenderTest, NonEmptyRectanglesGrowByTheRequest) {
    output.result_rect = {0, 0, 50, 50};
    output.max_result_rect = {-10, 100, 20, 300};
    output.flags = PF_RenderOutputFlag_GPU_RENDER_POSSIBLE;
    EXPECT_EQ(run(), PF_Err_NONE);
    EXPECT_TRUE(output.result_rect == (PF_LRect{0, 0, 110, 220}));
    EXPECT_TRUE(output.max_result_rect == (PF_LRect{-10, 20, 110, 300}));
    // Assigned, not added.
    EXPECT_EQ(output.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);
}

TEST_F(SmartPreRenderTest, EmptyRequestLeavesNonEmptyRectanglesAndFillsEmptyOnes) {
    input.output_request.rect = {40, 40, 40, 90};
    output.result_rect = {0, 0, 50, 50};
    EXPECT_EQ(run(), PF_Err_NONE);
    EXPECT_TRUE(output.result_rect == (PF_LRect{0, 0, 50, 50}));
    EXPECT_TRUE(output.max_result_rect == (PF_LRect{40, 40, 40, 90}));
}

TEST_F(SmartPreRenderTest, FailingCheckoutStillWritesTheExtent) {
    g_checkout.answer = PF_Err_OUT_OF_MEMORY;
    EXPECT_EQ(run(), PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(output.result_rect == (PF_LRect{10, 20, 110, 220}));
    EXPECT_TRUE(output.max_result_rect == (PF_LRect{10, 20, 110, 220}));
    EXPECT_EQ(output.flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS);
}

}  // namespace
