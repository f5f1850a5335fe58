#include "minihost/pixels/world.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#include "minihost/pixels/detail/pixel_kernels.h"
#include "minihost/pixels/detail/world_check.h"
#include "minihost/pixels/detail/world_memory.h"

namespace minihost {
namespace {

constexpr int kRowPadding = 64;

void checkPixelAccess(const PF_EffectWorld& world, int x, int y) {
    if (!pixels_detail::checkWorld(&world)) throw std::invalid_argument("world is not usable");
    if (x < 0 || y < 0 || x >= world.width || y >= world.height) throw std::out_of_range("pixel outside the world");
}

}  // namespace

A_long paddedRowBytes(int width, Depth depth) {
    const std::int64_t bytes = static_cast<std::int64_t>(width) * pixelBytes(depth) + kRowPadding;
    return static_cast<A_long>((bytes + 15) / 16 * 16);
}

PF_Err allocateWorld(PF_EffectWorld& world, int width, int height, Depth depth) noexcept {
    world = PF_EffectWorld{};
    if (width < 0 || height < 0) return PF_Err_BAD_CALLBACK_PARAM;
    if (width > kMaxWorldSide || height > kMaxWorldSide) return PF_Err_OUT_OF_MEMORY;
    const A_long rowbytes = paddedRowBytes(width, depth);
    // Never a null buffer, even for an empty world, so that data marks a live world.
    const std::size_t bytes =
        std::max<std::size_t>(static_cast<std::size_t>(rowbytes) * static_cast<std::size_t>(height), 16);
    void* data = pixels_detail::takeWorldMemory(bytes);
    if (data == nullptr) return PF_Err_OUT_OF_MEMORY;

    world.world_flags = depth == Depth::k8 ? PF_WorldFlag_WRITEABLE : PF_WorldFlag_WRITEABLE | PF_WorldFlag_DEEP;
    world.data = static_cast<PF_PixelPtr>(data);
    world.rowbytes = rowbytes;
    world.width = width;
    world.height = height;
    world.extent_hint = PF_Rect{0, 0, width, height};
    world.reserved_long1 = static_cast<A_long>(pixelFormatOf(depth));
    world.pix_aspect_ratio = PF_RationalScale{1, 1};
    return PF_Err_NONE;
}

void freeWorld(PF_EffectWorld& world) noexcept {
    pixels_detail::giveBackWorldMemory(world.data);
    world = PF_EffectWorld{};
}

Rgba readPixel(const PF_EffectWorld& world, int x, int y) {
    checkPixelAccess(world, x, y);
    return pixels_detail::dispatch(depthOf(world), [&](auto tag) {
        using P = decltype(tag);
        return pixels_detail::toRgba(pixels_detail::rowOf<P>(world, y)[x]);
    });
}

void writePixel(PF_EffectWorld& world, int x, int y, Rgba colour) {
    checkPixelAccess(world, x, y);
    pixels_detail::dispatch(depthOf(world), [&](auto tag) {
        using P = decltype(tag);
        pixels_detail::rowOf<P>(world, y)[x] = pixels_detail::fromRgba<P>(colour);
    });
}

World::World(int width, int height, Depth depth, int origin_x, int origin_y) : depth_(depth) {
    if (width < 0 || height < 0 || width > kMaxWorldSide || height > kMaxWorldSide)
        throw std::invalid_argument("world size out of range");
    if (allocateWorld(world_, width, height, depth) != PF_Err_NONE) throw std::bad_alloc();
    world_.origin_x = origin_x;
    world_.origin_y = origin_y;
}

World::~World() { freeWorld(world_); }

World::World(World&& other) noexcept : world_(std::exchange(other.world_, PF_EffectWorld{})), depth_(other.depth_) {}

World& World::operator=(World&& other) noexcept {
    if (this != &other) {
        freeWorld(world_);
        world_ = std::exchange(other.world_, PF_EffectWorld{});
        depth_ = other.depth_;
    }
    return *this;
}

Rgba World::at(int x, int y) const { return readPixel(world_, x, y); }

void World::set(int x, int y, Rgba colour) { writePixel(world_, x, y, colour); }

}  // namespace minihost
