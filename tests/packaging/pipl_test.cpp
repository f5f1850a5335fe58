// The generated property lists, read back field by field and compared with
// the table the host expects, and with what GlobalSetup writes.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "host/handlers.h"
#include "host/identity.h"
#include "host/pipl.h"
#include "pipl_reader.h"

namespace packaging_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct Expected {
    const char* key;
    std::uint32_t length;
};

// Key and length of each property, in order; the entry point's key differs
// per platform.
std::vector<Expected> table(const char* codeKey) {
    return {{"kind", 4}, {"name", 12}, {"catg", 20}, {codeKey, 12}, {"ePVR", 4}, {"eSVR", 4},
            {"eVER", 4}, {"eINF", 2},  {"eGLO", 4},  {"eGL2", 4},    {"eMNA", 8}, {"aeFL", 4}};
}

std::string keyText(std::uint32_t key) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        s.push_back(static_cast<char>((key >> shift) & 0xff));
    }
    return s;
}

void expectTableShape(const PropertyList& list, const char* codeKey) {
    EXPECT_EQ(list.version, 0u);
    const std::vector<Expected> rows = table(codeKey);
    ASSERT_EQ(list.properties.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("property " + std::to_string(i + 1) + " " + rows[i].key);
        const Property& p = list.properties[i];
        EXPECT_EQ(keyText(p.vendor), "8BIM");
        EXPECT_EQ(keyText(p.key), rows[i].key);
        EXPECT_EQ(p.number, 0u);
        EXPECT_EQ(p.length, rows[i].length);
    }
}

// The data of every property, written out from the table.
void expectTableData(const PropertyList& list, Endian e) {
    ASSERT_EQ(list.properties.size(), 12u);
    const auto& p = list.properties;
    EXPECT_EQ(u32(p[0].data, 0, e), code("eFKT"));
    EXPECT_EQ(p[1].data, bytesOf(std::string("\x0aQuillarray\0", 12)));
    EXPECT_EQ(p[2].data, bytesOf(std::string("\x11Lumen Foundry Lab\0\0", 20)));
    EXPECT_EQ(p[3].data, bytesOf(std::string("EffectMain\0\0", 12)));
    EXPECT_EQ(u16(p[4].data, 0, e), 2);
    EXPECT_EQ(u16(p[4].data, 2, e), 0);
    EXPECT_EQ(u16(p[5].data, 0, e), 13);
    EXPECT_EQ(u16(p[5].data, 2, e), 25);
    EXPECT_EQ(u32(p[6].data, 0, e), 0x00092001u);
    EXPECT_EQ(u16(p[7].data, 0, e), 0);
    EXPECT_EQ(u32(p[8].data, 0, e), 0x04000000u);
    EXPECT_EQ(u32(p[9].data, 0, e), 0x08001408u);
    EXPECT_EQ(p[10].data, bytesOf(std::string("\x04LFQA\0\0\0", 8)));
    EXPECT_EQ(u32(p[11].data, 0, e), 0u);
}

TEST(WindowsPropertyList, HeaderAndTwelvePropertiesInTableOrder) {
    const Bytes bytes = pipl::windowsPropertyList();
    EXPECT_EQ(bytes.size(), 286u);
    const PropertyList list = readPropertyList(bytes, Endian::little, true);
    EXPECT_EQ(list.leadingValue, 1);
    expectTableShape(list, "8664");
}

TEST(WindowsPropertyList, DataOfEveryProperty) {
    expectTableData(readPropertyList(pipl::windowsPropertyList(), Endian::little, true), Endian::little);
}

TEST(WindowsPropertyList, FourCharCodesAppearReversedInTheFile) {
    const Bytes bytes = pipl::windowsPropertyList();
    // First property: vendor at byte 10, key at 14, the kind code at 26.
    EXPECT_EQ(std::string(bytes.begin() + 10, bytes.begin() + 14), "MIB8");
    EXPECT_EQ(std::string(bytes.begin() + 14, bytes.begin() + 18), "dnik");
    EXPECT_EQ(std::string(bytes.begin() + 26, bytes.begin() + 30), "TKFe");
}

TEST(WindowsPropertyList, InfoFlagsPaddingIsNotCounted) {
    const Bytes bytes = pipl::windowsPropertyList();
    // eINF is the eighth property; its length says 2 and two zero bytes follow.
    const std::size_t eINF = 10 + 16 * 7 + (4 + 12 + 20 + 12 + 4 + 4 + 4);
    EXPECT_EQ(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(eINF) + 4,
                          bytes.begin() + static_cast<std::ptrdiff_t>(eINF) + 8),
              "FNIe");
    EXPECT_EQ(u32(bytes, eINF + 12, Endian::little), 2u);
    EXPECT_EQ(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(eINF) + 16,
                    bytes.begin() + static_cast<std::ptrdiff_t>(eINF) + 20),
              Bytes(4, 0));
    EXPECT_EQ(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(eINF) + 24,
                          bytes.begin() + static_cast<std::ptrdiff_t>(eINF) + 28),
              "OLGe");
}

TEST(MacPropertyList, SamePropertiesBigEndianWithTheMacEntryPoint) {
    const Bytes bytes = pipl::macPropertyList();
    EXPECT_EQ(bytes.size(), 284u);
    const PropertyList list = readPropertyList(bytes, Endian::big, false);
    expectTableShape(list, "mi64");
    expectTableData(list, Endian::big);
    // Codes read in their own order in a big-endian file.
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "8BIMkind");
}

TEST(MacPropertyList, DiffersFromWindowsOnlyInByteOrderAndEntryPointKey) {
    const PropertyList mac = readPropertyList(pipl::macPropertyList(), Endian::big, false);
    const PropertyList win = readPropertyList(pipl::windowsPropertyList(), Endian::little, true);
    ASSERT_EQ(mac.properties.size(), win.properties.size());
    for (std::size_t i = 0; i < mac.properties.size(); ++i) {
        SCOPED_TRACE(i);
        if (i != 3) {
            EXPECT_EQ(mac.properties[i].key, win.properties[i].key);
        }
        EXPECT_EQ(mac.properties[i].length, win.properties[i].length);
    }
    EXPECT_EQ(mac.properties[3].data, win.properties[3].data);
}

// The list repeats what the effect declares at run time; the host trusts
// whichever it reads first.
TEST(PropertyListAgreesWithGlobalSetup, VersionAndBothFlagWords) {
    PF_OutData out;
    std::memset(&out, 0xff, sizeof out);
    ASSERT_EQ(GlobalSetup(&out), PF_Err_NONE);
    for (const auto& [bytes, endian, leading] :
         {std::tuple{pipl::windowsPropertyList(), Endian::little, true},
          std::tuple{pipl::macPropertyList(), Endian::big, false}}) {
        const PropertyList list = readPropertyList(bytes, endian, leading);
        ASSERT_EQ(list.properties.size(), 12u);
        EXPECT_EQ(u32(list.properties[6].data, 0, endian), out.my_version);
        EXPECT_EQ(u32(list.properties[8].data, 0, endian), static_cast<std::uint32_t>(out.out_flags));
        EXPECT_EQ(u32(list.properties[9].data, 0, endian), static_cast<std::uint32_t>(out.out_flags2));
    }
}

TEST(PropertyListAgreesWithGlobalSetup, ProjectVersionMatchesTheIdentityTable) {
    const std::string fromIdentity = std::to_string(identity::kMajorVersion) + "." +
                                     std::to_string(identity::kMinorVersion) + "." +
                                     std::to_string(identity::kBugVersion);
    EXPECT_EQ(fromIdentity, QA_PROJECT_VERSION) << "CMake's project version names the package files";
}

// The reader must refuse what is not a well-formed list, or the checks above
// would prove little.
TEST(PropertyListReader, RefusesTruncatedOverlongAndDirtyLists) {
    const Bytes good = pipl::windowsPropertyList();
    EXPECT_NO_THROW(readPropertyList(good, Endian::little, true));

    Bytes truncated(good.begin(), good.end() - 1);
    EXPECT_THROW(readPropertyList(truncated, Endian::little, true), std::runtime_error);

    Bytes overlong = good;
    overlong.push_back(0);
    EXPECT_THROW(readPropertyList(overlong, Endian::little, true), std::runtime_error);

    Bytes dirty = good;
    const std::size_t eINFPadding = 10 + 16 * 8 + (4 + 12 + 20 + 12 + 4 + 4 + 4) + 2;
    dirty[eINFPadding] = 1;
    EXPECT_THROW(readPropertyList(dirty, Endian::little, true), std::runtime_error);

    Bytes moreProperties = good;
    moreProperties[6] = 13;  // count, little-endian low byte
    EXPECT_THROW(readPropertyList(moreProperties, Endian::little, true), std::runtime_error);

    // Read with the wrong byte order, the count is absurd.
    EXPECT_THROW(readPropertyList(pipl::macPropertyList(), Endian::little, false), std::runtime_error);
}

}  // namespace
}  // namespace packaging_test
