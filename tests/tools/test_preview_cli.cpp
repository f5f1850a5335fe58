// quillarray-preview as a user runs it: what it writes, and for each kind of
// bad input one line on stderr, a non-zero exit and no file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

#include "minihost/preview/png_image.h"
#include "tool_run.h"

namespace minihost::preview {
namespace {

bool oneLine(const std::string& s) { return !s.empty() && s.back() == '\n' && std::count(s.begin(), s.end(), '\n') == 1; }

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
    for (const char* flag : {"--text-mode", "--character-size", "--x-threshold", "--y-threshold", "--guide",
                             "--no-guide", "--tracking", "--alignment", "--custom-size-1-index",
                             "--custom-size-5-size", "--buffer-expansion", "--text", "--font", "--font-size",
                             "--color", "--position", "--scale", "--comp-size", "--orientation", "--bpc",
                             "--downsample", "--quality", "--api-minor", "--appl-id", "--no-effect", "--compare",
                             "--scene", "--output"}) {
        EXPECT_NE(run.out.find(flag), std::string::npos) << flag;
    }
    EXPECT_NE(run.out.find("\"Character Size\": 1 to 1000, default 50"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Tracking\": -1000 to 1000, default 0"), std::string::npos);
    EXPECT_NE(run.out.find("\"Custom Size 3 > Size\": 1 to 1000, default 50"), std::string::npos);
    EXPECT_NE(run.out.find("\"Text Mode\": horizontal|vertical, default horizontal"), std::string::npos);
    EXPECT_NE(run.out.find("\"Enable Guide\": on or off, default on"), std::string::npos);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(PreviewCli, EachKindOfBadInputGetsOneLineAndNoFile) {
    expectRefusal({"--bogus"}, "--bogus");
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
}

TEST(PreviewCli, DepthsGiveEightOrSixteenBitFilesAndCompareDoublesTheWidth) {
    ScratchDir dir;
    for (const char* bpc : {"8", "16", "32"}) {
        const std::string name = std::string("d") + bpc + ".png";
        const ToolRun run = runTool({"--bpc", bpc, "--compare", "--comp-size", "200x80", "--text", "Hi", "-o", name},
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
    const ToolRun run = runTool({"--scene", "anim.json", "--threads", "3"}, dir.path());
    ASSERT_EQ(run.exit_code, 0) << run.err;
    // No progress bar off a terminal; the missing folder is made.
    EXPECT_EQ(run.out, "wrote 5 frames: frames/f_00.png ... frames/f_04.png\n");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"anim.json", "frames"}));
    std::vector<PngImage> f;
    for (int i = 0; i < 5; ++i) {
        f.push_back(readPngFile((dir.path() / "frames" / ("f_0" + std::to_string(i) + ".png")).string()));
    }
    EXPECT_EQ(differingPixels(f[0], f[1]), 0);  // before the first keyframe it holds
    EXPECT_GT(differingPixels(f[1], f[2]), 0);  // between them it moves
    EXPECT_GT(differingPixels(f[2], f[3]), 0);
    EXPECT_EQ(differingPixels(f[3], f[4]), 0);  // after the last it holds
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
