// Grouping of glyph outlines into characters.
//
// Plain arithmetic on records: no host call, no allocation beyond the
// records' own lists and the grid that finds which boxes may hold a box
// (box_grid.h), which answers exactly as a test of every pair would.
// Characters keep the order in which the host listed the outlines; nothing
// is sorted by position.
//
// Coordinates may be non-finite (a broken outline, an absurd downsample).
// Everything below is comparisons, min/max and additions on doubles, which
// IEEE arithmetic defines for NaN and infinities: a comparison with NaN
// fails, so such a box contains nothing and lies within nothing, and the
// character it belongs to is never merged. Nothing here converts a double
// to an integer, except the grid's cell numbers, taken after clamping.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "geometry/box_grid.h"
#include "geometry/text_characters.h"

namespace {

// Box p lies within box n grown by h horizontally and v vertically. All four
// comparisons are inclusive; any NaN makes the answer false.
template <typename Inner, typename Outer>
bool liesWithin(const Inner& p, const Outer& n, double h, double v) {
    return p.left >= n.left - h && p.right <= n.right + h && p.top >= n.top - v && p.bottom <= n.bottom + v;
}

void emptyPath(path& p) {
    p.left = 0.0;
    p.top = 0.0;
    p.right = 0.0;
    p.bottom = 0.0;
}

template <typename Box>
void copyBox(const Box& from, character& to) {
    to.left = from.left;
    to.top = from.top;
    to.right = from.right;
    to.bottom = from.bottom;
}

bool hasNaN(const path& p) {
    return std::isnan(p.left) || std::isnan(p.top) || std::isnan(p.right) || std::isnan(p.bottom);
}

// The first non-empty path other than i whose box holds path i, or
// paths.size(), testing every candidate. Every path before i has already
// been placed and emptied, so only later paths can answer; the search starts
// there.
std::size_t findContainerAmongAll(const std::vector<path>& paths, std::size_t i) {
    for (std::size_t j = i + 1; j < paths.size(); ++j) {
        if (!isEmptyPath(paths[j]) && liesWithin(paths[i], paths[j], 0.0, 0.0)) {
            return j;
        }
    }
    return paths.size();
}

// The first character whose box holds the path, or characters.size(),
// testing every character.
std::size_t findCharacterAmongAll(const std::vector<character>& characters, const path& p) {
    for (std::size_t k = 0; k < characters.size(); ++k) {
        if (liesWithin(p, characters[k], 0.0, 0.0)) {
            return k;
        }
    }
    return characters.size();
}

template <typename Box>
geometry_detail::GridBox gridBox(std::size_t id, const Box& b) {
    return {static_cast<std::uint32_t>(id), b.left, b.top, b.right, b.bottom};
}

// Answers the two searches of placement exactly as testing every candidate
// would, through grids over the paths' boxes and the boxes of the characters
// that were there before grouping. A character made during placement has
// the box of one path, its owner, so the path grid finds it too.
//
// Only a well-ordered box (not NaN) is searched through the grids, since only
// such a box is held by boxes overlapping its top-left corner's cell; a box
// with a NaN lies within nothing, and a reversed one is searched among all.
class PlacementIndex {
public:
    PlacementIndex(const std::vector<path>& paths, const std::vector<character>& characters)
        : paths_(gridOf(paths, [](const path& p) { return !isEmptyPath(p); })),
          earlier_grid_(gridOf(characters, [](const character&) { return true; })),
          owner_(paths.size(), kNone) {}

    std::size_t findContainer(const std::vector<path>& paths, std::size_t i) const {
        const path& p = paths[i];
        if (hasNaN(p)) return paths.size();
        if (!searchable(p)) return findContainerAmongAll(paths, i);
        const auto candidates = paths_.candidatesAt(p.left, p.top);
        const auto firstIn = [&](std::span<const std::uint32_t> ids, std::size_t below) {
            auto it = std::upper_bound(ids.begin(), ids.end(), static_cast<std::uint32_t>(i));
            for (; it != ids.end() && *it < below; ++it) {
                if (!isEmptyPath(paths[*it]) && liesWithin(p, paths[*it], 0.0, 0.0)) return std::size_t{*it};
            }
            return below;
        };
        return firstIn(candidates.wide, firstIn(candidates.cell, paths.size()));
    }

    std::size_t findCharacter(const std::vector<character>& characters, const path& p) const {
        if (hasNaN(p)) return characters.size();
        if (!searchable(p)) return findCharacterAmongAll(characters, p);
        const auto earlier = earlier_grid_.candidatesAt(p.left, p.top);
        std::size_t best = characters.size();
        for (const auto ids : {earlier.cell, earlier.wide}) {
            for (const std::uint32_t k : ids) {
                if (k >= best) break;
                if (liesWithin(p, characters[k], 0.0, 0.0)) best = k;
            }
        }
        if (best < characters.size()) return best;
        const auto made = paths_.candidatesAt(p.left, p.top);
        for (const auto ids : {made.cell, made.wide}) {
            for (const std::uint32_t q : ids) {
                const std::size_t k = owner_[q];
                if (k < best && liesWithin(p, characters[k], 0.0, 0.0)) best = k;
            }
        }
        return best;
    }

    /// Character k was made with path q's box.
    void characterMade(std::size_t q, std::size_t k) { owner_[q] = k; }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    static bool searchable(const path& p) { return geometry_detail::wellOrdered(p.left, p.top, p.right, p.bottom); }

    template <typename Item, typename Keep>
    static geometry_detail::BoxGrid gridOf(const std::vector<Item>& items, Keep keep) {
        std::vector<geometry_detail::GridBox> boxes;
        for (std::size_t id = 0; id < items.size(); ++id) {
            const Item& b = items[id];
            // Only a well-ordered box holds a well-ordered one.
            if (keep(b) && geometry_detail::wellOrdered(b.left, b.top, b.right, b.bottom)) {
                boxes.push_back(gridBox(id, b));
            }
        }
        return geometry_detail::BoxGrid(boxes);
    }

    geometry_detail::BoxGrid paths_;
    geometry_detail::BoxGrid earlier_grid_;
    std::vector<std::size_t> owner_;  // character made with each path's box
};

// Every non-empty path goes, with no tolerance, into a new character with the
// path that contains it, or into the first character that contains it, or
// into a character of its own. Placed paths are emptied; their copies in the
// characters keep their boxes.
void placePaths(std::vector<path>& paths, std::vector<character>& characters) {
    PlacementIndex index(paths, characters);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        path& p = paths[i];
        if (isEmptyPath(p)) {
            continue;
        }
        const std::size_t j = index.findContainer(paths, i);
        if (j < paths.size()) {
            index.characterMade(j, characters.size());
            // A hole listed before its contour: the contour leads.
            character c;
            c.path_count = 2;
            c.paths = {paths[j], p};
            copyBox(paths[j], c);
            characters.push_back(std::move(c));
            emptyPath(paths[j]);
            emptyPath(p);
            continue;
        }
        const std::size_t k = index.findCharacter(characters, p);
        if (k < characters.size()) {
            // A hole listed after its contour joins it; the box stays.
            characters[k].paths.push_back(p);
            characters[k].path_count += 1;
            emptyPath(p);
            continue;
        }
        index.characterMade(i, characters.size());
        character c;
        c.path_count = 1;
        c.paths = {p};
        copyBox(p, c);
        characters.push_back(std::move(c));
        emptyPath(p);
    }
}

// Appends n's paths to p and makes p's box the union of both boxes.
void absorb(character& p, character&& n) {
    p.path_count += n.path_count;
    p.paths.insert(p.paths.end(), std::make_move_iterator(n.paths.begin()), std::make_move_iterator(n.paths.end()));
    p.left = n.left < p.left ? n.left : p.left;
    p.top = n.top < p.top ? n.top : p.top;
    p.right = n.right > p.right ? n.right : p.right;
    p.bottom = n.bottom > p.bottom ? n.bottom : p.bottom;
}

// One pass over list neighbours: character k and character k + 1 merge when
// either lies within the other grown by (h, v); then k moves on by one, so a
// character that has just absorbed its neighbour is not tested again in
// this pass. Removing the absorbed character and moving on is done as one
// compaction, which yields the same list as removing it in place.
void mergePass(std::vector<character>& characters, double h, double v) {
    const std::size_t n = characters.size();
    std::size_t write = 0;
    std::size_t read = 0;
    while (read < n) {
        if (write != read) {
            characters[write] = std::move(characters[read]);
        }
        character& p = characters[write];
        if (read + 1 < n) {
            character& next = characters[read + 1];
            if (liesWithin(p, next, h, v) || liesWithin(next, p, h, v)) {
                absorb(p, std::move(next));
                read += 1;
            }
        }
        read += 1;
        write += 1;
    }
    characters.erase(characters.begin() + static_cast<std::ptrdiff_t>(write), characters.end());
}

// Two passes, so that a run of up to four close neighbours becomes one.
void mergePhase(std::vector<character>& characters, double h, double v) {
    mergePass(characters, h, v);
    mergePass(characters, h, v);
}

void expandBoxes(std::vector<character>& characters, A_long expansion) {
    const double e = static_cast<double>(expansion);
    for (character& c : characters) {
        c.left -= e;
        c.top -= e;
        c.right += e;
        c.bottom += e;
    }
}

enum : A_long { kAlignLeft = 1, kAlignCenter = 2, kAlignRight = 3 };

// Slot of the character at position k of n. Centre alignment with an even
// count leaves slot 0 free so that the two middle characters sit either side
// of the centre line.
std::int64_t slotFor(std::int64_t k, std::int64_t n, A_long alignment) {
    switch (alignment) {
        case kAlignLeft:
            return k;
        case kAlignCenter:
            if (n % 2 == 1) {
                return k - (n - 1) / 2;
            }
            return k < n / 2 ? k - n / 2 : k - n / 2 + 1;
        case kAlignRight:
            return n - 1 - k;
        default:
            return 0;
    }
}

void numberSlots(std::vector<character>& characters, A_long alignment) {
    if (alignment != kAlignLeft && alignment != kAlignCenter && alignment != kAlignRight) {
        return;  // an unknown alignment leaves every slot as it is
    }
    const auto n = static_cast<std::int64_t>(characters.size());
    for (std::int64_t k = 0; k < n; ++k) {
        // |slot| < n, and n never exceeds the host's 32-bit outline count.
        characters[static_cast<std::size_t>(k)].slot = static_cast<A_long>(slotFor(k, n, alignment));
    }
}

}  // namespace

void groupCharacters(std::vector<path>& paths, double x_tolerance, double y_tolerance, A_long alignment,
                     A_long expansion, std::vector<character>& characters) {
    placePaths(paths, characters);
    mergePhase(characters, x_tolerance, x_tolerance);
    mergePhase(characters, 0.5 * y_tolerance, y_tolerance);
    expandBoxes(characters, expansion);
    numberSlots(characters, alignment);
}
