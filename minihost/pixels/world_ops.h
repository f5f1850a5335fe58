// The work of the three pixel callbacks (fill, copy, transform_world) on
// worlds of any of the three depths, without any host state: the host wraps
// them with its ledger and fault injection. They keep no state of their own
// and may run on several threads at once on different worlds.
//
// Rules shared by all three:
// - Rectangles are in buffer pixels, left/top inclusive, right/bottom
//   exclusive; origin_x/origin_y play no part. A rectangle whose right is
//   left of its left (or bottom above top) is rejected.
// - Rows are walked by rowbytes; bytes between the last pixel of a row and
//   the next row are never read or written.
// - A world is accepted when it is not null, its format code is one of the
//   three, width and height are not negative, data is not null (unless the
//   world is empty), data and rowbytes suit the pixel type and rowbytes holds
//   a whole row. Anything else answers PF_Err_BAD_CALLBACK_PARAM and nothing
//   is written.
// - Errors: PF_Err_BAD_CALLBACK_PARAM for any argument these rules reject;
//   PF_Err_OUT_OF_MEMORY when scratch memory cannot be had. Nothing throws.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCB.h"

namespace minihost {

/// Fills rect (null: the whole world), clipped to the world, with colour
/// (null: transparent black). The 8-bit colour is converted to the world's
/// depth: 16-bit channels are v x 32768 / 255 rounded to nearest, float
/// channels v / 255.
PF_Err fillWorld(const PF_Pixel* color, const PF_Rect* rect, PF_EffectWorld* world) noexcept;

/// Copies src_r of src (null: all of src) one to one to dst_r of dst (null:
/// all of dst). Both rectangles must have the same size and both worlds the
/// same depth, else PF_Err_BAD_CALLBACK_PARAM and nothing is copied. Where
/// src_r leaves the source buffer the destination pixels become transparent
/// black; where dst_r leaves the destination buffer nothing is written.
/// src and dst may be the same world, with overlapping rectangles.
PF_Err copyWorld(const PF_EffectWorld* src, PF_EffectWorld* dst, const PF_Rect* src_r, const PF_Rect* dst_r) noexcept;

/// Composites src onto dst through a 3x3 matrix with row vectors:
/// (x, y, 1) x M = (X, Y, W) and the point is (X / W, Y / W). With
/// src2dst_matrix true the matrices map source positions to destination
/// positions, else destination to source.
///
/// Positions are continuous: pixel (i, j) covers [i, i+1) x [j, j+1), its
/// centre is (i + 0.5, j + 0.5). Each destination pixel centre is mapped into
/// the source and sampled there: bilinearly between the four nearest source
/// pixel centres at PF_Quality_HI, the source pixel containing the point at
/// PF_Quality_LO. Samples outside the source buffer are transparent.
/// Bilinear sampling weights colour by alpha. A translation by whole pixels
/// (tx, ty) takes source pixel (x, y) to destination pixel (x + tx, y + ty)
/// unresampled, whatever the quality: the colour composited is the source's
/// exactly. A translation by half a pixel mixes two neighbours half and half.
///
/// Compositing, straight alpha, with source s and destination d (colour
/// channels c, alpha a), as = s.a x opacity:
///   out.a = as + d.a x (1 - as)
///   out.c = t x c' + (1 - t) x d.c, where t = as / out.a
/// and c' = s.c for PF_Xfer_IN_FRONT (source over destination), and for
/// PF_Xfer_SCREEN c' = (1 - d.a) x s.c + d.a x (s.c + d.c - s.c x d.c):
/// the screen of both colours where the destination is opaque, the source's
/// own colour where it is transparent, weighted in between. Where as is 0 the
/// destination pixel is left untouched. On an opaque destination SCREEN gives
/// d.c + as x (screen(s.c, d.c) - d.c).
///
/// Opacity: comp_mode->opacity / 255 for 8-bit worlds, comp_mode->opacitySu /
/// 32768 for 16- and 32-bit worlds (opacitySu above 32768 is rejected).
///
/// Only dest_rect (null: the whole destination) clipped to the destination
/// buffer is written. src and dst must have the same depth and be different
/// worlds.
///
/// Supported, all else answers PF_Err_BAD_CALLBACK_PARAM:
/// - quality PF_Quality_LO or PF_Quality_HI; field any of the three values
///   (the whole frame is rendered whatever the field);
/// - m_flags PF_MF_Alpha_STRAIGHT;
/// - comp_mode not null, xfer PF_Xfer_IN_FRONT or PF_Xfer_SCREEN, rgb_only
///   FALSE;
/// - no mask world;
/// - num_matrices >= 1 invertible matrices. Several matrices are motion
///   blur: the source is sampled through each of them and the samples are
///   averaged (weighted by alpha) before compositing once.
PF_Err transformWorld(PF_Quality quality, PF_ModeFlags m_flags, PF_Field field, const PF_EffectWorld* src,
                      const PF_CompositeMode* comp_mode, const PF_MaskWorld* mask, const PF_FloatMatrix* matrices,
                      A_long num_matrices, PF_Boolean src2dst_matrix, const PF_Rect* dest_rect,
                      PF_EffectWorld* dst) noexcept;

}  // namespace minihost
