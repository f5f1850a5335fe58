// The built plug-in's dynamic symbol table exports exactly the two entry
// points.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> definedDynamicSymbols(const std::string& path) {
    const std::string command = "nm -D --defined-only '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::set<std::string> names;
    if (!pipe) return names;
    char line[1024];
    while (std::fgets(line, sizeof(line), pipe.get()) != nullptr) {
        std::istringstream in(line);
        std::string address, type, name;
        if (in >> address >> type >> name) names.insert(name);
    }
    return names;
}

TEST(Exports, ExactlyTheTwoEntryPoints) {
    const std::set<std::string> names = definedDynamicSymbols(QA_PLUGIN_PATH);
    EXPECT_EQ(names, (std::set<std::string>{"EffectMain", "PluginDataEntryFunction"}));
}

TEST(Exports, ReaderSeesNothingInAMissingFile) {
    EXPECT_TRUE(definedDynamicSymbols("/nonexistent/Quillarray.so").empty());
}

}  // namespace
