#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "layout_fixtures.h"
#include "render/guide_overlay.h"

namespace {

std::vector<double> cellStarts(const std::vector<laid_out>& run) {
    std::vector<double> starts;
    for (const laid_out& l : run) {
        starts.push_back(l.p.cell_start);
    }
    return starts;
}

TEST(LeftLayout, CellsFollowEachOtherFromStart) {
    RenderSettings s = settingsFor(ALIGN_LEFT, row(3, ALIGN_LEFT));
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(cellStarts(run), (std::vector<double>{100, 150, 200}));
    for (const laid_out& l : run) {
        EXPECT_EQ(l.p.cell, 50);
        EXPECT_EQ(l.p.advance, 50);
        // A 20-pixel box is centred in its 50-pixel cell.
        EXPECT_DOUBLE_EQ(l.p.center_offset, 15.0);
        EXPECT_DOUBLE_EQ(landedEdge(s, l.p), l.p.cell_start + 15.0);
    }
}

TEST(LeftLayout, ExpansionSeparatesCellsByTwiceItself) {
    // Grouping has already grown each box by the expansion.
    std::vector<character> cs = row(3, ALIGN_LEFT);
    for (character& c : cs) {
        c.left -= 5;
        c.top -= 5;
        c.right += 5;
        c.bottom += 5;
    }
    RenderSettings s = settingsFor(ALIGN_LEFT, cs, 100.0, 50, 5);
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(cellStarts(run), (std::vector<double>{100, 160, 220}));
    const placement& first = run[0].p;
    EXPECT_EQ(first.advance, 60);
    // floor(left) - e ... ceil(right) + e around the grown box.
    EXPECT_EQ(first.source_rect.left, 0);
    EXPECT_EQ(first.source_rect.top, -5);
    EXPECT_EQ(first.source_rect.right, 40);
    EXPECT_EQ(first.source_rect.bottom, 35);
    EXPECT_EQ(first.width, 40);
    EXPECT_EQ(first.height, 40);
    EXPECT_DOUBLE_EQ(landedEdge(s, first), 100.0 + (50.0 - 30.0) / 2);
}

TEST(LeftLayout, TrackingMovesTheFourthCharacterThreeSteps) {
    RenderSettings plain = settingsFor(ALIGN_LEFT, row(4, ALIGN_LEFT));
    RenderSettings tracked = settingsFor(ALIGN_LEFT, row(4, ALIGN_LEFT), 100.0, 50, 0, 10.0);
    const auto a = layOut(plain);
    const auto b = layOut(tracked);
    ASSERT_EQ(a.size(), 4u);
    ASSERT_EQ(b.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        // Tracking shifts the character, not its cell.
        EXPECT_EQ(a[k].p.cell_start, b[k].p.cell_start);
        EXPECT_DOUBLE_EQ(landedEdge(tracked, b[k].p) - landedEdge(plain, a[k].p), 10.0 * static_cast<double>(k));
    }
}

TEST(LeftLayout, FractionalBoxEdgeLandsExactlyAndRowsStay) {
    RenderSettings s = settingsFor(ALIGN_LEFT, {box(12.25, 7.5, 30.75, 20.0)});
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 1u);
    const placement& p = run[0].p;
    EXPECT_DOUBLE_EQ(p.fraction_x, 0.25);
    EXPECT_DOUBLE_EQ(p.fraction_y, 0.5);
    EXPECT_DOUBLE_EQ(landedEdge(s, p), 100.0 + (50.0 - 18.5) / 2);
    // Source row 0 (layer row floor(top)) goes to the same row.
    EXPECT_DOUBLE_EQ(p.translation.mat[2][1], 7.0);
}

TEST(LeftLayout, OutputOriginShiftsTheMoveAndInputOriginTheSourcePixels) {
    RenderSettings s = settingsFor(ALIGN_LEFT, {box(10, 5, 30, 25)});
    const world_origins origins{-4, 6, 7, -3};
    const auto run = layOut(s, origins);
    ASSERT_EQ(run.size(), 1u);
    const placement& p = run[0].p;
    EXPECT_DOUBLE_EQ(p.translation.mat[2][0], 115.0 - 7.0);  // source pixel 0 is the box edge
    EXPECT_DOUBLE_EQ(p.translation.mat[2][1], 5.0 + 3.0);
    EXPECT_EQ(p.buffer_rect.left, 14);
    EXPECT_EQ(p.buffer_rect.top, -1);
    EXPECT_EQ(p.buffer_rect.right, 34);
    EXPECT_EQ(p.buffer_rect.bottom, 19);
}

TEST(RightLayout, RunEndsAtStartAndCountsFromTheLastCharacter) {
    RenderSettings s = settingsFor(ALIGN_RIGHT, row(3, ALIGN_RIGHT));
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 3u);
    // Reversed: the last character of the text comes first, cell [50, 100].
    EXPECT_DOUBLE_EQ(s.characters[0].left, 70.0);
    EXPECT_EQ(cellStarts(run), (std::vector<double>{50, 0, -50}));
}

TEST(RightLayout, CharacterIndexOneResizesTheLastCharacter) {
    RenderSettings s = settingsFor(ALIGN_RIGHT, row(3, ALIGN_RIGHT));
    s.custom_sizes[0] = {1, 30};
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(run[0].p.cell, 30);
    EXPECT_DOUBLE_EQ(s.characters[0].left, 70.0);
    EXPECT_EQ(cellStarts(run), (std::vector<double>{70, 20, -30}));
}

TEST(RightLayout, ExpansionAndTrackingRunTowardsMinusX) {
    RenderSettings s = settingsFor(ALIGN_RIGHT, row(2, ALIGN_RIGHT), 100.0, 50, 5, 10.0);
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 2u);
    // cursor starts at start + 2e; the first cell ends at start + e.
    EXPECT_EQ(cellStarts(run), (std::vector<double>{50, -10}));
    // Slots after reversal: 0 then 1; the step is negated.
    EXPECT_DOUBLE_EQ(landedEdge(s, run[1].p), -10.0 + 15.0 - 10.0);
}

TEST(CustomSizes, FirstMatchingPairWinsAndIndexMinusOneNeverMatches) {
    RenderSettings s = settingsFor(ALIGN_LEFT, row(3, ALIGN_LEFT));
    s.custom_sizes[0] = {-1, 7};
    s.custom_sizes[1] = {2, 80};
    s.custom_sizes[2] = {2, 90};
    EXPECT_EQ(cell_for(s, 1), 50);
    EXPECT_EQ(cell_for(s, 2), 80);
    EXPECT_EQ(cell_for(s, 3), 50);
    EXPECT_EQ(cellStarts(layOut(s)), (std::vector<double>{100, 150, 230}));
}

TEST(CenterLayout, FourCellsCentredOnStart) {
    RenderSettings s = settingsFor(ALIGN_CENTER, row(4, ALIGN_CENTER), 500.0);
    EXPECT_EQ(cellStarts(layOut(s)), (std::vector<double>{400, 450, 500, 550}));
}

TEST(CenterLayout, ThreeCellsWithExpansionSpanEightyFiveEitherSide) {
    RenderSettings s = settingsFor(ALIGN_CENTER, row(3, ALIGN_CENTER), 500.0, 50, 5);
    EXPECT_EQ(cellStarts(layOut(s)), (std::vector<double>{415, 475, 535}));
}

TEST(CenterLayout, EvenCountMiddleGapGrowsByTwoSteps) {
    RenderSettings s = settingsFor(ALIGN_CENTER, row(4, ALIGN_CENTER), 500.0, 50, 0, 10.0);
    const std::vector<A_long> slots{s.characters[0].slot, s.characters[1].slot, s.characters[2].slot,
                                    s.characters[3].slot};
    EXPECT_EQ(slots, (std::vector<A_long>{-2, -1, 1, 2}));
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 4u);
    EXPECT_DOUBLE_EQ(landedEdge(s, run[1].p) - landedEdge(s, run[0].p), 60.0);
    EXPECT_DOUBLE_EQ(landedEdge(s, run[2].p) - landedEdge(s, run[1].p), 70.0);
    EXPECT_DOUBLE_EQ(landedEdge(s, run[3].p) - landedEdge(s, run[2].p), 60.0);
}

TEST(SkippedCharacters, ThinGlyphTakesNoRoomButKeepsItsColour) {
    std::vector<character> cs = row(3, ALIGN_LEFT);
    cs[1] = box(40.2, 5.0, 40.8, 25.0, 1);  // one pixel column
    RenderSettings s = settingsFor(ALIGN_LEFT, cs);
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(cellStarts(run), (std::vector<double>{100, 150}));
    EXPECT_EQ(run[1].k, 2u);
    const PF_Pixel& colour = guideColor(run[1].k);
    EXPECT_EQ(colour.blue, 128);
    EXPECT_EQ(colour.red, 0);
}

TEST(SkippedCharacters, OnePixelHighGlyphIsSkippedToo) {
    RenderSettings s = settingsFor(ALIGN_LEFT, {box(10, 5.1, 30, 5.9), box(40, 5, 60, 25)});
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(run[0].k, 1u);
    EXPECT_EQ(run[0].p.cell_start, 100.0);
}

TEST(SkippedCharacters, StillCountInTheCentringSum) {
    std::vector<character> cs = row(3, ALIGN_CENTER);
    cs[1] = box(40.2, 5.0, 40.8, 25.0, 0);
    RenderSettings s = settingsFor(ALIGN_CENTER, cs, 500.0);
    EXPECT_EQ(cellStarts(layOut(s)), (std::vector<double>{425, 475}));
}

TEST(SkippedCharacters, AdvanceBelowTwoSkipsEveryCharacter) {
    RenderSettings one = settingsFor(ALIGN_LEFT, row(3, ALIGN_LEFT), 100.0, 1);
    EXPECT_TRUE(layOut(one).empty());
    RenderSettings flipped = settingsFor(ALIGN_LEFT, row(3, ALIGN_LEFT), 100.0, -50);
    EXPECT_TRUE(layOut(flipped).empty());
    // An advance of exactly 2 is drawn.
    RenderSettings two = settingsFor(ALIGN_LEFT, row(3, ALIGN_LEFT), 100.0, 2);
    EXPECT_EQ(layOut(two).size(), 3u);
}

TEST(VerticalLayout, CellsRunAlongYAndColumnsStay) {
    std::vector<character> cs{box(10.5, 10, 30, 30, 0), box(12, 40, 28, 50, 1), box(11, 70, 29, 90, 2)};
    RenderSettings s = settingsFor(ALIGN_LEFT, cs, 100.0, 50, 0, 10.0);
    s.horizontal = false;
    const auto run = layOut(s);
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(cellStarts(run), (std::vector<double>{100, 150, 200}));
    EXPECT_DOUBLE_EQ(run[1].p.extent, 10.0);
    EXPECT_DOUBLE_EQ(landedEdge(s, run[1].p), 150.0 + 20.0 + 10.0);
    for (std::size_t k = 0; k < run.size(); ++k) {
        // Source column 0 (layer column floor(left)) goes to the same column.
        EXPECT_DOUBLE_EQ(run[k].p.translation.mat[2][0], std::floor(s.characters[k].left));
    }
}

TEST(VerticalLayout, CenterAndRightWorkAlongY) {
    std::vector<character> cs{box(10, 10, 30, 30, 1), box(10, 40, 30, 60, 0)};
    RenderSettings s = settingsFor(ALIGN_RIGHT, cs, 300.0);
    s.horizontal = false;
    EXPECT_EQ(cellStarts(layOut(s)), (std::vector<double>{250, 200}));
    RenderSettings c = settingsFor(ALIGN_CENTER, row(3, ALIGN_CENTER), 300.0);
    c.horizontal = false;
    EXPECT_EQ(cellStarts(layOut(c)), (std::vector<double>{225, 275, 325}));
}

}  // namespace
