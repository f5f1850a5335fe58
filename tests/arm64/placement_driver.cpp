// Prints, bit for bit, what grouping, layout and the matrix helpers make of a
// fixed set of random scenes. Built natively and for aarch64 (run under
// qemu): the two outputs must be identical, or a placement would differ
// between an Intel and an Apple-silicon Mac.
//
//   placement_driver [scenes]     (default 400; the seed is fixed)
//
// Output: one line per character and per placement, every double as its
// 64-bit pattern; the last line counts scenes and characters.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "geometry/text_characters.h"
#include "render/layout.h"
#include "render/matrix.h"

namespace {

// A fixed generator (SplitMix64): the same numbers on every machine.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // In [0, 1), 53 bits.
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double in(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

std::uint64_t bits(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

void put(double d) { std::printf(" %016" PRIx64, bits(d)); }

path randomPath(Random& r, double x, double y, double scale) {
    path p;
    const int n = 1 + r.below(6);
    for (int i = 0; i < n; ++i) {
        PF_PathVertex v{};
        // Products and sums of inexact numbers: what fused multiply-adds change.
        v.x = (x + r.in(0.0, 9.0)) * scale;
        v.y = (y + r.in(-12.0, 2.0)) * scale;
        v.tan_in_x = r.in(-1.5, 1.5) * scale;
        v.tan_in_y = r.in(-1.5, 1.5) * scale;
        v.tan_out_x = -v.tan_in_x * 0.7 + r.unit() * 0.3;
        v.tan_out_y = -v.tan_in_y * 0.7 + r.unit() * 0.3;
        p.vertices.push_back(v);
    }
    p.segment_count = static_cast<A_long>(p.vertices.size());
    bool first = true;
    for (const PF_PathVertex& v : p.vertices) {
        for (const auto& [px, py] : {std::pair{v.x, v.y}, std::pair{v.x + v.tan_in_x, v.y + v.tan_in_y},
                                     std::pair{v.x + v.tan_out_x, v.y + v.tan_out_y}}) {
            p.left = first ? px : std::min(p.left, px);
            p.right = first ? px : std::max(p.right, px);
            p.top = first ? py : std::min(p.top, py);
            p.bottom = first ? py : std::max(p.bottom, py);
            first = false;
        }
    }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    const long scenes = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 400;
    if (scenes <= 0 || scenes > 1000000) {
        std::fprintf(stderr, "usage: placement_driver [scenes: 1..1000000]\n");
        return 2;
    }
    Random r{0x51a7c0de2026ull};
    long characters = 0;
    for (long s = 0; s < scenes; ++s) {
        const double scale = r.in(0.1, 3.0);
        const int glyphs = 1 + r.below(40);
        std::vector<path> paths;
        double x = r.in(-50.0, 50.0);
        const double y = r.in(-30.0, 30.0);
        for (int g = 0; g < glyphs; ++g) {
            const int parts = 1 + r.below(3);
            for (int k = 0; k < parts; ++k) {
                paths.push_back(randomPath(r, x + r.in(0.0, 2.0), y, scale));
            }
            x += r.in(4.0, 14.0);
        }
        RenderSettings settings;
        settings.horizontal = r.below(2) == 0;
        settings.alignment = 1 + r.below(3);
        settings.start = r.in(-200.0, 200.0);
        settings.cell_size = r.below(80);
        for (custom_size& c : settings.custom_sizes) {
            c.index = r.below(3) == 0 ? 1 + r.below(glyphs) : -1;
            c.size = r.below(90);
        }
        settings.track_step = r.in(-20.0, 20.0) * scale;
        settings.expansion = r.below(6);
        const double xt = r.in(0.0, 3.0);
        const double yt = r.in(0.0, 3.0);
        groupCharacters(paths, xt, yt, settings.alignment, settings.expansion, settings.characters);
        std::printf("scene %ld: %zu characters\n", s, settings.characters.size());
        for (const character& c : settings.characters) {
            std::printf("c %d %d", static_cast<int>(c.path_count), static_cast<int>(c.slot));
            put(c.left), put(c.top), put(c.right), put(c.bottom);
            std::printf("\n");
        }
        characters += static_cast<long>(settings.characters.size());
        const world_origins origins{r.below(50) - 25, r.below(50) - 25, r.below(50) - 25, r.below(50) - 25};
        run_state run = prepareRun(settings);
        for (std::size_t k = 0; k < settings.characters.size(); ++k) {
            placement p;
            if (!computePlacement(settings, run, k, origins, p)) {
                std::printf("p %zu skipped\n", k);
                continue;
            }
            std::printf("p %zu %d %d %d %d %d %d %d %d", k, static_cast<int>(p.cell), static_cast<int>(p.advance),
                        static_cast<int>(p.source_rect.left), static_cast<int>(p.source_rect.top),
                        static_cast<int>(p.source_rect.right), static_cast<int>(p.source_rect.bottom),
                        static_cast<int>(p.width), static_cast<int>(p.height));
            put(p.extent), put(p.center_offset), put(p.fraction_x), put(p.fraction_y), put(p.cell_start);
            for (const auto& row : p.translation.mat) {
                for (const double v : row) {
                    put(v);
                }
            }
            std::printf("\n");
        }
        // The matrix helpers on inexact numbers: a chain of translations and
        // products, where a fused multiply-add would round differently.
        PF_FloatMatrix m;
        SetIdentityMatrix(m);
        PF_FloatMatrix other;
        for (auto& row : other.mat) {
            for (double& v : row) {
                v = r.in(-2.0, 2.0);
            }
        }
        // Drawn one after the other: argument order differs between compilers.
        const double tx = r.in(-100.0, 100.0);
        const double ty = r.in(-100.0, 100.0);
        TranslateMatrix(m, tx, ty);
        CCU_ConcatMatrix(other, m);
        CCU_ConcatMatrix(m, m);
        std::printf("m");
        for (const auto& row : m.mat) {
            for (const double v : row) {
                put(v);
            }
        }
        std::printf("\n");
    }
    std::printf("scenes %ld characters %ld\n", scenes, characters);
    return 0;
}
