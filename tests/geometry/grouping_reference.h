// The plain grouping that tests every pair of boxes, kept as the reference
// the indexed grouping is compared with: the same characters, in the same
// order, with the same members and slots, for every input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/text_characters.h"

namespace grouping_reference {
namespace detail {

// Box p lies within box n grown by h horizontally and v vertically. All four
// comparisons are inclusive; any NaN makes the answer false.
template <typename Inner, typename Outer>
inline bool liesWithin(const Inner& p, const Outer& n, double h, double v) {
    return p.left >= n.left - h && p.right <= n.right + h && p.top >= n.top - v && p.bottom <= n.bottom + v;
}

inline void emptyPath(path& p) {
    p.left = 0.0;
    p.top = 0.0;
    p.right = 0.0;
    p.bottom = 0.0;
}

template <typename Box>
inline void copyBox(const Box& from, character& to) {
    to.left = from.left;
    to.top = from.top;
    to.right = from.right;
    to.bottom = from.bottom;
}

// The first non-empty path other than i whose box holds path i, or
// paths.size(). Every path before i has already been placed and emptied, so
// only later paths can answer; the search starts there.
inline std::size_t findContainer(const std::vector<path>& paths, std::size_t i) {
    for (std::size_t j = i + 1; j < paths.size(); ++j) {
        if (!isEmptyPath(paths[j]) && liesWithin(paths[i], paths[j], 0.0, 0.0)) {
            return j;
        }
    }
    return paths.size();
}

// The first character whose box holds the path, or characters.size().
inline std::size_t findCharacter(const std::vector<character>& characters, const path& p) {
    for (std::size_t k = 0; k < characters.size(); ++k) {
        if (liesWithin(p, characters[k], 0.0, 0.0)) {
            return k;
        }
    }
    return characters.size();
}

// Every non-empty path goes, with no tolerance, into a new character with the
// path that contains it, or into the first character that contains it, or
// into a character of its own. Placed paths are emptied; their copies in the
// characters keep their boxes.
inline void placePaths(std::vector<path>& paths, std::vector<character>& characters) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        path& p = paths[i];
        if (isEmptyPath(p)) {
            continue;
        }
        const std::size_t j = findContainer(paths, i);
        if (j < paths.size()) {
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
        const std::size_t k = findCharacter(characters, p);
        if (k < characters.size()) {
            // A hole listed after its contour joins it; the box stays.
            characters[k].paths.push_back(p);
            characters[k].path_count += 1;
            emptyPath(p);
            continue;
        }
        character c;
        c.path_count = 1;
        c.paths = {p};
        copyBox(p, c);
        characters.push_back(std::move(c));
        emptyPath(p);
    }
}

// Appends n's paths to p and makes p's box the union of both boxes.
inline void absorb(character& p, character&& n) {
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
inline void mergePass(std::vector<character>& characters, double h, double v) {
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
inline void mergePhase(std::vector<character>& characters, double h, double v) {
    mergePass(characters, h, v);
    mergePass(characters, h, v);
}

inline void expandBoxes(std::vector<character>& characters, A_long expansion) {
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
inline std::int64_t slotFor(std::int64_t k, std::int64_t n, A_long alignment) {
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

inline void numberSlots(std::vector<character>& characters, A_long alignment) {
    if (alignment != kAlignLeft && alignment != kAlignCenter && alignment != kAlignRight) {
        return;  // an unknown alignment leaves every slot as it is
    }
    const auto n = static_cast<std::int64_t>(characters.size());
    for (std::int64_t k = 0; k < n; ++k) {
        // |slot| < n, and n never exceeds the host's 32-bit outline count.
        characters[static_cast<std::size_t>(k)].slot = static_cast<A_long>(slotFor(k, n, alignment));
    }
}

}  // namespace detail

/// groupCharacters as it was written first: every placement search tests
/// every candidate. The indexed grouping must answer exactly as this does.
inline void groupCharactersAllPairs(std::vector<path>& paths, double x_tolerance, double y_tolerance, A_long alignment,
                                    A_long expansion, std::vector<character>& characters) {
    detail::placePaths(paths, characters);
    detail::mergePhase(characters, x_tolerance, x_tolerance);
    detail::mergePhase(characters, 0.5 * y_tolerance, y_tolerance);
    detail::expandBoxes(characters, expansion);
    detail::numberSlots(characters, alignment);
}

}  // namespace grouping_reference
