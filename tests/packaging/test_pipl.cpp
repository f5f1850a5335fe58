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
#include "packaging/pipl/pipl.h"
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
            {"eVER", 4}, {"eINF", 2},  {"eGLO", 4},  {"eGL2", 4},   {"eMNA", 8}, {"aeFL", 4}};
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

// The Mac list as the host's resource compiler makes it from its template,
// written out from that template's table: Pascal strings everywhere (the
// entry points too), lengths taken before the padding, both processors.
const std::string kMacListFromTheTemplate = std::string(
    "\0\0\0\0"
    "\0\0\0\x0d"
    "8BIMkind"
    "\0\0\0\0"
    "\0\0\0\x04"
    "eFKT"
    "8BIMname"
    "\0\0\0\0"
    "\0\0\0\x0b"
    "\x0aQuillarray"
    "\0"
    "8BIMcatg"
    "\0\0\0\0"
    "\0\0\0\x12"
    "\x11Lumen Foundry Lab"
    "\0\0"
    "8BIMmi64"
    "\0\0\0\0"
    "\0\0\0\x0b"
    "\x0a"
    "EffectMain"
    "\0"
    "8BIMma64"
    "\0\0\0\0"
    "\0\0\0\x0b"
    "\x0a"
    "EffectMain"
    "\0"
    "8BIMePVR"
    "\0\0\0\0"
    "\0\0\0\x04"
    "\0\x02\0\0"
    "8BIMeSVR"
    "\0\0\0\0"
    "\0\0\0\x04"
    "\0\x0d\0\x19"
    "8BIMeVER"
    "\0\0\0\0"
    "\0\0\0\x04"
    "\0\x09\x20\x01"
    "8BIMeINF"
    "\0\0\0\0"
    "\0\0\0\x02"
    "\0\0"
    "\0\0"
    "8BIMeGLO"
    "\0\0\0\0"
    "\0\0\0\x04"
    "\x04\0\0\0"
    "8BIMeGL2"
    "\0\0\0\0"
    "\0\0\0\x04"
    "\x08\0\x14\x08"
    "8BIMeMNA"
    "\0\0\0\0"
    "\0\0\0\x05"
    "\x04LFQA"
    "\0\0\0"
    "8BIMaeFL"
    "\0\0\0\0"
    "\0\0\0\x04"
    "\0\0\0\0",
    312);

TEST(MacPropertyList, IsTheTemplatesFormByteForByte) {
    const Bytes bytes = pipl::macPropertyList();
    EXPECT_EQ(bytes.size(), 312u);
    EXPECT_EQ(bytes, bytesOf(kMacListFromTheTemplate));
    // Read as Pascal strings, both entry points name EffectMain (a C string
    // there would name 69 characters).
    const PropertyList list = readPropertyList(bytes, Endian::big, false);
    ASSERT_EQ(list.properties.size(), 13u);
    for (const std::size_t i : {3u, 4u}) {
        const Bytes& d = list.properties[i].data;
        ASSERT_FALSE(d.empty());
        EXPECT_EQ(std::string(d.begin() + 1, d.begin() + 1 + d[0]), "EffectMain");
        EXPECT_EQ(d.size(), 1u + d[0]) << "the length counts no padding";
    }
}

// The list repeats what the effect declares at run time; the host trusts
// whichever it reads first.
TEST(PropertyListAgreesWithGlobalSetup, VersionAndBothFlagWords) {
    PF_OutData out;
    std::memset(&out, 0xff, sizeof out);
    ASSERT_EQ(GlobalSetup(&out), PF_Err_NONE);
    for (const auto& [bytes, endian, leading, first] :
         {std::tuple{pipl::windowsPropertyList(), Endian::little, true, std::size_t{6}},
          std::tuple{pipl::macPropertyList(), Endian::big, false, std::size_t{7}}}) {
        const PropertyList list = readPropertyList(bytes, endian, leading);
        ASSERT_EQ(list.properties.size(), first + 6);
        EXPECT_EQ(u32(list.properties[first].data, 0, endian), out.my_version);
        EXPECT_EQ(u32(list.properties[first + 2].data, 0, endian), static_cast<std::uint32_t>(out.out_flags));
        EXPECT_EQ(u32(list.properties[first + 3].data, 0, endian), static_cast<std::uint32_t>(out.out_flags2));
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
