// Grouping of paths into characters, without a host.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "grouping_fixtures.h"
#include "grouping_reference.h"

namespace {

using geometry_test::Box;
using geometry_test::boxOf;
using geometry_test::characterBoxes;
using geometry_test::group;
using geometry_test::Grouping;
using geometry_test::makePath;
using geometry_test::memberBoxes;
using geometry_test::slotsOf;

constexpr Box kOuter{0, 0, 10, 20};
constexpr Box kHole{2, 2, 8, 8};

// --- Placing paths ----------------------------------------------------------

TEST(GroupingPlacement, NoPathsOrOnlyEmptyPathsGiveNoCharacters) {
    EXPECT_TRUE(group({}).empty());
    EXPECT_TRUE(group({{0, 0, 0, 0}, {0, 0, 0, 0}}).empty());
}

TEST(GroupingPlacement, EveryPlacedPathIsEmptiedAndMembersKeepTheirBoxes) {
    std::vector<path> paths{makePath(kOuter), makePath(kHole), makePath({20, 0, 30, 20})};
    std::vector<character> characters;
    groupCharacters(paths, 0, 0, 1, 0, characters);
    for (const path& p : paths) {
        EXPECT_TRUE(isEmptyPath(p));
        EXPECT_EQ(p.segment_count, 1);  // only the box is cleared
        EXPECT_EQ(p.vertices.size(), 1u);
    }
    ASSERT_EQ(characters.size(), 2u);
    EXPECT_EQ(memberBoxes(characters[0]), (std::vector<Box>{kOuter, kHole}));
}

TEST(GroupingPlacement, HoleAfterItsContourJoinsTheContoursCharacter) {
    const auto cs = group({kOuter, kHole});
    ASSERT_EQ(cs.size(), 1u);
    EXPECT_EQ(cs[0].path_count, 2);
    EXPECT_EQ(memberBoxes(cs[0]), (std::vector<Box>{kOuter, kHole}));
    EXPECT_EQ(boxOf(cs[0]), kOuter);
    EXPECT_EQ(cs[0].slot, 0);
}

TEST(GroupingPlacement, HoleBeforeItsContourPairsWithItContourFirst) {
    const Box before{-30, 0, -20, 20};
    const Box after{30, 0, 40, 20};
    const auto cs = group({before, kHole, after, kOuter});
    ASSERT_EQ(cs.size(), 3u);
    // The hole came first, so the glyph takes the hole's place in the list.
    EXPECT_EQ(characterBoxes(cs), (std::vector<Box>{before, kOuter, after}));
    EXPECT_EQ(cs[1].path_count, 2);
    EXPECT_EQ(memberBoxes(cs[1]), (std::vector<Box>{kOuter, kHole}));
}

TEST(GroupingPlacement, ContainmentIncludesASharedBorder) {
    const auto shared = group({{0, 0, 5, 20}, kOuter});
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_EQ(shared[0].path_count, 2);

    // A hair outside on one side is no longer contained, and with no
    // tolerance the two do not merge either.
    const auto outside = group({{-0.001, 0, 5, 20}, kOuter});
    EXPECT_EQ(outside.size(), 2u);
}

TEST(GroupingPlacement, ContainerSearchTakesTheFirstContainerInTheList) {
    const Box inner{4, 4, 6, 6};
    const Box mid{0, 0, 10, 10};
    const Box big{-10, -10, 50, 50};
    const Box apart{100, 0, 110, 10};
    // inner lies within mid and within big: it pairs with mid, the first
    // that holds it. big stands alone, and apart keeps it from being merged
    // with mid's character.
    const auto cs = group({inner, mid, apart, big}, {.x_tolerance = -1, .y_tolerance = -1});
    ASSERT_EQ(cs.size(), 3u);
    EXPECT_EQ(memberBoxes(cs[0]), (std::vector<Box>{mid, inner}));
    EXPECT_EQ(boxOf(cs[0]), mid);
    EXPECT_EQ(characterBoxes(cs), (std::vector<Box>{mid, apart, big}));
}

TEST(GroupingPlacement, CharacterSearchTakesTheFirstCharacterThatHoldsThePath) {
    // Two overlapping strokes, neither inside the other, make two characters.
    const Box stroke1{0, 0, 10, 10};
    const Box dot{12, 12, 13, 13};
    const Box stroke2{5, 5, 20, 20};
    const auto cs = group({stroke1, stroke2, dot}, {.x_tolerance = -1, .y_tolerance = -1});
    // The dot lies within stroke2 only, so it joins stroke2's character.
    ASSERT_EQ(cs.size(), 2u);
    EXPECT_EQ(memberBoxes(cs[1]), (std::vector<Box>{stroke2, dot}));

    const Box hole{6, 6, 8, 8};  // within stroke1's box: joins the first character found
    const auto first = group({stroke1, stroke2, hole}, {.x_tolerance = -1, .y_tolerance = -1});
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(memberBoxes(first[0]), (std::vector<Box>{stroke1, hole}));
    EXPECT_EQ(first[1].path_count, 1);
}

TEST(GroupingPlacement, ZeroTolerancesMergeOnlyNestedNeighbours) {
    const Box hole{4, 4, 6, 6};
    const Box small{0, 0, 10, 10};
    const Box big{0, 0, 30, 30};
    // hole pairs with small; big stands alone, then holds small's character.
    const auto nested = group({hole, small, big});
    ASSERT_EQ(nested.size(), 1u);
    EXPECT_EQ(memberBoxes(nested[0]), (std::vector<Box>{small, hole, big}));
    EXPECT_EQ(boxOf(nested[0]), big);

    const auto overlapping = group({{0, 0, 10, 10}, {5, 0, 15, 10}});
    EXPECT_EQ(overlapping.size(), 2u);
}

// --- Merge phases -----------------------------------------------------------

constexpr Box kDot{0, -8, 4, -4};
constexpr Box kStem{0, 0, 4, 20};

TEST(GroupingMerge, DotOverStemMergesAtEightInTheFirstPhase) {
    const auto merged = group({kDot, kStem}, {.x_tolerance = 8});
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].path_count, 2);
    EXPECT_EQ(memberBoxes(merged[0]), (std::vector<Box>{kDot, kStem}));
    EXPECT_EQ(boxOf(merged[0]), (Box{0, -8, 4, 20}));

    EXPECT_EQ(group({kDot, kStem}, {.x_tolerance = 7.99}).size(), 2u);
    // Stem first: the later dot lies within the earlier stem's grown box,
    // though the stem does not lie within the dot's.
    EXPECT_EQ(group({kStem, kDot}, {.x_tolerance = 8}).size(), 1u);
}

TEST(GroupingMerge, DotOverStemMergesAtEightInTheSecondPhase) {
    EXPECT_EQ(group({kDot, kStem}, {.y_tolerance = 8}).size(), 1u);
    EXPECT_EQ(group({kDot, kStem}, {.y_tolerance = 7.99}).size(), 2u);
}

TEST(GroupingMerge, NeighboursTwelveApartNeedTwelveThenTwentyFour) {
    const Box a{0, 0, 10, 20};
    const Box b{12, 0, 22, 20};
    const auto at12 = group({a, b}, {.x_tolerance = 12});
    ASSERT_EQ(at12.size(), 1u);
    EXPECT_EQ(boxOf(at12[0]), (Box{0, 0, 22, 20}));
    EXPECT_EQ(group({a, b}, {.x_tolerance = 11.9}).size(), 2u);

    // Only half the Y tolerance applies horizontally.
    EXPECT_EQ(group({a, b}, {.y_tolerance = 24}).size(), 1u);
    EXPECT_EQ(group({a, b}, {.y_tolerance = 23.9}).size(), 2u);
}

TEST(GroupingMerge, MergedCharacterIsNotTestedAgainInTheSamePass) {
    const Box a{0, 0, 10, 20}, b{10, 0, 20, 20}, c{20, 0, 30, 20}, d{30, 0, 40, 20}, e{40, 0, 50, 20};
    // Pass 1 gives AB, CD, E; pass 2 gives ABCD, E. The second phase has no
    // tolerance, so E stays alone.
    const auto cs = group({a, b, c, d, e}, {.x_tolerance = 100});
    ASSERT_EQ(cs.size(), 2u);
    EXPECT_EQ(cs[0].path_count, 4);
    EXPECT_EQ(memberBoxes(cs[0]), (std::vector<Box>{a, b, c, d}));
    EXPECT_EQ(boxOf(cs[0]), (Box{0, 0, 40, 20}));
    EXPECT_EQ(memberBoxes(cs[1]), (std::vector<Box>{e}));

    // The second phase runs its own two passes and takes E in.
    const auto both = group({a, b, c, d, e}, {.x_tolerance = 100, .y_tolerance = 200});
    ASSERT_EQ(both.size(), 1u);
    EXPECT_EQ(both[0].path_count, 5);
    EXPECT_EQ(memberBoxes(both[0]), (std::vector<Box>{a, b, c, d, e}));

    // Three: AB then ABC.
    EXPECT_EQ(group({a, b, c}, {.x_tolerance = 100}).size(), 1u);
}

TEST(GroupingMerge, OnlyListNeighboursAreTested) {
    const Box a{0, 0, 10, 20};
    const Box far{1000, 0, 1010, 20};
    const Box b{12, 0, 22, 20};
    // List neighbours far apart on screen stay apart.
    EXPECT_EQ(group({a, far}, {.x_tolerance = 12}).size(), 2u);
    // Screen neighbours far apart in the list stay apart.
    const auto cs = group({a, far, b}, {.x_tolerance = 12});
    EXPECT_EQ(characterBoxes(cs), (std::vector<Box>{a, far, b}));
    // ...while next to each other in the list they merge.
    EXPECT_EQ(group({a, b, far}, {.x_tolerance = 12}).size(), 2u);
}

TEST(GroupingMerge, CharactersKeepTheHostsOrder) {
    const Box right{100, 0, 110, 20};
    const Box left{0, 0, 10, 20};
    const Box lower{0, 100, 10, 120};
    EXPECT_EQ(characterBoxes(group({right, lower, left})), (std::vector<Box>{right, lower, left}));
}

// --- Expansion and slots ----------------------------------------------------

TEST(GroupingExpansion, GrowsEveryBoxByWholePixels) {
    const auto three = group({{10, 20, 30, 40}, {50, 20, 60, 40}}, {.expansion = 3});
    EXPECT_EQ(characterBoxes(three), (std::vector<Box>{{7, 17, 33, 43}, {47, 17, 63, 43}}));
    // Member paths keep their own boxes.
    EXPECT_EQ(memberBoxes(three[0]), (std::vector<Box>{{10, 20, 30, 40}}));

    EXPECT_EQ(boxOf(group({{10, 20, 30, 40}})[0]), (Box{10, 20, 30, 40}));
}

TEST(GroupingExpansion, ExtremeValuesAreExactDoubleArithmetic) {
    const auto cs = group({{0, 0, 10, 20}}, {.expansion = std::numeric_limits<A_long>::min()});
    ASSERT_EQ(cs.size(), 1u);
    EXPECT_EQ(cs[0].left, 2147483648.0);
    EXPECT_EQ(cs[0].right, 10.0 - 2147483648.0);
}

std::vector<A_long> slotsFor(int n, A_long alignment) {
    std::vector<Box> boxes;
    for (int i = 0; i < n; ++i) {
        boxes.push_back({100.0 * i, 0, 100.0 * i + 10, 20});
    }
    return slotsOf(group(boxes, {.alignment = alignment}));
}

TEST(GroupingSlots, LeftCountsFromZero) {
    EXPECT_EQ(slotsFor(1, 1), (std::vector<A_long>{0}));
    EXPECT_EQ(slotsFor(2, 1), (std::vector<A_long>{0, 1}));
    EXPECT_EQ(slotsFor(3, 1), (std::vector<A_long>{0, 1, 2}));
    EXPECT_EQ(slotsFor(4, 1), (std::vector<A_long>{0, 1, 2, 3}));
    EXPECT_EQ(slotsFor(5, 1), (std::vector<A_long>{0, 1, 2, 3, 4}));
}

TEST(GroupingSlots, CenterLeavesSlotZeroFreeForEvenCounts) {
    EXPECT_EQ(slotsFor(1, 2), (std::vector<A_long>{0}));
    EXPECT_EQ(slotsFor(2, 2), (std::vector<A_long>{-1, 1}));
    EXPECT_EQ(slotsFor(3, 2), (std::vector<A_long>{-1, 0, 1}));
    EXPECT_EQ(slotsFor(4, 2), (std::vector<A_long>{-2, -1, 1, 2}));
    EXPECT_EQ(slotsFor(5, 2), (std::vector<A_long>{-2, -1, 0, 1, 2}));
}

TEST(GroupingSlots, RightCountsDownToZero) {
    EXPECT_EQ(slotsFor(1, 3), (std::vector<A_long>{0}));
    EXPECT_EQ(slotsFor(2, 3), (std::vector<A_long>{1, 0}));
    EXPECT_EQ(slotsFor(3, 3), (std::vector<A_long>{2, 1, 0}));
    EXPECT_EQ(slotsFor(4, 3), (std::vector<A_long>{3, 2, 1, 0}));
    EXPECT_EQ(slotsFor(5, 3), (std::vector<A_long>{4, 3, 2, 1, 0}));
}

TEST(GroupingSlots, UnknownAlignmentLeavesEverySlotAtZero) {
    for (const A_long alignment : {0, 4, -1, 1000}) {
        EXPECT_EQ(slotsFor(4, alignment), (std::vector<A_long>{0, 0, 0, 0})) << alignment;
    }
}

TEST(GroupingSlots, NumberTheCharactersLeftAfterMerging) {
    const auto cs = group({{0, 0, 10, 20}, {12, 0, 22, 20}, {100, 0, 110, 20}}, {.x_tolerance = 12, .alignment = 2});
    EXPECT_EQ(slotsOf(cs), (std::vector<A_long>{-1, 1}));
}

// --- Coordinates that are not finite ----------------------------------------

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(GroupingNonFinite, NaNBoxIsACharacterThatNeverMerges) {
    const Box a{0, 0, 10, 20};
    const Box b{12, 0, 22, 20};
    const auto cs =
        group({a, {kNaN, 0, 10, 20}, b}, {.x_tolerance = 1e9, .y_tolerance = 1e9, .alignment = 2, .expansion = 3});
    ASSERT_EQ(cs.size(), 3u);  // the NaN character sits between a and b and blocks their merge
    EXPECT_TRUE(std::isnan(cs[1].left));
    EXPECT_EQ(cs[1].top, -3.0);
    EXPECT_EQ(slotsOf(cs), (std::vector<A_long>{-1, 0, 1}));
}

TEST(GroupingNonFinite, InfiniteBoxHoldsEverythingButStaysInfinite) {
    const Box everything{-kInf, -kInf, kInf, kInf};
    const auto cs = group({{0, 0, 10, 20}, everything, {1e308, 1e308, 1e308, 1e308}}, {.expansion = 5});
    ASSERT_EQ(cs.size(), 1u);
    EXPECT_EQ(cs[0].path_count, 3);
    EXPECT_EQ(boxOf(cs[0]), everything);
}

TEST(GroupingNonFinite, NonFiniteTolerancesMergeAllOrNothing) {
    const std::vector<Box> boxes{{0, 0, 10, 20}, {500, 0, 510, 20}};
    EXPECT_EQ(group(boxes, {.x_tolerance = kNaN, .y_tolerance = kNaN}).size(), 2u);
    EXPECT_EQ(group(boxes, {.x_tolerance = kInf}).size(), 1u);
}

// --- The index against the plain search of every pair ----------------------

// Random outline sets of every kind the index could get wrong: glyph-like
// lines, boxes on a coarse lattice (so nested, touching, overlapping and
// repeated boxes are common), long nested chains, and boxes with NaN,
// infinite, huge, reversed, empty or zero-area coordinates.
class OutlineSets {
public:
    explicit OutlineSets(unsigned seed) : rng_(seed) {}

    std::vector<Box> next() {
        std::vector<Box> boxes;
        const int count = pick(0, 4) == 0 ? pick(0, 12) : pick(50, 1500);
        const int kind = pick(0, 3);
        double x = 0.0, y = 0.0;
        while (static_cast<int>(boxes.size()) < count) {
            switch (kind) {
                case 0:  // glyph-like: a contour, maybe holes or a dot before or after it
                    glyph(boxes, x, y);
                    x += 30.0;
                    if (x > 900.0) {
                        x = 0.0;
                        y += pick(40, 70);
                    }
                    break;
                case 1:
                    boxes.push_back(lattice());
                    break;
                case 2: {  // a chain of nested boxes, listed in either order
                    const double c = pick(0, 40) * 10.0;
                    const int depth = pick(2, 6);
                    const bool inward = pick(0, 1) == 0;
                    for (int d = 0; d < depth; ++d) {
                        const double r = 2.0 * (inward ? depth - d : d + 1);
                        boxes.push_back({c - r, c - r, c + r, c + r});
                    }
                    break;
                }
                default:
                    boxes.push_back(pick(0, 1) == 0 ? lattice() : odd());
                    break;
            }
            if (pick(0, 20) == 0) boxes.push_back(odd());
        }
        return boxes;
    }

    Grouping grouping() {
        const double tolerances[] = {0.0, 0.5, 4.0, 12.0, 40.0, -1.0, kNaN, kInf};
        return {tolerances[pick(0, 7)], tolerances[pick(0, 7)], static_cast<A_long>(pick(0, 4)),
                static_cast<A_long>(pick(-2, 3))};
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

private:
    Box lattice() {
        const double l = pick(0, 60) * 2.0, t = pick(0, 60) * 2.0;
        return {l, t, l + pick(0, 12) * 2.0, t + pick(0, 12) * 2.0};
    }

    Box odd() {
        const double values[] = {kNaN, kInf, -kInf, 0.0, -0.0, 1e308, -1e308, 5.0, 7.5};
        Box b = lattice();
        switch (pick(0, 5)) {
            case 0:
                return {0, 0, 0, 0};  // an empty path
            case 1:
                return {b.left, b.top, b.left, b.bottom};  // no width
            case 2:
                return {b.right + 1, b.bottom + 1, b.left, b.top};  // reversed
            case 3:
                return {-kInf, -kInf, kInf, kInf};
            default:
                break;
        }
        double* coordinates[] = {&b.left, &b.top, &b.right, &b.bottom};
        *coordinates[pick(0, 3)] = values[pick(0, 8)];
        return b;
    }

    void glyph(std::vector<Box>& boxes, double x, double y) {
        const Box contour{x, y + 10, x + 20, y + 30};
        const Box hole{x + 5, y + 15, x + 15, y + 25};
        const Box dot{x + 8, y, x + 12, y + 4};
        switch (pick(0, 4)) {
            case 0:
                boxes.push_back({x + 8, y, x + 12, y + 30});
                break;
            case 1:
                boxes.insert(boxes.end(), {contour, hole});
                break;
            case 2:
                boxes.insert(boxes.end(), {hole, contour});
                break;
            case 3:
                boxes.insert(boxes.end(), {dot, contour});
                break;
            default:
                boxes.insert(boxes.end(), {contour, dot, hole});
                break;
        }
    }

    std::mt19937 rng_;
};

// Bit for bit, so that NaN, -0.0 and the order of every member count.
std::string fingerprint(const std::vector<character>& characters, const std::vector<path>& paths) {
    std::ostringstream out;
    const auto bits = [&out](double v) { out << std::bit_cast<std::uint64_t>(v) << ' '; };
    const auto box = [&bits](const auto& b) {
        bits(b.left);
        bits(b.top);
        bits(b.right);
        bits(b.bottom);
    };
    for (const character& c : characters) {
        out << "[" << c.path_count << " slot " << c.slot << ": ";
        box(c);
        for (const path& p : c.paths) {
            box(p);
            for (const PF_PathVertex& v : p.vertices) bits(v.tan_out_x);
        }
        out << "]\n";
    }
    for (const path& p : paths) box(p);
    return out.str();
}

TEST(GroupingIndex, AnswersAsThePlainSearchOfEveryPairOnRandomOutlineSets) {
    OutlineSets sets(20261208);
    for (int round = 0; round < 300; ++round) {
        const std::vector<Box> boxes = sets.next();
        const Grouping g = sets.grouping();
        std::vector<path> indexed_paths;
        for (const Box& b : boxes) indexed_paths.push_back(makePath(b));
        // Grouping appends: sometimes there are characters already.
        std::vector<character> indexed;
        if (sets.pick(0, 4) == 0) {
            std::vector<path> before{makePath({0, 0, 200, 200}), makePath({10, 10, 12, 12}), makePath({kNaN, 1, 2, 3})};
            groupCharacters(before, 0, 0, 1, 0, indexed);
        }
        std::vector<path> plain_paths = indexed_paths;
        std::vector<character> plain = indexed;

        groupCharacters(indexed_paths, g.x_tolerance, g.y_tolerance, g.alignment, g.expansion, indexed);
        grouping_reference::groupCharactersAllPairs(plain_paths, g.x_tolerance, g.y_tolerance, g.alignment, g.expansion,
                                                    plain);
        ASSERT_EQ(fingerprint(indexed, indexed_paths), fingerprint(plain, plain_paths))
            << "round " << round << ", " << boxes.size() << " boxes";
    }
}

}  // namespace
