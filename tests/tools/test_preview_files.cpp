// The preview tool's PNG files, written whole or not at all, its frame file
// names and the values it reads for the layer and the render.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <random>
#include <vector>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "tools/preview/job.h"
#include "tools/preview/layer_values.h"
#include "tools/preview/picture.h"
#include "tools/preview/png_image.h"
#include "tools/preview/preview_error.h"
#include "scratch_dir.h"

namespace minihost::preview {
namespace {

PngImage gradient(int depth) {
    PngImage image(3, 2, depth);
    const std::uint16_t full = depth == 8 ? 255 : 65535;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            std::uint16_t* p = image.pixel(x, y);
            p[0] = static_cast<std::uint16_t>(full / 3 * x);
            p[1] = static_cast<std::uint16_t>(full - y);
            p[2] = static_cast<std::uint16_t>(x + y);
            p[3] = static_cast<std::uint16_t>(x == 0 ? 0 : full / (x + 1));  // straight alpha, incl. 0
        }
    }
    return image;
}

TEST(PngFile, RoundTripsEightAndSixteenBitSamplesExactly) {
    ScratchDir dir;
    for (int depth : {8, 16}) {
        const std::string file = (dir.path() / ("g" + std::to_string(depth) + ".png")).string();
        const PngImage written = gradient(depth);
        writePngFile(file, written);
        const PngImage read = readPngFile(file);
        EXPECT_EQ(read.bit_depth, depth);
        EXPECT_EQ(read.width, 3);
        EXPECT_EQ(read.height, 2);
        EXPECT_EQ(read.rgba, written.rgba);
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"g16.png", "g8.png"}));  // no temporary left
}

TEST(PngFile, EveryCompressionLevelRoundTripsAndTheLevelIsApplied) {
    ScratchDir dir;
    std::mt19937 rng(7);
    for (int depth : {8, 16}) {
        // Smooth ramps with noise in the low bits: filters and matches both pay.
        PngImage image(97, 13, depth);
        for (std::size_t i = 0; i < image.rgba.size(); ++i) {
            image.rgba[i] = static_cast<std::uint16_t>((i / 4 % 97) * (depth == 8 ? 2 : 600) + rng() % 3);
        }
        std::vector<std::uintmax_t> sizes;
        for (int level = kMinPngCompression; level <= kMaxPngCompression; ++level) {
            // Built in steps: GCC 12 at -O3 warns falsely (-Wrestrict) on "c" + std::to_string(level).
            std::string name = "c";
            name += std::to_string(level);
            name += ".png";
            const std::string file = (dir.path() / name).string();
            writePngFile(file, image, level);
            EXPECT_EQ(readPngFile(file).rgba, image.rgba) << "level " << level;
            sizes.push_back(std::filesystem::file_size(file));
        }
        // Stored rows hold every byte; the top level packs them tighter than the fastest.
        EXPECT_GT(sizes.front(), image.rgba.size() * std::size_t(depth / 8));
        EXPECT_LT(sizes.back(), sizes[1]);
        EXPECT_LT(sizes[1], sizes.front());
        EXPECT_THROW(writePngFile((dir.path() / "bad.png").string(), image, 10), InputError);
        EXPECT_THROW(writePngFile((dir.path() / "bad.png").string(), image, -1), InputError);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "bad.png"));
    }
}

TEST(PngFile, AFailedWriteLeavesNothingBehindAndKeepsAnOldFile) {
    ScratchDir dir;
    std::ofstream(dir.path() / "plain") << "a file, not a folder";
    EXPECT_THROW(writePngFile((dir.path() / "plain" / "x.png").string(), gradient(8)), InputError);
    EXPECT_THROW(writePngFile(dir.path().string(), gradient(8)), InputError);  // a folder
    EXPECT_THROW(writePngFile((dir.path() / "empty.png").string(), PngImage{}), InputError);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"plain"});

    // A read-only folder: the old file stays as it was. (Root may write anyway.)
    const auto locked = dir.path() / "locked";
    std::filesystem::create_directory(locked);
    std::ofstream(locked / "old.png") << "old";
    chmod(locked.c_str(), 0555);
    if (access(locked.c_str(), W_OK) != 0) {
        EXPECT_THROW(writePngFile((locked / "old.png").string(), gradient(8)), InputError);
        std::ifstream old(locked / "old.png");
        std::string text;
        old >> text;
        EXPECT_EQ(text, "old");
    }
    chmod(locked.c_str(), 0755);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(locked), {}), 1);
}

TEST(PngFile, MissingFoldersAreMade) {
    ScratchDir dir;
    writePngFile((dir.path() / "frames" / "deep" / "f.png").string(), gradient(8));
    EXPECT_EQ(readPngFile((dir.path() / "frames" / "deep" / "f.png").string()).width, 3);
}

TEST(PngFile, ALinkStaysALinkAndWhatItLeadsToIsWritten) {
    ScratchDir dir;
    const auto link = dir.path() / "link.png";
    const auto dangling = dir.path() / "dangling.png";
    std::ofstream(dir.path() / "target.png") << "old";
    std::filesystem::create_symlink("target.png", link);
    std::filesystem::create_symlink("later/made.png", dangling);
    writePngFile(link.string(), gradient(8));
    writePngFile(dangling.string(), gradient(16));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(readPngFile((dir.path() / "target.png").string()).bit_depth, 8);
    EXPECT_EQ(readPngFile((dir.path() / "later" / "made.png").string()).bit_depth, 16);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"dangling.png", "later", "link.png", "target.png"}));
}

// What is waiting in a FIFO or on one connection to a socket (a small PNG
// fits the system's buffer, so the writer never waits for a reader).
std::string drain(int fd) {
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; fd >= 0 && (n = read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    if (fd >= 0) {
        close(fd);
    }
    return bytes;
}

bool isPng(const std::string& bytes) { return bytes.size() > 8 && bytes.compare(1, 3, "PNG") == 0; }

TEST(PngFile, DevicesFifosAndSocketsAreWrittenInPlaceNeverReplaced) {
    ScratchDir dir;
    const auto fifo = dir.path() / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    writePngFile(fifo.string(), gradient(8));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(isPng(drain(reader)));

    const auto socket_path = dir.path() / "sock";
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket_path.c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    writePngFile(socket_path.string(), gradient(16));
    const int connection = accept(listener, nullptr, nullptr);
    if (connection >= 0) {
        fcntl(connection, F_SETFL, 0);  // the writer is done: read to its end
    }
    EXPECT_TRUE(isPng(drain(connection)));
    close(listener);
    EXPECT_TRUE(std::filesystem::is_socket(socket_path));

    // The null device, through a link of ours and, where a node can be made
    // (root), as a node of its own.
    const auto null_link = dir.path() / "null.png";
    std::filesystem::create_symlink("/dev/null", null_link);
    writePngFile(null_link.string(), gradient(8));
    EXPECT_TRUE(std::filesystem::is_symlink(null_link));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    const auto null_node = dir.path() / "null";
    if (mknod(null_node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        writePngFile(null_node.string(), gradient(8));
        EXPECT_TRUE(std::filesystem::is_character_file(null_node));
    }
    EXPECT_EQ(dir.entries().size(), 3u + (std::filesystem::exists(null_node) ? 1u : 0u)) << "temporaries left";
}

TEST(PngFile, ReadingSomethingElseFailsCleanly) {
    ScratchDir dir;
    std::ofstream(dir.path() / "fake.png") << "not a png at all";
    EXPECT_THROW(readPngFile((dir.path() / "fake.png").string()), InputError);
    EXPECT_THROW(readPngFile((dir.path() / "none.png").string()), InputError);
}

TEST(Picture, WorldsBecomeStraightSamplesAtTheirOrigin) {
    for (Depth depth : {Depth::k8, Depth::k16, Depth::k32}) {
        World world(2, 1, depth, 1, 0);  // buffer pixel (0, 0) is canvas pixel (1, 0)
        world.set(0, 0, Rgba{1.0f, 1.0f, 0.5f, 0.0f});
        world.set(1, 0, Rgba{0.5f, 0.25f, 0.0f, 1.0f});
        Composition composition(4, 1, pngBitDepth(depth));
        composition.paste(world, 1, 0);  // one more to the right
        const PngImage canvas = composition.image();
        const double full = depth == Depth::k8 ? 255.0 : 65535.0;
        EXPECT_EQ(canvas.bit_depth, depth == Depth::k8 ? 8 : 16);
        EXPECT_EQ(canvas.pixel(1, 0)[3], 0);  // nothing pasted left of the origin
        EXPECT_EQ(canvas.pixel(2, 0)[3], full);
        EXPECT_NEAR(canvas.pixel(2, 0)[1], full * 0.5, 1.0);
        EXPECT_NEAR(canvas.pixel(3, 0)[3], full * 0.5, 1.0);   // alpha stays straight:
        EXPECT_NEAR(canvas.pixel(3, 0)[0], full * 0.25, 1.0);  // colour not multiplied by it
    }
}

TEST(Picture, FloatValuesOutsideZeroToOneAreClamped) {
    World world(3, 1, Depth::k32);
    world.set(0, 0, Rgba{2.0f, -1.0f, 0.5f, 7.0f});
    world.set(1, 0, Rgba{std::nanf(""), 1.0f, 1.0f, 1.0f});
    Composition composition(3, 1, 16);
    composition.paste(world, 0, 0);
    const PngImage canvas = composition.image();
    EXPECT_EQ(canvas.pixel(0, 0)[3], 65535);
    EXPECT_EQ(canvas.pixel(0, 0)[0], 0);
    EXPECT_EQ(canvas.pixel(0, 0)[2], 65535);
    EXPECT_EQ(canvas.pixel(1, 0)[3], 0);
}

// One sample the plain way: the world's pixel read through the host's
// checked accessor, clamped, scaled and rounded in doubles.
std::uint16_t referenceSample(float v, double full) {
    if (!(v > 0.0f)) {
        return 0;
    }
    return static_cast<std::uint16_t>(std::lround(std::min(static_cast<double>(v), 1.0) * full));
}

// Random raw channel contents: every bit pattern an 8- or 16-bit channel can
// hold (16-bit ones above 32768 too, which the host never writes but a
// plug-in may), and floats around and beyond 0..1, with NaN, infinities,
// negative zero, tiny values and values just below a rounding half.
void fillRandomly(World& world, std::mt19937& rng, int& counter) {
    const std::vector<float> special = {0.0f,
                                        -0.0f,
                                        1.0f,
                                        -1.0f,
                                        0.5f / 65535.0f,
                                        0.5f / 255.0f,
                                        std::nextafter(0.5f / 65535.0f, 0.0f),
                                        std::nextafter(1.0f, 0.0f),
                                        std::numeric_limits<float>::infinity(),
                                        -std::numeric_limits<float>::infinity(),
                                        std::nanf(""),
                                        std::numeric_limits<float>::denorm_min(),
                                        1.5f};
    for (int y = 0; y < world.height(); ++y) {
        auto* row = reinterpret_cast<unsigned char*>(world.pf()->data) + std::ptrdiff_t(y) * world.rowBytes();
        for (int x = 0; x < world.width(); ++x) {
            for (int c = 0; c < 4; ++c, ++counter) {
                switch (world.depth()) {
                    case Depth::k8:
                        row[x * 4 + c] = static_cast<unsigned char>(counter);
                        break;
                    case Depth::k16:
                        reinterpret_cast<std::uint16_t*>(row)[x * 4 + c] = static_cast<std::uint16_t>(counter);
                        break;
                    case Depth::k32: {
                        const float v = counter % 5 == 0 ? special[rng() % special.size()]
                                                         : std::uniform_real_distribution<float>(-0.2f, 1.2f)(rng);
                        reinterpret_cast<float*>(row)[x * 4 + c] = v;
                        break;
                    }
                }
            }
        }
    }
}

TEST(Picture, RowKernelsGiveWhatThePlainPerPixelConversionGives) {
    std::mt19937 rng(21);
    int counter = 0;
    for (int bits : {8, 16}) {
        for (Depth depth : {Depth::k8, Depth::k16, Depth::k32}) {
            for (int round = 0; round < 6; ++round) {
                SCOPED_TRACE(std::string("bits ") + std::to_string(bits) + ", world " + depthName(depth) + ", round " +
                             std::to_string(round));
                // Round 0 shows a whole 256 x 64 world: every 16-bit value
                // (and every 8-bit one) once per channel order.
                const bool whole = round == 0;
                const int cw = whole ? 256 : 1 + static_cast<int>(rng() % 40);
                const int ch = whole ? 64 : 1 + static_cast<int>(rng() % 30);
                // Two worlds, the second partly over the first, at random
                // origins and clips, some reaching past the canvas.
                std::vector<World> worlds;
                struct At {
                    int x, y, cx, cy, cw, ch;
                };
                std::vector<At> at;
                for (int k = 0; k < 2; ++k) {
                    if (whole && k == 0) {
                        worlds.emplace_back(256, 64, depth);
                        at.push_back(At{0, 0, 0, 0, 256, 64});
                    } else {
                        worlds.emplace_back(1 + static_cast<int>(rng() % 50), 1 + static_cast<int>(rng() % 40), depth,
                                            static_cast<int>(rng() % 21) - 10, static_cast<int>(rng() % 21) - 10);
                        at.push_back(At{static_cast<int>(rng() % 31) - 15, static_cast<int>(rng() % 31) - 15,
                                        static_cast<int>(rng() % 11) - 5, static_cast<int>(rng() % 11) - 5,
                                        static_cast<int>(rng() % 50), static_cast<int>(rng() % 40)});
                    }
                    if (whole && k == 0) {
                        counter = 0;  // starts the world at value 0
                    }
                    fillRandomly(worlds.back(), rng, counter);
                }
                Composition composition(cw, ch, bits);
                PngImage expected(cw, ch, bits);
                const double full = bits == 8 ? 255.0 : 65535.0;
                for (std::size_t k = 0; k < worlds.size(); ++k) {
                    const World& w = worlds[k];
                    const At& a = at[k];
                    composition.paste(w, a.x, a.y, a.cx, a.cy, a.cw, a.ch);
                    for (int y = 0; y < w.height(); ++y) {
                        for (int x = 0; x < w.width(); ++x) {
                            const int px = a.x + w.pf()->origin_x + x, py = a.y + w.pf()->origin_y + y;
                            if (px < std::max(0, a.cx) || px >= std::min(cw, a.cx + a.cw) || py < std::max(0, a.cy) ||
                                py >= std::min(ch, a.cy + a.ch)) {
                                continue;
                            }
                            const Rgba p = w.at(x, y);
                            std::uint16_t* out = expected.pixel(px, py);
                            out[0] = referenceSample(p.r, full);
                            out[1] = referenceSample(p.g, full);
                            out[2] = referenceSample(p.b, full);
                            out[3] = referenceSample(p.a, full);
                        }
                    }
                }
                const PngImage got = composition.image();
                int wrong = 0;
                for (std::size_t i = 0; i < got.rgba.size(); ++i) {
                    if (got.rgba[i] != expected.rgba[i] && wrong++ < 3) {
                        ADD_FAILURE() << "sample " << i << ": " << got.rgba[i] << " instead of " << expected.rgba[i];
                    }
                }
                EXPECT_EQ(wrong, 0);
            }
        }
    }
}

TEST(FrameFileName, NumbersTheHashRunOrAddsOne) {
    EXPECT_EQ(frameFileName("out/f_####.png", 7), "out/f_0007.png");
    EXPECT_EQ(frameFileName("f#.png", 123), "f123.png");
    EXPECT_EQ(frameFileName("clip.png", 12), "clip_0012.png");
    EXPECT_EQ(frameFileName("dir/clip.png", 3), "dir/clip_0003.png");
}

TEST(LayerValues, AcceptWhatTheHelpPromisesAndRefuseTheRest) {
    const Color c = parseColor("#e07b39");
    EXPECT_EQ(c.r, 0xe0);
    EXPECT_EQ(c.b, 0x39);
    EXPECT_EQ(c.a, 255);
    EXPECT_EQ(parseColor("#fff").g, 255);
    EXPECT_THROW(parseColor("#fff8"), InputError);  // 4 digits are not a form
    EXPECT_EQ(parseColor("10,20,30,40").a, 40);
    for (const char* bad : {"#ff", "red", "1,2", "1,2,300", "#ggg"}) {
        EXPECT_THROW(parseColor(bad), InputError) << bad;
    }
    EXPECT_EQ(parsePoint("12.5,-3").y, -3);
    EXPECT_THROW(parsePoint("12"), InputError);
    EXPECT_THROW(parsePoint("1e9,0"), InputError);
    EXPECT_EQ(parseScale("50").y, 50);
    EXPECT_EQ(parseScale("-100,200").x, -100);
    EXPECT_THROW(parseScale("a"), InputError);
    EXPECT_EQ(parseCompSize("640x360"), (std::pair<int, int>{640, 360}));
    for (const char* bad : {"640", "0x10", "10x99999", "1.5x2", "x"}) {
        EXPECT_THROW(parseCompSize(bad), InputError) << bad;
    }
    EXPECT_EQ(parseDepth("32"), Depth::k32);
    EXPECT_THROW(parseDepth("24"), InputError);
    EXPECT_EQ(parseQuality("low"), PF_Quality_LO);
    EXPECT_THROW(parseQuality("best"), InputError);
    EXPECT_EQ(parseApplId("PrMr"), kApplIdPremierePro);
    EXPECT_THROW(parseApplId("AE"), InputError);
    EXPECT_EQ(parseOrientation("vertical"), text::Flow::kVertical);
    EXPECT_THROW(parseOrientation("diagonal"), InputError);
    EXPECT_EQ(parseParagraph("bottom"), text::Align::kEnd);
    EXPECT_THROW(parseParagraph("justify"), InputError);
}

}  // namespace
}  // namespace minihost::preview
