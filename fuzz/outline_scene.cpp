#include "outline_scene.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <utility>

#include "byte_reader.h"
#include "params/param_index.h"

namespace qa_fuzz {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Values a host can pass without meaning them.
double special(std::uint8_t which) {
    static const double kSpecials[] = {kNaN, kInf, -kInf, 1e300, -1e300, 3e9, -3e9, 1e12, -1e12, 0.0};
    return kSpecials[which % (sizeof kSpecials / sizeof kSpecials[0])];
}

// A coordinate: -15.5 to 15.5 in half pixels, or a special value. Glyphs
// that small keep every world of the render a few hundred pixels, so one
// input takes well under a millisecond; overlaps, gaps and crossings are
// the same on a small grid as on a large one.
double coordinate(ByteReader& in) {
    const std::uint8_t t = in.byte();
    if (t >= 248) {
        return special(in.byte());
    }
    return (static_cast<double>(t % 62) - 31.0) * 0.5;
}

// A control value: -20 to 100 in half steps, a finer fraction, or a special.
double controlValue(ByteReader& in, double limit) {
    const std::uint8_t t = in.byte();
    if (t >= 240) {
        return special(in.byte());
    }
    const double base = (static_cast<double>(t) - 40.0) * 0.5 + static_cast<double>(in.byte() % 8) * 0.0625;
    return base > limit ? limit : base;
}

minihost::Contour contour(ByteReader& in) {
    const int vertices = in.byte() % 7;
    minihost::Contour c;
    c.reserve(static_cast<std::size_t>(vertices));
    for (int v = 0; v < vertices; ++v) {
        PF_PathVertex vertex{};
        vertex.x = coordinate(in);
        vertex.y = coordinate(in);
        // Straight segments mostly; a curve when the flag says so.
        if (in.byte() % 4 == 0) {
            vertex.tan_in_x = coordinate(in);
            vertex.tan_in_y = coordinate(in);
            vertex.tan_out_x = coordinate(in);
            vertex.tan_out_y = coordinate(in);
        } else {
            vertex.tan_in_x = vertex.tan_out_x = vertex.x;
            vertex.tan_in_y = vertex.tan_out_y = vertex.y;
        }
        c.push_back(vertex);
    }
    return c;
}

PF_RationalScale downsample(ByteReader& in) {
    const std::uint8_t b = in.byte();
    // Numerator -1 to 4, denominator 0 to 4: zero denominators included.
    return PF_RationalScale{static_cast<A_long>(b % 6) - 1, static_cast<A_u_long>((b / 6) % 5)};
}

}  // namespace

OutlineScene decodeOutlineScene(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    OutlineScene s;
    const minihost::Depth depths[] = {minihost::Depth::k8, minihost::Depth::k16, minihost::Depth::k32};
    s.depth = depths[in.byte() % 3];
    s.api_minor = in.byte() % 2 == 0 ? 28 : 14;
    if (in.byte() % 4 == 0) {
        s.downsample_x = downsample(in);
        s.downsample_y = downsample(in);
    }
    const std::uint8_t scale = in.byte();
    if (scale % 4 == 0) {
        s.scale_x = (static_cast<double>(in.byte()) - 64.0) * 2.0;
        s.scale_y = (static_cast<double>(in.byte()) - 64.0) * 2.0;
    }

    s.controls.reserve(8 + 2 * 2);
    s.controls.push_back({PARAM_TEXT_MODE, static_cast<double>(in.byte() % 4)});
    s.controls.push_back({PARAM_TEXT_ALIGNMENT, static_cast<double>(in.byte() % 5)});
    s.controls.push_back({PARAM_ENABLE_GUIDE, static_cast<double>(in.byte() % 2)});
    s.controls.push_back({PARAM_CHARACTER_SIZE, controlValue(in, 100.0)});
    s.controls.push_back({PARAM_X_THRESHOLD, controlValue(in, 100.0)});
    s.controls.push_back({PARAM_Y_THRESHOLD, controlValue(in, 100.0)});
    s.controls.push_back({PARAM_TRACKING, controlValue(in, 100.0)});
    // The margin multiplies every world's area: at most 8 pixels of it.
    s.controls.push_back({PARAM_BUFFER_EXPANSION, controlValue(in, 8.0)});
    for (int pair = 1; pair <= 2; ++pair) {
        s.controls.push_back({pairIndexParam(pair), static_cast<double>(in.byte() % 8)});
        s.controls.push_back({pairSizeParam(pair), controlValue(in, 100.0)});
    }

    const int glyphs = in.byte() % 24;
    s.glyphs.reserve(static_cast<std::size_t>(glyphs));
    for (int g = 0; g < glyphs && !in.done(); ++g) {
        minihost::Glyph glyph;
        const int contours = in.byte() % 4;
        glyph.contours.reserve(static_cast<std::size_t>(contours));
        for (int c = 0; c < contours; ++c) {
            glyph.contours.push_back(contour(in));
        }
        s.glyphs.push_back(std::move(glyph));
    }
    return s;
}

namespace {

minihost::Host& sharedHost() {
    static const std::unique_ptr<minihost::Host> host = [] {
        auto h = std::make_unique<minihost::Host>(QA_PLUGIN_PATH);
        if (h->setUp() != PF_Err_NONE) {
            std::fprintf(stderr, "set-up failed\n");
            std::abort();
        }
        h->layer().setCompSize(64, 32);
        h->layer().setPosition(16, 14);
        return h;
    }();
    return *host;
}

}  // namespace

void renderOutlineScene(OutlineScene scene) {
    minihost::Host& host = sharedHost();
    host.params().setValue(PARAM_TEXT_MODE, 1);
    host.params().setValue(PARAM_ENABLE_GUIDE, 1);
    for (int pair = 1; pair <= kCustomSizePairs; ++pair) {
        host.params().setValue(pairIndexParam(pair), 0);
    }
    for (const ControlValue& c : scene.controls) {
        host.params().setValue(c.index, c.value);
    }
    host.layer().setScale(scene.scale_x, scene.scale_y);
    const std::size_t glyphs = scene.glyphs.size();
    host.layer().setGlyphs(std::move(scene.glyphs));
    host.config().depth = scene.depth;
    host.config().api_minor = scene.api_minor;
    host.config().downsample_x = scene.downsample_x;
    host.config().downsample_y = scene.downsample_y;
    minihost::FrameRequest request;
    // The host cannot size a layer whose downsample it cannot describe.
    request.rect = PF_LRect{-8, -8, 72, 40};
    const minihost::Frame frame = host.renderFrame(request);

    // Success, or the host's own refusal: of a world it will not make, or of
    // a layer matrix it cannot decompose.
    const PF_Err err = frame.render_err;
    if (frame.pre_render_err != PF_Err_NONE ||
        (err != PF_Err_NONE && err != PF_Err_OUT_OF_MEMORY && err != A_Err_PARAMETER)) {
        std::fprintf(stderr, "unexpected answer: pre-render %d, render %d\n", frame.pre_render_err, err);
        std::abort();
    }
    // QA_FUZZ_VERBOSE=1 shows what each input made of the frame.
    static const bool verbose = std::getenv("QA_FUZZ_VERBOSE") != nullptr;
    if (verbose) {
        std::fprintf(stderr, "%zu glyphs: render %d, %d worlds\n", glyphs, err, host.ledger().last().worlds_created);
    }
    if (!host.ledger().clean()) {
        std::fprintf(stderr, "%s\n", host.ledger().report().c_str());
        std::abort();
    }
    // Forgotten at once, so that what a run allocates it also frees: libFuzzer
    // runs a leak check (a scan of the whole heap) after every new input
    // whose allocations do not balance.
    host.ledger().clear();
    host.layer().setGlyphs({});
}

}  // namespace qa_fuzz
