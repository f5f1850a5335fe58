#include "minihost/text/font_lookup.h"

#include <array>
#include <filesystem>
#include <string_view>

#include "minihost/text/fc_guards.h"
#include "minihost/text/text_error.h"

namespace minihost::text {
namespace {

// Generic names that fontconfig maps through its own configuration; any
// family it picks for them is the right answer.
bool isGenericFamily(const std::string& name) {
    static constexpr std::array<std::string_view, 7> generic = {
        "sans-serif", "sans", "serif", "monospace", "mono", "system-ui", "emoji"};
    for (std::string_view g : generic) {
        if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(name.c_str()),
                               reinterpret_cast<const FcChar8*>(std::string(g).c_str())) == 0) {
            return true;
        }
    }
    return false;
}

// True when one of the match's family or full names is the requested one.
bool matchHasName(FcPattern* match, const char* object, const std::string& name) {
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(match, object, i, &value) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(name.c_str())) == 0) {
            return true;
        }
    }
    return false;
}

std::string firstFamily(FcPattern* match) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch) {
        return reinterpret_cast<const char*>(value);
    }
    return "nothing";
}

bool looksLikePath(const std::string& s) {
    return s.find('/') != std::string::npos || s.find('\\') != std::string::npos ||
           s.ends_with(".ttf") || s.ends_with(".otf") || s.ends_with(".ttc") || s.ends_with(".pfb");
}

}  // namespace

FontFile findFont(const std::string& family_or_file) {
    const std::string& name = family_or_file;
    if (name.empty()) {
        throw TextError("no font given");
    }
    std::error_code ec;
    if (std::filesystem::is_regular_file(name, ec)) {
        return FontFile{name, 0};
    }
    if (looksLikePath(name)) {
        throw TextError("font file \"" + name + "\" does not exist");
    }
    // A configuration of our own, dropped after the lookup: fontconfig's
    // process-wide one is never freed.
    FcConfigGuard config(FcInitLoadConfigAndFonts());
    if (!config) {
        throw TextError("fontconfig could not be started");
    }
    FcPatternGuard pattern(FcPatternCreate());
    if (!pattern ||
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str())) == FcFalse ||
        FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern) == FcFalse) {
        throw TextError("fontconfig could not look up \"" + name + "\"");
    }
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FcPatternGuard match(FcFontMatch(config.get(), pattern.get(), &result));
    if (!match || result != FcResultMatch) {
        throw TextError("font \"" + name + "\" not found");
    }
    if (!isGenericFamily(name) && !matchHasName(match.get(), FC_FAMILY, name) &&
        !matchHasName(match.get(), FC_FULLNAME, name)) {
        throw TextError("font \"" + name + "\" not found (the closest installed family is \"" +
                        firstFamily(match.get()) + "\")");
    }
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
        throw TextError("font \"" + name + "\" has no file");
    }
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) != FcResultMatch) {
        index = 0;
    }
    return FontFile{reinterpret_cast<const char*>(file), index};
}

}  // namespace minihost::text
