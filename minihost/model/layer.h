// The layer the effect is applied to.
//
// Its object type (AEGP_ObjectType_TEXT by default; AEGP_ObjectType_AV for a
// solid or footage, ...), its 2D transform (anchor point and position in
// pixels, scale in percent, rotation in degrees; anchor, position and scale
// may be animated), an optional parent transform, the offset between layer
// time and comp time, and the comp's size. Layer space is the comp's pixel
// space: the layer's bounds are the comp rectangle (0, 0, width, height) and
// its image is drawn with the full layer-to-world transform applied.
//
// Content: a text layer's glyphs come from a TextSource (text_source.h); any
// other layer shows a solid colour over its bounds.
//
// Times: the layer's own keyframes are in layer seconds; the parent's in comp
// seconds; comp time = layer time + time offset. Read-only while frames
// render.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "AE_GeneralPlug.h"
#include "minihost/model/animated.h"
#include "minihost/model/text_source.h"

namespace minihost {

struct PointKeyframe {
    double seconds;
    double x, y;
};

class AnimatedPoint {
public:
    AnimatedPoint(double x = 0.0, double y = 0.0) : x_(x), y_(y) {}
    void set(double x, double y);
    /// Linear between keyframes; throws std::invalid_argument for an empty
    /// list or two keyframes at one time.
    void setKeyframes(const std::vector<PointKeyframe>& keys);
    A_FloatPoint at(double seconds) const { return {x_.at(seconds), y_.at(seconds)}; }

private:
    Animated x_, y_;
};

struct LayerTransform {
    AnimatedPoint anchor;               // pixels
    AnimatedPoint position;             // pixels
    AnimatedPoint scale{100.0, 100.0};  // percent
    double rotation_degrees = 0.0;

    A_Matrix4 matrixAt(double seconds) const;
};

class Layer {
public:
    Layer();

    void setObjectType(AEGP_ObjectType type) { type_ = type; }
    AEGP_ObjectType objectType() const { return type_; }

    LayerTransform& transform() { return transform_; }
    const LayerTransform& transform() const { return transform_; }
    void setPosition(double x, double y) { transform_.position.set(x, y); }
    void setScale(double x_percent, double y_percent) { transform_.scale.set(x_percent, y_percent); }
    void setAnchor(double x, double y) { transform_.anchor.set(x, y); }
    void setRotation(double degrees) { transform_.rotation_degrees = degrees; }

    /// The parent layer's transform (evaluated at comp time), or none.
    void setParent(std::optional<LayerTransform> parent) { parent_ = std::move(parent); }
    const std::optional<LayerTransform>& parent() const { return parent_; }

    /// Comp time = layer time + offset (seconds).
    void setTimeOffset(double seconds) { time_offset_ = seconds; }
    double timeOffset() const { return time_offset_; }

    /// Full-resolution comp size, the layer's bounds; 200 x 100 by default.
    void setCompSize(int width, int height);
    /// A text layer's image as the host hands it to an effect: the layer's
    /// own pixels, so the bounds also cover glyphs outside the comp (up to
    /// one comp width or height beyond each edge). Off by default: the
    /// bounds are the comp rectangle.
    void setBoundsCoverText(bool on) { bounds_cover_text_ = on; }
    int compWidth() const { return comp_width_; }
    int compHeight() const { return comp_height_; }

    void setText(std::shared_ptr<const TextSource> text) { text_ = std::move(text); }
    /// Shorthand: an ExactText with these glyphs.
    void setGlyphs(std::vector<Glyph> glyphs);
    const TextSource* text() const { return text_.get(); }
    /// Colour of a layer that is not a text layer; transparent by default.
    void setSolidColor(PF_Pixel color) { solid_ = color; }

    // Host side.
    /// Layer-to-world matrix at a comp time: own transform, then the parent's.
    A_Matrix4 worldMatrixAt(double comp_seconds) const;
    /// The glyphs at a layer time, mapped into comp pixels at full resolution.
    std::vector<Glyph> worldGlyphsAt(double layer_seconds) const;
    /// The layer's bounds at a layer time, in pixels at downsample dsx, dsy.
    PF_Rect boundsAt(double layer_seconds, double dsx, double dsy) const;
    /// Draws the layer into a host world (already cleared) whose buffer pixel
    /// (0, 0) is at (origin_x, origin_y) of the layer at downsample dsx, dsy.
    void draw(PF_EffectWorld& world, double layer_seconds, double dsx, double dsy) const;

private:
    /// Calls visit with each glyph of worldGlyphsAt in turn, one at a time.
    template <typename Visit>
    void visitWorldGlyphs(double layer_seconds, Visit visit) const;

    AEGP_ObjectType type_ = AEGP_ObjectType_TEXT;
    LayerTransform transform_;
    std::optional<LayerTransform> parent_;
    double time_offset_ = 0.0;
    int comp_width_ = 200;
    int comp_height_ = 100;
    bool bounds_cover_text_ = false;
    std::shared_ptr<const TextSource> text_;
    PF_Pixel solid_{0, 0, 0, 0};
};

}  // namespace minihost
