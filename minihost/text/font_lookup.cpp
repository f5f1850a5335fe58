#include "minihost/text/font_lookup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>
#include <filesystem>
#include <string_view>

#include "minihost/text/fc_guards.h"
#include "minihost/text/spelling.h"
#include "minihost/text/text_error.h"

namespace minihost::text {
namespace {

// Generic names that fontconfig maps through its own configuration; any
// family it picks for them is the right answer.
bool isGenericFamily(const std::string& name) {
    static constexpr std::array<std::string_view, 7> generic = {"sans-serif", "sans",      "serif", "monospace",
                                                                "mono",       "system-ui", "emoji"};
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

// Every value of one object over the fonts that match pattern, sorted, once each.
std::vector<std::string> listValues(FcConfig* config, FcPattern* pattern, const char* object) {
    FcObjectSetGuard objects(FcObjectSetBuild(object, nullptr));
    FcFontSetGuard fonts(objects ? FcFontList(config, pattern, objects.get()) : nullptr);
    std::vector<std::string> values;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* value = nullptr;
        if (FcPatternGetString(fonts->fonts[i], object, 0, &value) == FcResultMatch) {
            values.emplace_back(reinterpret_cast<const char*>(value));
        }
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

// How a message names the nearest installed font: "the closest installed
// family is "X"", or, for a family name with a style word after it
// ("DejaVu Sans Bold"), the pattern that asks for that style.
std::string closestFamily(FcConfig* config, const std::string& family) {
    FcPatternGuard all(FcPatternCreate());
    const std::vector<std::string> families = listValues(config, all.get(), FC_FAMILY);
    std::string prefix;
    for (const std::string& f : families) {
        if (family.size() > f.size() + 1 && lower(family).rfind(lower(f) + " ", 0) == 0 && f.size() > prefix.size()) {
            prefix = f;
        }
    }
    if (!prefix.empty()) {
        return "a style is asked for as \"" + prefix + ":style=" + family.substr(prefix.size() + 1) + "\"";
    }
    std::string best = "nothing";
    std::size_t best_distance = static_cast<std::size_t>(-1);
    for (const std::string& f : families) {
        const std::size_t d = editDistance(family, f);
        if (d < best_distance) {
            best = f;
            best_distance = d;
        }
    }
    return "the closest installed family is \"" + best + "\"";
}

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words) {
        out += (out.empty() ? "" : ", ") + w;
    }
    return out;
}

bool looksLikePath(const std::string& s) {
    return s.find('/') != std::string::npos || s.find('\\') != std::string::npos || s.ends_with(".ttf") ||
           s.ends_with(".otf") || s.ends_with(".ttc") || s.ends_with(".pfb");
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
    FcPatternGuard pattern(FcNameParse(reinterpret_cast<const FcChar8*>(name.c_str())));
    if (!pattern) {
        throw TextError("font \"" + name + "\" is not a family name or a fontconfig pattern");
    }
    // What was asked for, before fontconfig adds its defaults.
    FcChar8* value = nullptr;
    const std::string family = FcPatternGetString(pattern.get(), FC_FAMILY, 0, &value) == FcResultMatch
                                   ? reinterpret_cast<const char*>(value)
                                   : std::string();
    const std::string style = FcPatternGetString(pattern.get(), FC_STYLE, 0, &value) == FcResultMatch
                                  ? reinterpret_cast<const char*>(value)
                                  : std::string();
    if (FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern) == FcFalse) {
        throw TextError("fontconfig could not look up \"" + name + "\"");
    }
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FcPatternGuard match(FcFontMatch(config.get(), pattern.get(), &result));
    if (!match || result != FcResultMatch) {
        throw TextError("font \"" + name + "\" not found");
    }
    if (!family.empty() && !isGenericFamily(family) && !matchHasName(match.get(), FC_FAMILY, family) &&
        !matchHasName(match.get(), FC_FULLNAME, family)) {
        throw TextError("font \"" + name + "\" not found (" + closestFamily(config.get(), family) + ")");
    }
    if (!style.empty() && !matchHasName(match.get(), FC_STYLE, style)) {
        FcPatternGuard of_family(FcPatternCreate());
        FcPatternAddString(
            of_family.get(), FC_FAMILY,
            reinterpret_cast<const FcChar8*>((family.empty() ? firstFamily(match.get()) : family).c_str()));
        throw TextError("font \"" + name + "\" not found: the family has the styles " +
                        joined(listValues(config.get(), of_family.get(), FC_STYLE)));
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
