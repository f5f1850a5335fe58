#!/usr/bin/env bash
# Renders the README's pictures: the sample before and after the effect, one
# row per control (or per alignment), each the sample with one change.
#   docs/make_pictures.sh [path/to/quillarray-preview]   (`make pictures` runs it)
set -euo pipefail
tool=${1:-build/preview/tools/quillarray-preview}
out=$(dirname "$0")/pictures
mkdir -p "$out"

picture() {  # name, then the tool's flags
    local name=$1
    shift
    "$tool" --compare --png-compression 9 -o "$out/$name.png" "$@" >/dev/null
    echo "docs/pictures/$name.png"
}

picture sample
picture text-mode --text-mode vertical --orientation vertical --text "Ink" --position 300,8 --comp-size 600x200
picture character-size --character-size 60
picture x-threshold --x-threshold 30
picture y-threshold-large --font-size 72 --position 20,90
picture y-threshold-raised --font-size 72 --position 20,90 --y-threshold 25
picture no-guide --no-guide
picture tracking --tracking 12.5
picture alignment-left --position 300,75 --paragraph center --character-size 30
picture alignment-center --position 300,75 --paragraph center --character-size 30 --alignment center
picture alignment-right --position 300,75 --paragraph center --character-size 30 --alignment right
picture custom-size-index --custom-size-1-index 2 --custom-size-1-size 120
picture custom-size-size --custom-size-3-index 5 --custom-size-3-size 20
picture buffer-expansion --buffer-expansion 2
picture two-lines --text "Quill\nInk" --position 40,45 --leading 50
picture right-to-left --text "שָׁלוֹם سلام" --comp-size 600x120  # Hebrew with its points, then Arabic
