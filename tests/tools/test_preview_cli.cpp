// quillarray-preview as a user runs it: what it writes, and for each kind of
// bad input one line on stderr, a non-zero exit and no file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/preview/png_image.h"
#include "tool_run.h"

namespace minihost::preview {
namespace {

bool oneLine(const std::string& s) {
    return !s.empty() && s.back() == '\n' && std::count(s.begin(), s.end(), '\n') == 1;
}

// Runs the tool in dir and expects a refusal with a message containing what.
void expectRefusal(const std::vector<std::string>& args, const std::string& what, int code = 2) {
    ScratchDir dir;
    const ToolRun run = runTool(args, dir.path());
    EXPECT_EQ(run.exit_code, code) << run.err;
    EXPECT_TRUE(oneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find(what), std::string::npos) << "stderr: " << run.err;
    EXPECT_EQ(run.err.rfind("quillarray-preview: ", 0), 0u) << run.err;
    EXPECT_TRUE(dir.entries().empty()) << "left " << dir.entries().front();
}

// Count of pixels whose samples differ between two images of one size.
int differingPixels(const PngImage& a, const PngImage& b) {
    int n = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            n += std::equal(a.pixel(x, y), a.pixel(x, y) + 4, b.pixel(x, y)) ? 0 : 1;
        }
    }
    return n;
}

TEST(PreviewCli, WithoutArgumentsItRendersTheSampleAndSaysWhere) {
    ScratchDir dir;
    const ToolRun run = runTool({}, dir.path());
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, "wrote quillarray-preview.png\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"quillarray-preview.png"});
    const PngImage image = readPngFile((dir.path() / "quillarray-preview.png").string());
    EXPECT_EQ(image.width, 600);
    EXPECT_EQ(image.height, 120);
    EXPECT_EQ(image.bit_depth, 8);
}

TEST(PreviewCli, HelpListsEveryControlWithTheRangeAndDefaultTheEffectDeclares) {
    ScratchDir dir;
    const ToolRun run = runTool({"--help"}, dir.path());
    ASSERT_EQ(run.exit_code, 0) << run.err;
    for (const char* flag : {"--text-mode",
                             "--character-size",
                             "--x-threshold",
                             "--y-threshold",
                             "--guide",
                             "--no-guide",
                             "--tracking",
                             "--alignment",
                             "--custom-size-1-index",
                             "--custom-size-5-size",
                             "--buffer-expansion",
                             "--text",
                             "--font",
                             "--font-size",
                             "--color",
                             "--position",
                             "--scale",
                             "--comp-size",
                             "--orientation",
                             "--bpc",
                             "--downsample",
                             "--quality",
                             "--api-minor",
                             "--appl-id",
                             "--no-effect",
                             "--compare",
                             "--scene",
                             "--output"}) {
        EXPECT_NE(run.out.find(flag), std::string::npos) << flag;
    }
    EXPECT_NE(run.out.find("\"Character Size\": 1 to 1000, default 50"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Tracking\": -1000 to 1000, default 0"), std::string::npos);
    EXPECT_NE(run.out.find("\"Custom Size 3 > Size\": 1 to 1000, default 50"), std::string::npos);
    EXPECT_NE(run.out.find("\"Text Mode\": horizontal|vertical, default horizontal"), std::string::npos);
    EXPECT_NE(run.out.find("\"Enable Guide\": on or off, default on"), std::string::npos);
    EXPECT_NE(run.out.find("line distance in pixels, default (and 0) 120 % of the size"), std::string::npos);
    EXPECT_EQ(run.out.find("\n\n\n"), std::string::npos) << "stray blank lines";
    EXPECT_NE(run.out.substr(run.out.size() - 2), "\n\n") << "a blank line at the end";
    EXPECT_TRUE(dir.entries().empty());
}

TEST(PreviewCli, EachKindOfBadInputGetsOneLineAndNoFile) {
    expectRefusal({"--bogus"}, "--bogus");
    expectRefusal({"--chracter-size", "3"}, ": --chracter-size 3 (did you mean --character-size?) (see --help)");
    expectRefusal({"--", "--text"}, "unknown options or arguments: -- --text (see --help)");
    expectRefusal({"-o", ""}, "-o,--output needs a value; '' is empty");
    expectRefusal({"--appl-id", ""}, "--appl-id needs a value; '' is empty");
    expectRefusal({"--appl-id", "XXXX"}, "application id \"XXXX\" is not FXTC (After Effects) or PrMr (Premiere Pro)");
    expectRefusal({"-o", "/tmp"}, "cannot write \"/tmp\": it is a folder");
    expectRefusal({"--scene", "/dev/zero"}, "/dev/zero: cannot read the scene file: it is not a regular file");
    expectRefusal({"--character-size", "2000"}, "--character-size 2000 is outside its valid range 1 to 1000");
    expectRefusal({"--x-threshold", "-1"}, "--x-threshold -1 is outside its valid range 0 to 1000");
    expectRefusal({"--custom-size-2-index", "101"}, "outside its valid range 0 to 100");
    expectRefusal({"--tracking", "wide"}, "--tracking \"wide\" is not a number");
    expectRefusal({"--text-mode", "diagonal"}, "is not one of horizontal|vertical");
    expectRefusal({"--font-size", "0"}, "--font-size 0 is outside its valid range 1 to 2000");
    expectRefusal({"--bpc", "24"}, "--bpc: bits per channel \"24\" is not 8, 16 or 32");
    expectRefusal({"--font", "Quillarray Missing Sans"}, "font \"Quillarray Missing Sans\" not found");
    expectRefusal({"--font", "/nonexistent/font.ttf"}, "does not exist");
    expectRefusal({"--font", "DejaVu Sanz"}, "(the closest installed family is \"DejaVu Sans\")");
    expectRefusal({"--font", "DejaVu Sans:style=Heavy"}, "the family has the styles Bold, ");
    expectRefusal({"--plugin", "/nonexistent/plugin.so"}, "cannot load the plug-in");
    expectRefusal({"--scene", "missing.json"}, "missing.json: cannot read the scene file");
    expectRefusal({"-o", "/dev/full"}, "cannot write \"/dev/full\": No space left on device");
    expectRefusal({"-o", "picture.jpg"}, "output \"picture.jpg\" must end in .png");
    expectRefusal({"--no-effect", "--compare"}, "exclude each other");
    expectRefusal({"--scene", "s.json", "--tracking", "5"}, "--tracking cannot be combined with --scene");
}

TEST(PreviewCli, AMalformedSceneIsReportedWithLineAndColumn) {
    ScratchDir dir;
    std::ofstream(dir.path() / "bad.json") << "{\n  \"frames\": {\"last\": 2\n}\n";
    const ToolRun run = runTool({"--scene", "bad.json"}, dir.path());
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.err.rfind("quillarray-preview: bad.json:4:1: ", 0), 0u) << run.err;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"bad.json"});

    // "-" reads the scene from standard input.
    const ToolRun piped = runTool({"--scene", "-"}, dir.path(), (dir.path() / "bad.json").string());
    EXPECT_EQ(piped.exit_code, 2);
    EXPECT_EQ(piped.err.rfind("quillarray-preview: standard input:4:1: ", 0), 0u) << piped.err;
    // Standard input is read only up to the limit.
    ScratchDir elsewhere;
    std::ofstream(elsewhere.path() / "big.json") << "{" << std::string(std::size_t(5) << 20, ' ') << "}";
    const ToolRun big = runTool({"--scene", "-"}, dir.path(), (elsewhere.path() / "big.json").string());
    EXPECT_EQ(big.err,
              "quillarray-preview: standard input: cannot read the scene file: it is larger than 4 MB, the "
              "most a scene file may be\n");
}

TEST(PreviewCli, WhatCannotWorkIsRefusedBeforeTheFirstFrame) {
    ScratchDir dir;
    // A file stands where the output's folder should be made: one line,
    // not one per frame.
    std::ofstream(dir.path() / "plain") << "a file";
    std::ofstream(dir.path() / "s.json") << R"({"frames": {"last": 2}, "output": "plain/f_#.png",
                                              "comp": {"width": 100, "height": 40}})";
    const ToolRun folder = runTool({"--scene", "s.json"}, dir.path());
    EXPECT_EQ(folder.exit_code, 2);
    EXPECT_EQ(
        folder.err,
        "quillarray-preview: cannot write \"plain/f_0.png\": cannot make the folder \"plain\": Not a directory\n");
    EXPECT_EQ(folder.out, "");

    // An output that is one of the inputs is never written over.
    std::ofstream(dir.path() / "font.png") << "not really a font";
    const ToolRun font = runTool({"--font", "font.png", "-o", "./font.png"}, dir.path());
    EXPECT_EQ(font.exit_code, 2);
    EXPECT_EQ(font.err, "quillarray-preview: cannot write \"./font.png\": it is the font file, an input of this run\n");
    std::ofstream(dir.path() / "s_1.png") << R"({"frames": {"first": 1, "last": 1}})";
    const ToolRun scene = runTool({"--scene", "s_1.png", "-o", "s_#.png"}, dir.path());
    EXPECT_EQ(scene.err, "quillarray-preview: cannot write \"s_1.png\": it is the scene file, an input of this run\n");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"font.png", "plain", "s.json", "s_1.png"}));

    // Memory: a frame that cannot fit is refused with the figures (4000 x
    // 4000 pixels, three 16-byte worlds and 16 bytes of picture each:
    // 977 MB); threads are capped so that the frames in flight fit (a
    // 200 x 100 frame at 8 bpc takes 469 kB, two per thread).
    setenv("QUILLARRAY_PREVIEW_MEMORY_MB", "50", 1);
    const ToolRun big = runTool({"--comp-size", "4000x4000", "--bpc", "32", "-o", "big.png"}, dir.path());
    setenv("QUILLARRAY_PREVIEW_MEMORY_MB", "1", 1);
    std::ofstream(dir.path() / "small.json") << R"({"frames": {"last": 7}, "comp": {"width": 200, "height": 100}})";
    const ToolRun capped = runTool({"--scene", "small.json", "--threads", "4", "-o", "/dev/null"}, dir.path());
    unsetenv("QUILLARRAY_PREVIEW_MEMORY_MB");
    EXPECT_EQ(big.exit_code, 2);
    EXPECT_EQ(big.err,
              "quillarray-preview: a frame of 4000x4000 pixels at 32 bpc needs about 977 MB, but only 50 MB "
              "of memory is available\n");
    EXPECT_EQ(capped.exit_code, 0) << capped.err;
    EXPECT_EQ(capped.err,
              "quillarray-preview: note: 4 threads would need about 4 MB of memory, 1 MB is available: "
              "using 1 thread\n");
    EXPECT_EQ(capped.out, "wrote 8 frames to /dev/null\n");  // a scene takes /dev/null as a single frame does
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "big.png"));
}

TEST(PreviewCli, DepthsGiveEightOrSixteenBitFilesAndCompareDoublesTheWidth) {
    ScratchDir dir;
    for (const char* bpc : {"8", "16", "32"}) {
        const std::string name = std::string("d") + bpc + ".png";
        const ToolRun run =
            runTool({"--bpc", "16", "--bpc", bpc, "--compare", "--comp-size", "200x80", "--text", "Hi", "-o", name},
                    dir.path());
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const PngImage image = readPngFile((dir.path() / name).string());
        EXPECT_EQ(image.bit_depth, std::string(bpc) == "8" ? 8 : 16);
        EXPECT_EQ(image.width, 2 * 200 + 8);
        EXPECT_EQ(image.height, 80);
    }
}

TEST(PreviewCli, TheEffectMovesTheLayersPixels) {
    ScratchDir dir;
    const std::vector<std::string> common = {"--text", "Hello", "--no-guide", "--comp-size", "400x80"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), common.begin(), common.end());
        return more;
    };
    ASSERT_EQ(runTool(with({"--no-effect", "-o", "layer.png"}), dir.path()).exit_code, 0);
    ASSERT_EQ(runTool(with({"-o", "effect.png"}), dir.path()).exit_code, 0);
    ASSERT_EQ(runTool(with({"--character-size", "60", "-o", "wider.png"}), dir.path()).exit_code, 0);
    // A flag given again wins over the earlier one, --guide over --no-guide too.
    ASSERT_EQ(
        runTool(with({"--character-size", "60", "--guide", "-o", "x.png", "-o", "guided.png"}), dir.path()).exit_code,
        0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.png"));
    EXPECT_GT(differingPixels(readPngFile((dir.path() / "guided.png").string()),
                              readPngFile((dir.path() / "wider.png").string())),
              100);
    const PngImage layer = readPngFile((dir.path() / "layer.png").string());
    const PngImage effect = readPngFile((dir.path() / "effect.png").string());
    const PngImage wider = readPngFile((dir.path() / "wider.png").string());
    EXPECT_GT(differingPixels(layer, effect), 100);
    EXPECT_GT(differingPixels(effect, wider), 100);
}

int opaquePixels(const PngImage& image) {
    int n = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            n += image.pixel(x, y)[3] != 0 ? 1 : 0;
        }
    }
    return n;
}

TEST(PreviewCli, CharactersOutsideTheCompAreMovedInWhole) {
    ScratchDir dir;
    // Set right of x = 100, the text reaches left of the comp; set left of
    // it, it lies inside. The effect puts both runs in the same cells.
    const std::vector<std::string> common = {"--no-guide", "--position", "100,75", "--compare"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), common.begin(), common.end());
        return more;
    };
    ASSERT_EQ(runTool(with({"--paragraph", "right", "-o", "outside.png"}), dir.path()).exit_code, 0);
    ASSERT_EQ(runTool(with({"--paragraph", "left", "-o", "inside.png"}), dir.path()).exit_code, 0);
    const PngImage outside = readPngFile((dir.path() / "outside.png").string());
    const PngImage inside = readPngFile((dir.path() / "inside.png").string());
    PngImage outside_after(600, 120, 8), inside_after(600, 120, 8), outside_before(600, 120, 8);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 600; ++x) {
            std::copy(outside.pixel(608 + x, y), outside.pixel(608 + x, y) + 4, outside_after.pixel(x, y));
            std::copy(inside.pixel(608 + x, y), inside.pixel(608 + x, y) + 4, inside_after.pixel(x, y));
            std::copy(outside.pixel(x, y), outside.pixel(x, y) + 4, outside_before.pixel(x, y));
        }
    }
    EXPECT_LT(opaquePixels(outside_before), opaquePixels(inside_after) * 3 / 4);  // the "before" half is cropped
    EXPECT_NEAR(opaquePixels(outside_after), opaquePixels(inside_after), opaquePixels(inside_after) / 20);
}

TEST(PreviewCli, AKeyframedSceneChangesFramesWhereTheKeyframesSay) {
    ScratchDir dir;
    // Tracking runs from 0 at frame 1 to 20 at frame 3 and holds after it;
    // the guide goes off with a scene key; frames 0..4.
    std::ofstream(dir.path() / "anim.json") << R"({
      "comp": {"width": 300, "height": 80, "fps": 23.976},
      "frames": {"first": 0, "last": 4},
      "output": "frames/f_##.png",
      "layer": {"text": "Ab", "position": [20, 50]},
      "effect": {"guide": false,
                 "tracking": {"keyframes": [{"frame": 1, "value": 0}, {"frame": 3, "value": 20}]}}
    })";
    const ToolRun run = runTool({"--scene", "anim.json", "--threads", "3", "--progress"}, dir.path());
    ASSERT_EQ(run.exit_code, 0) << run.err;
    // Progress lines on stderr off a terminal when asked; the missing
    // folder is made.
    EXPECT_EQ(run.out, "wrote 5 frames: frames/f_00.png ... frames/f_04.png\n");
    EXPECT_EQ(run.err,
              "quillarray-preview: 1/5 frames\nquillarray-preview: 2/5 frames\nquillarray-preview: 3/5 "
              "frames\nquillarray-preview: 4/5 frames\nquillarray-preview: 5/5 frames\n");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"anim.json", "frames"}));
    std::vector<PngImage> f;
    for (int i = 0; i < 5; ++i) {
        f.push_back(readPngFile((dir.path() / "frames" / ("f_0" + std::to_string(i) + ".png")).string()));
    }
    EXPECT_EQ(differingPixels(f[0], f[1]), 0);  // before the first keyframe it holds
    EXPECT_GT(differingPixels(f[1], f[2]), 0);  // between them it moves
    EXPECT_GT(differingPixels(f[2], f[3]), 0);
    EXPECT_EQ(differingPixels(f[3], f[4]), 0);  // after the last it holds

    // Sent to one FIFO, the frames follow one another whole and in frame
    // order, whichever thread finished first. The test holds the FIFO open
    // for writing too, so the reader sees no end between frames, with room
    // for all of them.
    const auto fifo = dir.path() / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int pipe_end = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(pipe_end, 0);
    ASSERT_GE(fcntl(pipe_end, F_SETPIPE_SZ, 1 << 20), 1 << 20);
    const ToolRun streamed = runTool({"--scene", "anim.json", "--threads", "3", "-o", fifo.string()}, dir.path());
    std::string stream;
    char buffer[4096];
    for (ssize_t n; (n = read(pipe_end, buffer, sizeof buffer)) > 0;) {
        stream.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipe_end);
    ASSERT_EQ(streamed.exit_code, 0) << streamed.err;
    std::string expected;
    for (int i = 0; i < 5; ++i) {
        std::ifstream file(dir.path() / "frames" / ("f_0" + std::to_string(i) + ".png"), std::ios::binary);
        expected.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    EXPECT_TRUE(stream == expected) << stream.size() << " bytes streamed, " << expected.size() << " in the files";
}

bool allTransparent(const PngImage& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.pixel(x, y)[3] != 0) {
                return false;
            }
        }
    }
    return true;
}

TEST(PreviewCli, ASceneRendersEveryFrameItCanAndNamesEachOneThatFailed) {
    ScratchDir dir;
    // The scale passes through 0 at frame 2 (a transparent frame, as the
    // host renders it); a folder stands where frame 3's file should go.
    std::ofstream(dir.path() / "flip.json") << R"({
      "comp": {"width": 200, "height": 80}, "frames": {"first": 0, "last": 4}, "output": "f_#.png",
      "layer": {"text": "Ab", "position": [60, 50],
                "scale": {"keyframes": [{"frame": 0, "value": [100, 100]}, {"frame": 4, "value": [-100, 100]}]}}
    })";
    std::filesystem::create_directory(dir.path() / "f_3.png");
    const ToolRun run = runTool({"--scene", "flip.json"}, dir.path());
    EXPECT_EQ(run.exit_code, 2) << run.err;
    EXPECT_EQ(run.err,
              "quillarray-preview: note: the layer's scale along the text's run is 0 % or less in 3 of 5 frames (from "
              "frame 2): every character's advance is under 2 pixels, so the effect skips them and those frames are "
              "transparent\n"
              "quillarray-preview: frame 3: cannot write \"f_3.png\": it is a folder\n"
              "quillarray-preview: 1 of 5 frames failed\n");
    EXPECT_EQ(run.out, "wrote 4 of 5 frames: f_0.png ... f_4.png\n");
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"f_0.png", "f_1.png", "f_2.png", "f_3.png", "f_4.png", "flip.json"}));
    EXPECT_TRUE(allTransparent(readPngFile((dir.path() / "f_2.png").string())));
    EXPECT_FALSE(allTransparent(readPngFile((dir.path() / "f_1.png").string())));
}

TEST(PreviewCli, TheTextLayerAsAsked) {
    ScratchDir dir;
    const ToolRun version = runTool({"--version"}, dir.path());
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out.rfind("Quillarray ", 0), 0u) << version.out;
    EXPECT_NE(version.out.find(" (build "), std::string::npos) << version.out;

    // An empty text is an empty layer, and said to be.
    const ToolRun empty = runTool({"--text", "", "-o", "empty.png"}, dir.path());
    ASSERT_EQ(empty.exit_code, 0) << empty.err;
    EXPECT_TRUE(oneLine(empty.err)) << empty.err;
    EXPECT_NE(empty.err.find("no characters to draw"), std::string::npos) << empty.err;
    EXPECT_TRUE(allTransparent(readPngFile((dir.path() / "empty.png").string())));

    // A tab and a character DejaVu Sans lacks: one line naming both.
    const ToolRun missing = runTool({"--text", "A\tB\xe4\xb8\xad\t", "-o", "missing.png"}, dir.path());
    ASSERT_EQ(missing.exit_code, 0) << missing.err;
    EXPECT_EQ(missing.err,
              "quillarray-preview: note: the font has no glyph of its own for tab (U+0009), U+4E2D \"\xe4\xb8\xad\"; "
              "drawn as the font draws them, they may show as boxes or gaps\n");

    // Text that is not UTF-8 and a flipped layer are said to be, once.
    const ToolRun bad = runTool({"--text", "A\xff", "-o", "bad.png"}, dir.path());
    EXPECT_EQ(bad.err,
              "quillarray-preview: note: the text is not valid UTF-8 (the first bad byte is byte 2); bad "
              "bytes are drawn as U+FFFD, the replacement character\n");
    const ToolRun flipped = runTool({"--scale", "-100,100", "-o", "flipped.png"}, dir.path());
    ASSERT_EQ(flipped.exit_code, 0) << flipped.err;
    EXPECT_EQ(flipped.err,
              "quillarray-preview: note: the layer's scale along the text's run is -100 %: every "
              "character's advance is under 2 pixels, so the effect skips them and the frame is "
              "transparent\n");
    EXPECT_TRUE(allTransparent(readPngFile((dir.path() / "flipped.png").string())));

    // "\\" typed is one backslash, as a lone one is.
    ASSERT_EQ(runTool({"--text", "a\\\\nb", "-o", "escaped.png"}, dir.path()).exit_code, 0);
    ASSERT_EQ(runTool({"--text", "a\\nb", "-o", "broken.png"}, dir.path()).exit_code, 0);
    ASSERT_EQ(runTool({"--text", "a\\", "-o", "one.png"}, dir.path()).exit_code, 0);
    ASSERT_EQ(runTool({"--text", "a\\\\", "-o", "two.png"}, dir.path()).exit_code, 0);
    EXPECT_EQ(
        differingPixels(readPngFile((dir.path() / "one.png").string()), readPngFile((dir.path() / "two.png").string())),
        0);
    EXPECT_GT(differingPixels(readPngFile((dir.path() / "escaped.png").string()),
                              readPngFile((dir.path() / "broken.png").string())),
              100);

    // A style is a fontconfig pattern: bold takes more ink.
    ASSERT_EQ(runTool({"--no-effect", "-o", "book.png"}, dir.path()).exit_code, 0);
    ASSERT_EQ(runTool({"--no-effect", "--font", "DejaVu Sans:style=Bold", "-o", "bold.png"}, dir.path()).exit_code, 0);
    EXPECT_GT(opaquePixels(readPngFile((dir.path() / "bold.png").string())),
              opaquePixels(readPngFile((dir.path() / "book.png").string())) * 11 / 10);
}

TEST(PreviewCli, DashWritesThePngToStandardOutputAndNothingElse) {
    ScratchDir dir;
    const ToolRun run = runTool({"--text", "Hi", "--comp-size", "120x60", "-o", "-"}, dir.path());
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(dir.entries().empty());
    std::ofstream(dir.path() / "stdout.png", std::ios::binary) << run.out;
    const PngImage image = readPngFile((dir.path() / "stdout.png").string());
    EXPECT_EQ(image.width, 120);
    EXPECT_EQ(image.height, 60);
}

TEST(PreviewCli, ASignalPartWayThroughASceneLeavesNoTemporaryFile) {
    ScratchDir dir;
    // Large frames, one thread: most of the time goes into encoding files.
    std::ofstream(dir.path() / "long.json") << R"({
      "comp": {"width": 3000, "height": 2000}, "frames": {"first": 0, "last": 200},
      "output": "long_###.png", "layer": {"font_size": 300, "position": [20, 1000]}
    })";
    for (const int sig : {SIGTERM, SIGINT}) {
        RunningTool tool({"--scene", "long.json", "--threads", "1"}, dir.path());
        const auto writing = [&] {
            std::error_code ec;
            for (const auto& e : std::filesystem::directory_iterator(dir.path(), ec)) {
                if (e.path().filename().string().find(".tmp-") != std::string::npos) {
                    return true;
                }
            }
            return false;
        };
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!writing() && std::chrono::steady_clock::now() < give_up) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ASSERT_TRUE(writing()) << "no temporary file seen";
        kill(tool.pid(), sig);
        const ToolRun run = tool.finish();
        EXPECT_EQ(run.signal, sig) << run.err;
        EXPECT_FALSE(writing()) << "a temporary file was left after signal " << sig;
        // One line says how far it got.
        EXPECT_TRUE(oneLine(run.err)) << run.err;
        EXPECT_EQ(run.err.rfind("quillarray-preview: interrupted: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(" of 201 frames written\n"), std::string::npos) << run.err;
    }
}

TEST(PreviewCli, APluginThatBreaksTheHostsRulesIsReported) {
    ScratchDir dir;
    const ToolRun run = runTool({"--plugin", QA_LEAKY_PLUGIN_PATH, "-o", "x.png"}, dir.path());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_TRUE(oneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find("broke the host's rules"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("PF ANSI Suite"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace minihost::preview
