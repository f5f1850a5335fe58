// The layer as the plug-in sees it: type, transform streams, the
// layer-to-world matrix, time conversion, the text outline set and the layer
// image drawn in comp pixels.
#include <gtest/gtest.h>

#include "minihost/core/host.h"
#include "scripted_plugin.h"

namespace {

using minihost::Frame;
using minihost::rectangleGlyph;

struct Seen {
    AEGP_ObjectType type = -1;
    AEGP_StreamVal2 scale{}, position{};
    A_Time comp{};
    A_Matrix4 xform{};
    A_long outlines = 0, segments = 0;
    PF_PathVertex first{};
    A_Err err = 0;
    bool force_outlines = false;  // ask for outlines whatever the layer is
};

// Asks for everything the render asks for about its layer.
PF_Err inspectLayer(PF_InData* in, Seen& seen) {
    auto* pfi = scripted::acquire<AEGP_PFInterfaceSuite1>(in, kAEGPPFInterfaceSuite, 1);
    auto* l11 = scripted::acquire<AEGP_LayerSuite5>(in, kAEGPLayerSuite, 11);
    auto* l13 = scripted::acquire<AEGP_LayerSuite7>(in, kAEGPLayerSuite, 13);
    auto* l14 = scripted::acquire<AEGP_LayerSuite8>(in, kAEGPLayerSuite, 14);
    auto* s9 = scripted::acquire<AEGP_StreamSuite4>(in, kAEGPStreamSuite, 9);
    auto* ts = scripted::acquire<AEGP_TextLayerSuite1>(in, kAEGPTextLayerSuite, 1);
    auto* pd = scripted::acquire<PF_PathDataSuite1>(in, kPFPathDataSuite, 1);
    AEGP_LayerH layer = nullptr;
    pfi->AEGP_GetEffectLayer(in->effect_ref, &layer);
    l11->AEGP_GetLayerObjectType(layer, &seen.type);
    const A_Time t{in->current_time, in->time_scale};
    s9->AEGP_GetLayerStreamValue(layer, AEGP_LayerStream_SCALE, AEGP_LTimeMode_LayerTime, &t, 0, &seen.scale, nullptr);
    s9->AEGP_GetLayerStreamValue(layer, AEGP_LayerStream_POSITION, AEGP_LTimeMode_LayerTime, &t, 0, &seen.position,
                                 nullptr);
    l14->AEGP_ConvertLayerToCompTime(layer, &t, &seen.comp);
    l13->AEGP_GetLayerToWorldXform(layer, &seen.comp, &seen.xform);
    if (seen.type == AEGP_ObjectType_TEXT || seen.force_outlines) {
        AEGP_TextOutlinesH set = nullptr;
        seen.err = ts->AEGP_GetNewTextOutlines(layer, &t, &set);
        ts->AEGP_GetNumTextOutlines(set, &seen.outlines);
        if (seen.outlines > 0) {
            PF_PathOutlinePtr path = nullptr;
            ts->AEGP_GetIndexedTextOutline(set, 0, &path);
            pd->PF_PathNumSegments(in->effect_ref, path, &seen.segments);
            pd->PF_PathVertexInfo(in->effect_ref, path, 0, &seen.first);
        }
        ts->AEGP_DisposeTextOutlines(set);
    }
    const std::pair<const char*, A_long> suites[] = {
        {kAEGPPFInterfaceSuite, 1}, {kAEGPLayerSuite, 11},    {kAEGPLayerSuite, 13}, {kAEGPLayerSuite, 14},
        {kAEGPStreamSuite, 9},      {kAEGPTextLayerSuite, 1}, {kPFPathDataSuite, 1}};
    for (const auto& [name, version] : suites) {
        in->pica_basicP->ReleaseSuite(name, version);
    }
    return PF_Err_NONE;
}

class LayerSeenByThePlugin : public ::testing::Test {
protected:
    void SetUp() override {
        host = scripted::host([this](PF_Cmd cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void* extra) -> PF_Err {
            if (cmd == PF_Cmd_SMART_PRE_RENDER) return scripted::preRender(in, extra);
            if (cmd == PF_Cmd_SMART_RENDER) return inspectLayer(in, seen);
            return PF_Err_NONE;
        });
    }
    void TearDown() override { EXPECT_TRUE(host->ledger().clean()) << host->ledger().report(); }
    std::unique_ptr<minihost::Host> host;
    Seen seen;
};

TEST_F(LayerSeenByThePlugin, StreamsGiveTheLayersOwnValuesTheMatrixTheWholeChain) {
    minihost::Layer& layer = host->layer();
    layer.setPosition(100, 50);
    layer.setScale(200, 50);
    layer.setAnchor(10, 0);
    minihost::LayerTransform parent;
    parent.scale.set(50, 50);
    layer.setParent(parent);
    host->renderFrame();
    EXPECT_EQ(seen.type, AEGP_ObjectType_TEXT);
    EXPECT_DOUBLE_EQ(seen.scale.three_d.x, 200);
    EXPECT_DOUBLE_EQ(seen.scale.three_d.y, 50);
    EXPECT_DOUBLE_EQ(seen.position.three_d.x, 100);
    EXPECT_DOUBLE_EQ(seen.position.three_d.y, 50);
    // (own scale x parent scale), and the anchor pulled through both.
    EXPECT_DOUBLE_EQ(seen.xform.mat[0][0], 1.0);
    EXPECT_DOUBLE_EQ(seen.xform.mat[1][1], 0.25);
    EXPECT_DOUBLE_EQ(seen.xform.mat[3][0], (100 - 10 * 2.0) * 0.5);
    EXPECT_DOUBLE_EQ(seen.xform.mat[3][1], 25);
}

TEST_F(LayerSeenByThePlugin, AnimatedTransformAndTimeOffset) {
    host->layer().transform().position.setKeyframes({{0.0, 0, 0}, {2.0, 200, 100}});
    host->layer().setTimeOffset(0.5);
    host->config().current_time = 24;  // 1 s of layer time
    host->renderFrame();
    EXPECT_DOUBLE_EQ(seen.position.three_d.x, 100);
    EXPECT_EQ(seen.comp.value, 36);  // 1.5 s of comp time
    EXPECT_EQ(seen.comp.scale, 24u);
    // The matrix at that comp time evaluates the layer at its own time.
    EXPECT_DOUBLE_EQ(seen.xform.mat[3][0], 100);
}

TEST_F(LayerSeenByThePlugin, OutlinesAreInCompPixelsInTextOrder) {
    host->layer().setGlyphs({rectangleGlyph(10, 10, 20, 40), rectangleGlyph(30, 10, 45, 40)});
    host->layer().setPosition(5, 7);
    host->layer().setScale(200, 100);
    host->renderFrame();
    EXPECT_EQ(seen.outlines, 2);
    EXPECT_EQ(seen.segments, 4);
    EXPECT_DOUBLE_EQ(seen.first.x, 25);
    EXPECT_DOUBLE_EQ(seen.first.y, 17);
    EXPECT_DOUBLE_EQ(seen.first.tan_out_x, 25);
}

TEST_F(LayerSeenByThePlugin, TextOutlinesOfANonTextLayerAreRefused) {
    host->layer().setObjectType(AEGP_ObjectType_AV);
    host->renderFrame();
    EXPECT_EQ(seen.type, AEGP_ObjectType_AV);
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
    // Asking anyway is a plug-in fault; so is using the set it did not get.
    seen.force_outlines = true;
    host->renderFrame();
    EXPECT_EQ(seen.err, A_Err_PARAMETER);
    const std::vector<std::string> v = host->ledger().violations();
    ASSERT_EQ(v.size(), 3u) << host->ledger().report();
    EXPECT_NE(v[0].find("AEGP_GetNewTextOutlines: the layer is not a text layer"), std::string::npos);
    host->ledger().clear();
}

TEST(LayerImage, GlyphsAreFilledInCompPixelsAtTheDownsample) {
    auto host = scripted::host([](PF_Cmd cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void* extra) -> PF_Err {
        return cmd == PF_Cmd_SMART_PRE_RENDER ? scripted::preRender(in, extra) : PF_Err_NONE;
    });
    host->layer().setGlyphs({rectangleGlyph(10, 10, 20, 40, PF_Pixel{255, 255, 0, 0})});
    host->layer().setPosition(40, 0);
    Frame full = host->renderFrame();
    ASSERT_TRUE(full.input);
    EXPECT_FLOAT_EQ(full.input->at(55, 20).a, 1.0f);
    EXPECT_FLOAT_EQ(full.input->at(55, 20).r, 1.0f);
    EXPECT_FLOAT_EQ(full.input->at(49, 20).a, 0.0f);
    EXPECT_FLOAT_EQ(full.input->at(60, 20).a, 0.0f);

    host->config().downsample_x = {1, 2};
    host->config().downsample_y = {1, 2};
    Frame half = host->renderFrame();
    ASSERT_TRUE(half.input);
    EXPECT_EQ(half.input->width(), 100);
    EXPECT_EQ(half.input->height(), 50);
    EXPECT_FLOAT_EQ(half.input->at(27, 10).a, 1.0f);
    EXPECT_FLOAT_EQ(half.input->at(24, 10).a, 0.0f);

    // A sub-rectangle: the world's origin is its corner.
    host->config().downsample_x = {1, 1};
    host->config().downsample_y = {1, 1};
    minihost::FrameRequest part;
    part.rect = PF_LRect{50, 15, 70, 25};
    Frame sub = host->renderFrame(part);
    ASSERT_TRUE(sub.input && sub.output);
    EXPECT_EQ(sub.input->pf()->origin_x, 50);
    EXPECT_EQ(sub.output->pf()->origin_y, 15);
    EXPECT_EQ(sub.output->width(), 20);
    EXPECT_FLOAT_EQ(sub.input->at(5, 5).a, 1.0f);   // layer (55, 20)
    EXPECT_FLOAT_EQ(sub.input->at(15, 5).a, 0.0f);  // layer (65, 20)
    EXPECT_EQ(sub.checkout.result_rect.left, 50);
    EXPECT_EQ(sub.checkout.max_result_rect.right, 200);
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
}

TEST(LayerImage, TheLayersOwnPixelsReachBeyondTheComp) {
    auto host = scripted::host([](PF_Cmd cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void* extra) -> PF_Err {
        return cmd == PF_Cmd_SMART_PRE_RENDER ? scripted::preRender(in, extra) : PF_Err_NONE;
    });
    host->layer().setGlyphs({rectangleGlyph(-30, 10, 20, 40), rectangleGlyph(190, 90, 230, 130)});
    host->layer().setBoundsCoverText(true);
    Frame f = host->renderFrame();
    ASSERT_TRUE(f.input && f.output);
    EXPECT_EQ(f.input->pf()->origin_x, -30);
    EXPECT_EQ(f.input->pf()->origin_y, 0);
    EXPECT_EQ(f.input->width(), 260);                // -30 to 230
    EXPECT_EQ(f.input->height(), 130);               // 0 to 130
    EXPECT_FLOAT_EQ(f.input->at(5, 20).a, 1.0f);     // layer (-25, 20), left of the comp
    EXPECT_FLOAT_EQ(f.input->at(250, 120).a, 1.0f);  // layer (220, 120), past its corner
    EXPECT_EQ(f.output->pf()->origin_x, -30);
    EXPECT_EQ(f.checkout.max_result_rect.right, 230);
    // At most one comp size beyond each edge.
    host->layer().setGlyphs({rectangleGlyph(-1000, 10, 20, 40)});
    EXPECT_EQ(host->renderFrame().input->pf()->origin_x, -200);
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
}

TEST(LayerImage, InputRectAndOutputFillAreTheTestsToChoose) {
    auto host = scripted::host([](PF_Cmd cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void* extra) -> PF_Err {
        return cmd == PF_Cmd_SMART_PRE_RENDER ? scripted::preRender(in, extra) : PF_Err_NONE;
    });
    host->layer().setGlyphs({rectangleGlyph(10, 10, 20, 40)});
    minihost::FrameRequest r;
    r.input_rect = PF_LRect{8, 4, 30, 50};
    r.output_fill = PF_Pixel{255, 0, 255, 0};
    Frame f = host->renderFrame(r);
    ASSERT_TRUE(f.input && f.output);
    EXPECT_EQ(f.input->pf()->origin_x, 8);
    EXPECT_EQ(f.input->pf()->origin_y, 4);
    EXPECT_EQ(f.input->width(), 22);
    EXPECT_FLOAT_EQ(f.input->at(2, 6).a, 1.0f);  // layer (10, 10)
    EXPECT_FLOAT_EQ(f.input->at(1, 6).a, 0.0f);
    EXPECT_EQ(f.output->pf()->origin_x, 0);
    EXPECT_FLOAT_EQ(f.output->at(0, 0).g, 1.0f);  // untouched by this plug-in
    EXPECT_TRUE(host->ledger().clean()) << host->ledger().report();
}

TEST(LayerImage, SolidLayerAndMissingWorlds) {
    auto host = scripted::host([](PF_Cmd cmd, PF_InData* in, PF_OutData*, PF_ParamDef**, void* extra) -> PF_Err {
        if (cmd == PF_Cmd_SMART_PRE_RENDER) return scripted::preRender(in, extra);
        auto* sr = static_cast<PF_SmartRenderExtra*>(extra);
        PF_EffectWorld* input = nullptr;
        PF_EffectWorld* output = nullptr;
        const PF_Err a = sr->cb->checkout_layer_pixels(in->effect_ref, 0, &input);
        const PF_Err b = sr->cb->checkout_output(in->effect_ref, &output);
        const PF_Err c = sr->cb->checkout_layer_pixels(in->effect_ref, 1, &input);  // never checked out
        return a != 0 || b != 0 ? 1 : (c == 0 ? 2 : (input == nullptr) + 10 * (output == nullptr));
    });
    host->layer().setObjectType(AEGP_ObjectType_AV);
    host->layer().setSolidColor(PF_Pixel{255, 0, 0, 255});
    Frame f = host->renderFrame();
    EXPECT_EQ(f.render_err, 0);
    EXPECT_FLOAT_EQ(f.input->at(199, 99).b, 1.0f);
    minihost::FrameRequest none;
    none.no_input = true;
    none.no_output = true;
    EXPECT_EQ(host->renderFrame(none).render_err, 11);
    EXPECT_EQ(host->ledger().violations().size(), 2u) << host->ledger().report();
}

}  // namespace
