// Frames rendered at once on several threads are the frames rendered one
// after the other, byte for byte. Built also with ThreadSanitizer (the tsan
// preset), where any unsynchronised access between the frames is an error.
#include <gtest/gtest.h>

#include <vector>

#include "hostile_fixtures.h"

namespace reliability {
namespace {

using minihost::Depth;
using minihost::Frame;
using minihost::FrameRequest;
using minihost::Host;

constexpr int kFrames = 64;
constexpr int kThreads = 8;

void stageAnimatedText(Host& host) {
    host.layer().setCompSize(240, 80);
    host.layer().setPosition(20, 20);
    minihost::Glyph ring;
    ring.contours = {minihost::rectangleContour(32, 4, 48, 26),
                     minihost::reversed(minihost::rectangleContour(36, 8, 44, 22))};
    minihost::Glyph round;
    round.contours = {minihost::circleContour(70, 15, 10.5)};
    host.layer().setGlyphs(
        {minihost::rectangleGlyph(0, 4, 20, 26), ring, round, minihost::rectangleGlyph(90.5, 2.25, 101, 26)});
    // Every frame differs: cells grow, tracking turns, the layer moves.
    host.params().setKeyframes(PARAM_CHARACTER_SIZE, {{0.0, 20.0}, {2.0, 60.0}});
    host.params().setKeyframes(PARAM_TRACKING, {{0.0, -5.0}, {2.0, 12.5}});
    host.params().setValue(PARAM_TEXT_ALIGNMENT, ALIGN_CENTER);
    host.params().setValue(PARAM_BUFFER_EXPANSION, 2);
    host.layer().transform().position.setKeyframes({{0.0, 100.0, 20.0}, {2.0, 130.5, 24.0}});
}

std::vector<FrameRequest> requests() {
    std::vector<FrameRequest> all;
    const Depth depths[] = {Depth::k8, Depth::k16, Depth::k32};
    for (int i = 0; i < kFrames; ++i) {
        FrameRequest r;
        r.time = i;
        r.depth = depths[i % 3];
        all.push_back(r);
    }
    return all;
}

TEST(Threads, SixtyFourFramesOnEightThreadsEqualTheFramesRenderedOneByOne) {
    Host host(QA_PLUGIN_PATH);
    ASSERT_EQ(host.setUp(), PF_Err_NONE);
    stageAnimatedText(host);
    const std::vector<FrameRequest> frames = requests();

    std::vector<Frame> one_by_one;
    for (const FrameRequest& r : frames) {
        one_by_one.push_back(host.renderFrame(r));
    }
    const std::vector<Frame> at_once = host.renderFrames(frames, kThreads);
    ASSERT_EQ(at_once.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        ASSERT_TRUE(one_by_one[i].output && at_once[i].output) << "frame " << i;
        EXPECT_EQ(one_by_one[i].render_err, PF_Err_NONE) << "frame " << i;
        EXPECT_EQ(at_once[i].render_err, PF_Err_NONE) << "frame " << i;
        EXPECT_TRUE(sameBytes(*at_once[i].output, *one_by_one[i].output)) << "frame " << i;
    }
    // The frames are not all alike, or the comparison would prove little.
    EXPECT_FALSE(sameBytes(*one_by_one[0].output, *one_by_one[3].output));
    EXPECT_FALSE(allTransparent(*one_by_one[0].output));
    EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
}

}  // namespace
}  // namespace reliability
