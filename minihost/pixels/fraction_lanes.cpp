// Compiled once per vector instruction set (Highway's foreach_target); the
// best one the machine runs is picked at the first call. Each lane repeats
// the one-pixel arithmetic of transform_world.cpp (Accumulator::add and
// colour, then compositeOnto and fromRgba) operation for operation: no fused
// multiply-add, exact division, the same clamps and the same truncation.
#include "minihost/pixels/detail/fraction_lanes.h"

#include <cstdint>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "minihost/pixels/fraction_lanes.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace minihost::pixels_detail {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using DU = hn::ScalableTag<std::uint32_t>;
using DF = hn::Rebind<float, DU>;
using DI = hn::Rebind<std::int32_t, DU>;
using VU = hn::Vec<DU>;
using VF = hn::Vec<DF>;

struct Lanes4 {
    VF a, r, g, b;
};

// PF_Pixel8 is alpha, red, green, blue in memory: one 32-bit word, alpha in
// its low byte.
HWY_INLINE VF channel(DF df, VU packed, int shift) {
    const DU du;
    const DI di;
    const VU byte = hn::And(hn::ShiftRightSame(packed, shift), hn::Set(du, 0xFFu));
    // PixelTraits<PF_Pixel8>::toUnit
    return hn::Mul(hn::ConvertTo(df, hn::BitCast(di, byte)), hn::Set(df, 1.0f / 255.0f));
}

HWY_INLINE Lanes4 unpack(DF df, const PF_Pixel8* p) {
    const DU du;
    const VU packed = hn::LoadU(du, reinterpret_cast<const std::uint32_t*>(p));
    return Lanes4{channel(df, packed, 0), channel(df, packed, 8), channel(df, packed, 16), channel(df, packed, 24)};
}

// PixelTraits<PF_Pixel8>::fromUnit: clamped, scaled, a half added, truncated.
HWY_INLINE VU toChannel(DF df, VF v, int shift) {
    const DU du;
    const DI di;
    const VF clamped = hn::Min(hn::Max(v, hn::Zero(df)), hn::Set(df, 1.0f));
    const VF scaled = hn::Add(hn::Mul(clamped, hn::Set(df, 255.0f)), hn::Set(df, 0.5f));
    return hn::ShiftLeftSame(hn::BitCast(du, hn::ConvertTo(di, scaled)), shift);
}

// One vector of pixels starting at offset; lanes below skip are left alone
// (already done by the vector before, which this one overlaps).
HWY_INLINE void compositeLanes(const FractionRun& run, int offset, int skip) {
    const DU du;
    const DF df;
    const VF zero = hn::Zero(df);
    const VF one = hn::Set(df, 1.0f);
    // Accumulator::add, tap by tap in the same order.
    VF a = zero, r = zero, g = zero, b = zero;
    Lanes4 first{zero, zero, zero, zero};
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            if (run.taps[j][i] == nullptr) continue;
            const Lanes4 c = unpack(df, run.taps[j][i] + offset);
            const VF w = hn::Set(df, run.weights[j][i]);
            const VF wa = hn::Mul(w, c.a);
            a = hn::Add(a, wa);
            r = hn::Add(r, hn::Mul(wa, c.r));
            g = hn::Add(g, hn::Mul(wa, c.g));
            b = hn::Add(b, hn::Mul(wa, c.b));
            first = c;
        }
    auto keep = hn::Gt(a, zero);
    // Accumulator::colour for one sample (a / 1 is a, exactly).
    Lanes4 s;
    s.a = hn::Mul(a, hn::Set(df, run.opacity));
    if (run.whole) {
        s.r = first.r;
        s.g = first.g;
        s.b = first.b;
    } else {
        // Lanes without alpha divide by zero here; they are not kept.
        s.r = hn::Div(r, a);
        s.g = hn::Div(g, a);
        s.b = hn::Div(b, a);
    }
    // compositeOnto.
    const VF sa = hn::Min(s.a, one);
    keep = hn::And(keep, hn::Gt(sa, zero));
    if (skip > 0) keep = hn::AndNot(hn::FirstN(df, static_cast<std::size_t>(skip)), keep);
    if (hn::AllFalse(df, keep)) return;
    PF_Pixel8* d = run.dst + offset;
    const VU before = hn::LoadU(du, reinterpret_cast<const std::uint32_t*>(d));
    const Lanes4 dst{channel(df, before, 0), channel(df, before, 8), channel(df, before, 16), channel(df, before, 24)};
    const VF da = hn::Min(hn::Max(dst.a, zero), one);
    const VF out_a = hn::Add(sa, hn::Mul(da, hn::Sub(one, sa)));
    const VF t = hn::Div(sa, out_a);
    const VF u = hn::Sub(one, t);
    VF out_r, out_g, out_b;
    if (run.screen) {
        const VF clear = hn::Sub(one, da);
        const auto screened = [&](VF sc, VF dc) {
            return hn::Add(hn::Mul(clear, sc), hn::Mul(da, hn::Sub(hn::Add(sc, dc), hn::Mul(sc, dc))));
        };
        out_r = hn::Add(hn::Mul(screened(s.r, dst.r), t), hn::Mul(dst.r, u));
        out_g = hn::Add(hn::Mul(screened(s.g, dst.g), t), hn::Mul(dst.g, u));
        out_b = hn::Add(hn::Mul(screened(s.b, dst.b), t), hn::Mul(dst.b, u));
    } else {
        out_r = hn::Add(hn::Mul(s.r, t), hn::Mul(dst.r, u));
        out_g = hn::Add(hn::Mul(s.g, t), hn::Mul(dst.g, u));
        out_b = hn::Add(hn::Mul(s.b, t), hn::Mul(dst.b, u));
    }
    const VU packed = hn::Or(hn::Or(toChannel(df, out_a, 0), toChannel(df, out_r, 8)),
                             hn::Or(toChannel(df, out_g, 16), toChannel(df, out_b, 24)));
    const VU result = hn::IfThenElse(hn::RebindMask(du, keep), packed, before);
    hn::StoreU(result, du, reinterpret_cast<std::uint32_t*>(d));
}

int FractionLanes() { return static_cast<int>(hn::Lanes(DU())); }

void CompositeFractionRun(const FractionRun& run) {
    const int n = static_cast<int>(hn::Lanes(DU()));
    int offset = 0;
    for (; offset + n <= run.count; offset += n) compositeLanes(run, offset, 0);
    if (offset < run.count) compositeLanes(run, run.count - n, offset - (run.count - n));
}

}  // namespace HWY_NAMESPACE
}  // namespace minihost::pixels_detail
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace minihost::pixels_detail {

HWY_EXPORT(FractionLanes);
HWY_EXPORT(CompositeFractionRun);

int fractionLanes() noexcept { return HWY_DYNAMIC_DISPATCH(FractionLanes)(); }

void compositeFractionRun(const FractionRun& run) noexcept { HWY_DYNAMIC_DISPATCH(CompositeFractionRun)(run); }

}  // namespace minihost::pixels_detail
#endif
