#include "minihost/model/layer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "minihost/model/matrix4.h"
#include "minihost/pixels/outline_fill.h"
#include "minihost/pixels/world_ops.h"

namespace minihost {

void AnimatedPoint::set(double x, double y) {
    x_.set(x);
    y_.set(y);
}

void AnimatedPoint::setKeyframes(const std::vector<PointKeyframe>& keys) {
    std::vector<Keyframe> xs, ys;
    for (const PointKeyframe& k : keys) {
        xs.push_back({k.seconds, k.x});
        ys.push_back({k.seconds, k.y});
    }
    x_.setKeyframes(std::move(xs), Interpolation::kLinear);
    y_.setKeyframes(std::move(ys), Interpolation::kLinear);
}

A_Matrix4 LayerTransform::matrixAt(double seconds) const {
    const A_FloatPoint s = scale.at(seconds);
    return layerMatrix(anchor.at(seconds), {s.x * 0.01, s.y * 0.01}, rotation_degrees * std::numbers::pi / 180.0,
                       position.at(seconds));
}

Layer::Layer() = default;

void Layer::setCompSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("comp size must be positive");
    }
    comp_width_ = width;
    comp_height_ = height;
}

void Layer::setGlyphs(std::vector<Glyph> glyphs) { text_ = std::make_shared<ExactText>(std::move(glyphs)); }

A_Matrix4 Layer::worldMatrixAt(double comp_seconds) const {
    const A_Matrix4 own = transform_.matrixAt(comp_seconds - time_offset_);
    return parent_ ? multiply(own, parent_->matrixAt(comp_seconds)) : own;
}

namespace {

// The glyph's points from the text's coordinates into the comp's.
void mapGlyph(Glyph& g, const A_Matrix4& m) {
    const auto map = [&m](double& x, double& y) {
        const double nx = x * m.mat[0][0] + y * m.mat[1][0] + m.mat[3][0];
        const double ny = x * m.mat[0][1] + y * m.mat[1][1] + m.mat[3][1];
        x = nx;
        y = ny;
    };
    for (Contour& c : g.contours) {
        for (PF_PathVertex& v : c) {
            map(v.x, v.y);
            map(v.tan_in_x, v.tan_in_y);
            map(v.tan_out_x, v.tan_out_y);
        }
    }
}

}  // namespace

std::vector<Glyph> Layer::worldGlyphsAt(double layer_seconds) const {
    if (text_ == nullptr) {
        return {};
    }
    std::vector<Glyph> glyphs = text_->glyphsAt(layer_seconds);
    const A_Matrix4 m = worldMatrixAt(layer_seconds + time_offset_);
    for (Glyph& g : glyphs) mapGlyph(g, m);
    return glyphs;
}

template <typename Visit>
void Layer::visitWorldGlyphs(double layer_seconds, Visit visit) const {
    if (text_ == nullptr) {
        return;
    }
    // Glyphs that do not change are read where they are, and each is mapped
    // in a glyph kept per thread, whose lists keep their capacity: drawing
    // the layer and finding its bounds then copy nothing.
    std::vector<Glyph> made;
    const std::vector<Glyph>* glyphs = text_->fixedGlyphs();
    if (glyphs == nullptr) {
        made = text_->glyphsAt(layer_seconds);
        glyphs = &made;
    }
    const A_Matrix4 m = worldMatrixAt(layer_seconds + time_offset_);
    thread_local Glyph mapped;
    for (const Glyph& g : *glyphs) {
        mapped.contours = g.contours;
        mapped.color = g.color;
        mapGlyph(mapped, m);
        visit(static_cast<const Glyph&>(mapped));
    }
}

PF_Rect Layer::boundsAt(double layer_seconds, double dsx, double dsy) const {
    const PF_Rect comp{0, 0, static_cast<A_long>(std::ceil(comp_width_ * dsx)),
                       static_cast<A_long>(std::ceil(comp_height_ * dsy))};
    if (!bounds_cover_text_ || type_ != AEGP_ObjectType_TEXT) {
        return comp;
    }
    double left = 0.0, top = 0.0, right = comp_width_, bottom = comp_height_;
    const auto cover = [&](double x, double y) {
        if (std::isfinite(x) && std::isfinite(y)) {
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    };
    // The vertices with their tangent points hold every curve between them.
    visitWorldGlyphs(layer_seconds, [&cover](const Glyph& g) {
        for (const Contour& c : g.contours) {
            for (const PF_PathVertex& v : c) {
                cover(v.x, v.y);
                cover(v.tan_in_x, v.tan_in_y);
                cover(v.tan_out_x, v.tan_out_y);
            }
        }
    });
    const auto clampTo = [](double v, double lo, double hi) { return std::max(lo, std::min(hi, v)); };
    const double w = comp_width_;
    const double h = comp_height_;
    return PF_Rect{static_cast<A_long>(std::floor(clampTo(left, -w, 0.0) * dsx)),
                   static_cast<A_long>(std::floor(clampTo(top, -h, 0.0) * dsy)),
                   static_cast<A_long>(std::ceil(clampTo(right, w, 2.0 * w) * dsx)),
                   static_cast<A_long>(std::ceil(clampTo(bottom, h, 2.0 * h) * dsy))};
}

void Layer::draw(PF_EffectWorld& world, double layer_seconds, double dsx, double dsy) const {
    if (type_ == AEGP_ObjectType_TEXT) {
        visitWorldGlyphs(layer_seconds, [&](const Glyph& g) {
            fillOutlines(world, g.contours, g.color, dsx, dsy, -world.origin_x, -world.origin_y);
        });
        return;
    }
    if (solid_.alpha == 0) {
        return;
    }
    // The layer's bounds at this resolution, in buffer pixels.
    const PF_Rect bounds{static_cast<A_long>(0 - world.origin_x), static_cast<A_long>(0 - world.origin_y),
                         static_cast<A_long>(std::ceil(comp_width_ * dsx)) - world.origin_x,
                         static_cast<A_long>(std::ceil(comp_height_ * dsy)) - world.origin_y};
    (void)fillWorld(&solid_, &bounds, &world);
}

}  // namespace minihost
