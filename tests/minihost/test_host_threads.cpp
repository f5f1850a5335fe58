// Several frames rendered at once: each has its own records and worlds, and
// the pictures are those of the same frames rendered one after the other.
#include <gtest/gtest.h>

#include "minihost/core/host.h"
#include "params/param_index.h"

namespace {

using minihost::Frame;
using minihost::FrameRequest;

bool samePixels(const minihost::World& a, const minihost::World& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const minihost::Rgba p = a.at(x, y), q = b.at(x, y);
            if (p.a != q.a || p.r != q.r || p.g != q.g || p.b != q.b) return false;
        }
    }
    return true;
}

TEST(ThreadedFrames, MatchFramesRenderedOneByOne) {
    minihost::Host host(QA_PLUGIN_PATH);
    ASSERT_EQ(host.setUp(), PF_Err_NONE);
    host.config().depth = minihost::Depth::k16;
    host.layer().setGlyphs({minihost::rectangleGlyph(10, 10, 20, 40), minihost::rectangleGlyph(24, 10, 40, 40),
                            minihost::rectangleGlyph(44, 20, 50, 40)});
    // The cells grow over time, so every frame differs.
    host.params().setKeyframes(PARAM_CHARACTER_SIZE, {{0.0, 20.0}, {1.0, 60.0}});
    std::vector<FrameRequest> requests;
    for (A_long t = 0; t < 8; ++t) {
        FrameRequest r;
        r.time = t * 3;
        requests.push_back(r);
    }
    std::vector<Frame> one_by_one;
    for (const FrameRequest& r : requests) {
        one_by_one.push_back(host.renderFrame(r));
    }
    const std::vector<Frame> at_once = host.renderFrames(requests, 4);
    ASSERT_EQ(at_once.size(), requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        ASSERT_TRUE(at_once[i].output && one_by_one[i].output);
        EXPECT_EQ(at_once[i].render_err, PF_Err_NONE);
        EXPECT_TRUE(samePixels(*at_once[i].output, *one_by_one[i].output)) << "frame " << i;
    }
    EXPECT_FALSE(samePixels(*one_by_one.front().output, *one_by_one.back().output));
    // Two commands per frame, each on record.
    EXPECT_EQ(host.ledger().commands().size(), 3u + 4u * requests.size());
    EXPECT_TRUE(host.ledger().clean()) << host.ledger().report();
}

}  // namespace
