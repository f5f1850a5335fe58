// The macOS bundle's generated files, as the build writes them on any
// machine: the resource file holding the property list, Info.plist, PkgInfo.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "packaging/pipl/pipl.h"
#include "pe_reader.h"
#include "pipl_reader.h"
#include "resource_file_reader.h"
#include "resource_fork.h"

namespace packaging_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kDir = QA_MAC_RESOURCE_DIR;

std::string textFile(const std::string& path) {
    const Bytes b = readFileBytes(path);
    return std::string(b.begin(), b.end());
}

TEST(MacResourceFile, HoldsOnePiPL16000WithTheMacList) {
    const MacResourceFile file = readResourceFile(readFileBytes(kDir + "/Quillarray.rsrc"));
    EXPECT_EQ(file.dataOffset, 256u);
    ASSERT_EQ(file.resources.size(), 1u);
    const MacResource& r = file.resources[0];
    EXPECT_EQ(r.type, code("PiPL"));
    EXPECT_EQ(r.id, 16000);
    EXPECT_EQ(r.nameOffset, 0xffff) << "unnamed";
    EXPECT_EQ(r.data, pipl::macPropertyList());
}

TEST(MacResourceFile, ItsListParsesToTheThirteenProperties) {
    const MacResourceFile file = readResourceFile(readFileBytes(kDir + "/Quillarray.rsrc"));
    ASSERT_EQ(file.resources.size(), 1u);
    const PropertyList list = readPropertyList(file.resources[0].data, Endian::big, false);
    const char keys[][5] = {"kind", "name", "catg", "mi64", "ma64", "ePVR", "eSVR",
                            "eVER", "eINF", "eGLO", "eGL2", "eMNA", "aeFL"};
    const std::uint32_t lengths[] = {4, 11, 18, 11, 11, 4, 4, 4, 2, 4, 4, 5, 4};
    ASSERT_EQ(list.properties.size(), std::size(keys));
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        EXPECT_EQ(list.properties[i].vendor, code("8BIM"));
        EXPECT_EQ(list.properties[i].key, code(keys[i])) << keys[i];
        EXPECT_EQ(list.properties[i].length, lengths[i]) << keys[i];
    }
    for (const std::size_t i : {3u, 4u}) {
        const Bytes entry = list.properties[i].data;
        EXPECT_EQ(std::string(entry.begin(), entry.end()), std::string("\x0a"
                                                                       "EffectMain",
                                                                       11))
            << keys[i];
    }
    EXPECT_EQ(u32(list.properties[7].data, 0, Endian::big), 0x00092001u);
}

TEST(MacResourceFile, WriterPlacesAnyDataAndTheReaderFindsIt) {
    const Bytes data = {1, 2, 3};
    const MacResourceFile file = readResourceFile(packaging::resourceFile(code("TEST"), -2, data));
    ASSERT_EQ(file.resources.size(), 1u);
    EXPECT_EQ(file.resources[0].type, code("TEST"));
    EXPECT_EQ(file.resources[0].id, -2);
    EXPECT_EQ(file.resources[0].data, data);
    EXPECT_EQ(file.dataLength, 4u + 3u);
    EXPECT_EQ(file.mapOffset, 256u + 7u);
}

TEST(MacResourceFile, ReaderRefusesInconsistentFiles) {
    const Bytes good = packaging::resourceFile(code("PiPL"), 16000, pipl::macPropertyList());
    EXPECT_NO_THROW(readResourceFile(good));

    Bytes truncated(good.begin(), good.end() - 1);
    EXPECT_THROW(readResourceFile(truncated), std::runtime_error);

    Bytes mapPastEnd = good;
    mapPastEnd[7] = static_cast<std::uint8_t>(mapPastEnd[7] + 1);  // map offset + 1
    EXPECT_THROW(readResourceFile(mapPastEnd), std::runtime_error);

    Bytes dataPastArea = good;
    const std::size_t map = good.size() - 50;
    dataPastArea[map + 28 + 10 + 7] = 1;  // the reference's data offset
    EXPECT_THROW(readResourceFile(dataPastArea), std::runtime_error);
}

TEST(MacBundleFiles, PkgInfoNamesAnEffectForAfterEffects) { EXPECT_EQ(textFile(kDir + "/PkgInfo"), "eFKTFXTC"); }

TEST(MacBundleFiles, InfoPlistNamesTheExecutableTypeAndHost) {
    const std::string plist = textFile(kDir + "/Info.plist");
    const auto has = [&plist](const std::string& key, const std::string& value) {
        return plist.find("<key>" + key + "</key>\n\t<string>" + value + "</string>") != std::string::npos;
    };
    EXPECT_TRUE(has("CFBundleExecutable", "Quillarray")) << plist;
    EXPECT_TRUE(has("CFBundlePackageType", "eFKT")) << plist;
    EXPECT_TRUE(has("CFBundleSignature", "FXTC")) << plist;
    EXPECT_TRUE(has("CFBundleShortVersionString", "1.2.4")) << plist;
    EXPECT_FALSE(has("CFBundlePackageType", "BNDL")) << "a generic bundle is not loaded as an effect";
}

}  // namespace
}  // namespace packaging_test
