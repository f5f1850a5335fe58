// The cross-built Windows plug-in, read as a PE file: what the host sees of
// it before running any code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "packaging/pipl/pipl.h"
#include "pe_reader.h"

namespace packaging_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kImageFileDll = 0x2000;

class WindowsPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QA_WINDOWS_BUILT) {
            GTEST_SKIP() << "x86_64-w64-mingw32-g++ was not found when this build was configured, so no .aex "
                            "was built (make deps installs g++-mingw-w64-x86-64)";
        }
        pe_ = readPe(readFileBytes(QA_WINDOWS_AEX));
    }
    PeFile pe_;
};

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

TEST_F(WindowsPlugin, IsA64BitDll) {
    EXPECT_EQ(pe_.machine, kMachineAmd64);
    EXPECT_NE(pe_.characteristics & kImageFileDll, 0);
}

TEST_F(WindowsPlugin, ExportsExactlyTheTwoEntryPoints) {
    EXPECT_EQ(pe_.exports, (std::vector<std::string>{"EffectMain", "PluginDataEntryFunction"}));
}

TEST_F(WindowsPlugin, HoldsThePropertyListAsPIPL16000InUSEnglish) {
    ASSERT_EQ(pe_.resources.size(), 1u) << "nothing but the property list";
    const PeResource& r = pe_.resources[0];
    EXPECT_EQ(r.typeName, "PIPL");
    EXPECT_TRUE(r.name.empty());
    EXPECT_EQ(r.id, 16000u);
    EXPECT_EQ(r.language, 1033u);
    EXPECT_EQ(r.data, pipl::windowsPropertyList());
}

// Every Windows machine has these; the C++ runtime and libgcc are linked in,
// and the win32 thread model needs no winpthread.
TEST_F(WindowsPlugin, ImportsOnlyKernel32AndTheSystemCRuntime) {
    std::set<std::string> dlls;
    for (const std::string& dll : pe_.imports) {
        dlls.insert(lower(dll));
    }
    EXPECT_EQ(dlls, (std::set<std::string>{"kernel32.dll", "msvcrt.dll"}));
}

// The reader must refuse what is not a PE image, or the checks above would
// prove little.
TEST(PeReader, RefusesWhatIsNotA64BitImage) {
    EXPECT_THROW(readPe(Bytes{}), std::runtime_error);
    EXPECT_THROW(readPe(Bytes(64, 0)), std::runtime_error) << "no MZ";

    Bytes mzOnly(0x40, 0);
    mzOnly[0] = 'M';
    mzOnly[1] = 'Z';
    mzOnly[0x3c] = 0x40;
    EXPECT_THROW(readPe(mzOnly), std::runtime_error) << "no PE signature";

    Bytes pe32 = mzOnly;
    const Bytes header = {'P', 'E', 0, 0, 0x4c, 0x01, 0, 0};
    pe32.insert(pe32.end(), header.begin(), header.end());
    pe32.resize(0x40 + 24 + 2, 0);
    pe32[0x40 + 24] = 0x0b;  // optional header magic 0x10b: a 32-bit image
    pe32[0x40 + 25] = 0x01;
    EXPECT_THROW(readPe(pe32), std::runtime_error);
}

TEST(PeReader, RefusesTheBuiltPluginCutInHalf) {
    if (!QA_WINDOWS_BUILT) {
        GTEST_SKIP() << "no .aex was built (mingw-w64 missing)";
    }
    const Bytes whole = readFileBytes(QA_WINDOWS_AEX);
    EXPECT_NO_THROW(readPe(whole));
    // Its tables lie past the middle: the reader must notice they are gone.
    Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    EXPECT_THROW(readPe(cut), std::runtime_error);
}

}  // namespace
}  // namespace packaging_test
