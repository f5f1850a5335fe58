// Scene files: what a good one sets, and one clear message, with its place,
// for each kind of bad one.
#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>

#include "tools/preview/preview_error.h"
#include "tools/preview/scene.h"
#include "tools/preview/session.h"
#include "params/param_index.h"
#include "scratch_dir.h"

namespace minihost::preview {
namespace {

class SceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { session_ = new Session(QA_PLUGIN_PATH); }
    static void TearDownTestSuite() {
        EXPECT_TRUE(session_->ledgerClean()) << ::testing::PrintToString(session_->ledgerViolations());
        delete session_;
        session_ = nullptr;
    }
    const Controls& params() { return session_->controls(); }

    // The message parseScene gives, or "" when it accepts the scene.
    std::string errorOf(const std::string& text) {
        try {
            parseScene(text, "scene.json", params());
        } catch (const InputError& e) {
            return e.what();
        }
        return "";
    }

    static Session* session_;
};
Session* SceneTest::session_ = nullptr;

const ControlSetting* settingOf(const Job& job, int index) {
    for (const ControlSetting& c : job.controls) {
        if (c.index == index) {
            return &c;
        }
    }
    return nullptr;
}

TEST_F(SceneTest, AGoodSceneSetsCompLayerControlsAndFrames) {
    const Job job = parseScene(R"({
      "comp": {"width": 320, "height": 90, "fps": 29.97},
      "frames": {"first": 2, "last": 5},
      "output": "out/q_###.png",
      "render": {"bpc": 16, "downsample": 2, "quality": "low", "api-minor": 14, "appl_id": "PrMr"},
      "layer": {"text": "ab", "font-size": {"keyframes": [{"frame": 0, "value": 20}, {"frame": 10, "value": 40}]},
                "color": "#102030", "position": [10, 60], "scale": 50, "orientation": "vertical",
                "paragraph": "center"},
      "effect": {"text-mode": "vertical", "alignment": "bottom", "guide": false, "Tracking": -5,
                 "character_size": {"keyframes": [{"time": 0.5, "value": 30}, {"frame": 0, "value": 60}]},
                 "custom-size-4-index": 3}
    })",
                               "scene.json", params());
    EXPECT_EQ(job.layer.comp_width, 320);
    EXPECT_DOUBLE_EQ(job.frames.fps, 29.97);
    EXPECT_EQ(job.frames.first, 2);
    EXPECT_EQ(job.frames.last, 5);
    EXPECT_TRUE(job.sequence);
    EXPECT_EQ(job.output, "out/q_###.png");
    EXPECT_EQ(job.render.depth, Depth::k16);
    EXPECT_EQ(job.render.downsample, 2);
    EXPECT_EQ(job.render.quality, PF_Quality_LO);
    EXPECT_EQ(job.render.api_minor, 14);
    EXPECT_EQ(job.render.appl_id, kApplIdPremierePro);
    EXPECT_NEAR(job.layer.text.size_px.at(5 / 29.97), 30.0, 1e-9);  // frame 5 at 29.97 per second
    EXPECT_DOUBLE_EQ(job.layer.text.green.at(0.0), 0x20);
    EXPECT_DOUBLE_EQ(job.layer.position.at(0).y, 60);
    EXPECT_DOUBLE_EQ(job.layer.scale.at(0).x, 50);
    EXPECT_EQ(job.layer.text.paragraph.flow, text::Flow::kVertical);
    EXPECT_EQ(job.layer.text.paragraph.align, text::Align::kCenter);
    ASSERT_NE(settingOf(job, PARAM_TEXT_MODE), nullptr);
    EXPECT_EQ(settingOf(job, PARAM_TEXT_MODE)->constant, TEXT_MODE_VERTICAL);
    EXPECT_EQ(settingOf(job, PARAM_TEXT_ALIGNMENT)->constant, ALIGN_RIGHT);
    EXPECT_EQ(settingOf(job, PARAM_ENABLE_GUIDE)->constant, 0.0);
    EXPECT_EQ(settingOf(job, PARAM_TRACKING)->constant, -5.0);
    EXPECT_EQ(settingOf(job, PARAM_PAIR4_INDEX)->constant, 3.0);
    const ControlSetting* size = settingOf(job, PARAM_CHARACTER_SIZE);
    ASSERT_EQ(size->keys.size(), 2u);
    EXPECT_DOUBLE_EQ(size->keys[0].seconds, 0.5);
    EXPECT_DOUBLE_EQ(size->keys[1].seconds, 0.0);
}

TEST_F(SceneTest, DefaultsAreTheSampleAndTheOutputIsNamedAfterTheScene) {
    const Job job = parseScene("{}", "dir/wave.json", params());
    EXPECT_EQ(job.output, "wave_####.png");
    EXPECT_EQ(job.layer.text.text, "Quill & Ink");
    EXPECT_EQ(job.frames.first, 0);
    EXPECT_EQ(job.frames.last, 0);
    EXPECT_TRUE(job.controls.empty());
}

TEST_F(SceneTest, MalformedJsonIsReportedWithLineAndColumn) {
    EXPECT_EQ(errorOf("{\n  \"comp\": {\"width\": 10,}\n}").rfind("scene.json:2:24: ", 0), 0u)
        << errorOf("{\n  \"comp\": {\"width\": 10,}\n}");
    EXPECT_EQ(errorOf("").rfind("scene.json:1:1: ", 0), 0u) << errorOf("");
    EXPECT_EQ(errorOf("{\"a\": tru}").rfind("scene.json:1:", 0), 0u);
}

TEST_F(SceneTest, WrongValuesNameTheirKeyAndWhatIsAccepted) {
    // Keys are spelt as the flags are; an unknown one gets the closest known.
    EXPECT_EQ(errorOf(R"({"layer": {"colour": "#fff"}})"),
              "scene.json: layer.colour is not a known key; did you mean \"layer.color\"?");
    EXPECT_EQ(errorOf(R"({"layer": {"fontsize": 20}})"),
              "scene.json: layer.fontsize is not a known key; did you mean \"layer.font-size\"?");
    EXPECT_EQ(errorOf(R"({"layer": {"font_size": 20, "font-size": 30}})"),
              "scene.json: layer.font-size is given twice");
    EXPECT_EQ(
        errorOf(R"({"effect": {"charactersize": 40}})"),
        "scene.json: effect.charactersize is not a control of the effect; did you mean \"effect.character-size\"?");
    EXPECT_EQ(errorOf(R"({"effect": {"left": 4}})"), "scene.json: effect.left is not a control of the effect");
    EXPECT_EQ(errorOf(R"({"effect": {"character-size": 2000}})"),
              "scene.json: effect.character-size 2000 is outside its valid range 1 to 1000");
    EXPECT_EQ(errorOf(R"({"effect": {"tracking": -1000.5}})"),
              "scene.json: effect.tracking -1000.5 is outside its valid range -1000 to 1000");
    EXPECT_EQ(errorOf(R"({"effect": {"alignment": "middle"}})"),
              "scene.json: effect.alignment \"middle\" is not one of left|center|right (top|bottom in vertical mode)");
    EXPECT_EQ(errorOf(R"({"effect": {"kerning": 1}})"), "scene.json: effect.kerning is not a control of the effect");
    EXPECT_EQ(errorOf(R"({"effect": {"text-mode": {"keyframes": [{"frame": 0, "value": 1}]}}})"),
              "scene.json: effect.text-mode cannot be animated");
    EXPECT_EQ(errorOf(R"({"effect": {"tracking": {"keyframes": [{"value": 1}]}}})"),
              "scene.json: effect.tracking.keyframes[0] needs either \"frame\" or \"time\"");
    EXPECT_EQ(
        errorOf(R"({"effect": {"tracking": {"keyframes": [{"frame": 1, "value": 1}, {"frame": 1, "value": 2}]}}})"),
        "scene.json: effect.tracking.keyframes has two keyframes at one time");
    EXPECT_EQ(errorOf(R"({"frames": {"first": 5, "last": 2}})"), "scene.json: frames.last comes before frames.first");
    EXPECT_EQ(errorOf(R"({"comp": {"width": 0}})"), "scene.json: comp.width is outside 1 to 8192");
    EXPECT_EQ(errorOf(R"({"layer": {"position": [1]}})"), "scene.json: layer.position must be [x, y]");
    EXPECT_EQ(errorOf(R"({"render": {"bpc": 12}})"),
              "scene.json: render.bpc: bits per channel \"12\" is not 8, 16 or 32");
    EXPECT_EQ(errorOf("[1, 2]"), "scene.json: the scene must be an object");
}

TEST_F(SceneTest, AMissingFileIsNamed) {
    ScratchDir dir;
    const std::string path = (dir.path() / "nope.json").string();
    try {
        readScene(path, params());
        FAIL() << "a missing scene file was read";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), path + ": cannot read the scene file: No such file or directory");
    }
    EXPECT_THROW(readScene(dir.path().string(), params()), InputError);  // a folder
    // Only regular files, and none larger than the limit: neither an endless
    // device nor a FIFO is read.
    const auto refusal = [&](const std::string& file) {
        try {
            readScene(file, params());
        } catch (const InputError& e) {
            return std::string(e.what());
        }
        return std::string("read");
    };
    EXPECT_EQ(refusal("/dev/zero"),
              "/dev/zero: cannot read the scene file: it is not a regular file (use --scene - for standard input)");
    const auto fifo = dir.path() / "fifo.json";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(refusal(fifo.string()).find("it is not a regular file"), std::string::npos);
    const auto big = dir.path() / "big.json";
    std::ofstream(big) << "{" << std::string(kMaxSceneBytes, ' ') << "}";
    EXPECT_EQ(refusal(big.string()), big.string() +
                                         ": cannot read the scene file: it is larger than 4 MB, the most a "
                                         "scene file may be");
    std::ofstream(dir.path() / "ok.json") << R"({"frames": {"last": 3}})";
    EXPECT_EQ(readScene((dir.path() / "ok.json").string(), params()).frames.last, 3);
}

}  // namespace
}  // namespace minihost::preview
