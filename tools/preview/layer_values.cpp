#include "tools/preview/layer_values.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "tools/preview/preview_error.h"

namespace minihost::preview {
namespace {

bool toNumber(const std::string& s, double& out) {
    if (s.empty() || std::isspace(static_cast<unsigned char>(s.front())) != 0) {
        return false;
    }
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(out);
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t at = s.find(sep, begin);
        parts.push_back(s.substr(begin, at == std::string::npos ? std::string::npos : at - begin));
        if (at == std::string::npos) {
            return parts;
        }
        begin = at + 1;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

Color parseColor(const std::string& text) {
    const std::string what = "colour \"" + text + "\" is not #rrggbb, #rrggbbaa or r,g,b[,a] with channels 0 to 255";
    Color c;
    if (!text.empty() && text[0] == '#') {
        const std::string hex = text.substr(1);
        std::vector<int> d;
        for (char ch : hex) {
            if (hexDigit(ch) < 0) {
                throw InputError(what);
            }
            d.push_back(hexDigit(ch));
        }
        double* channels[4] = {&c.r, &c.g, &c.b, &c.a};
        if (d.size() == 3) {
            for (int i = 0; i < 3; ++i) {
                *channels[i] = d[i] * 17;
            }
        } else if (d.size() == 6 || d.size() == 8) {
            for (std::size_t i = 0; i < d.size() / 2; ++i) {
                *channels[i] = d[2 * i] * 16 + d[2 * i + 1];
            }
        } else {
            throw InputError(what);
        }
        return c;
    }
    const std::vector<std::string> parts = split(text, ',');
    if (parts.size() != 3 && parts.size() != 4) {
        throw InputError(what);
    }
    double* channels[4] = {&c.r, &c.g, &c.b, &c.a};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!toNumber(parts[i], *channels[i]) || *channels[i] < 0 || *channels[i] > 255) {
            throw InputError(what);
        }
    }
    return c;
}

A_FloatPoint parsePoint(const std::string& text) {
    const std::vector<std::string> parts = split(text, ',');
    A_FloatPoint p{};
    if (parts.size() != 2 || !toNumber(parts[0], p.x) || !toNumber(parts[1], p.y) || std::abs(p.x) > 1e5 ||
        std::abs(p.y) > 1e5) {
        throw InputError("position \"" + text + "\" is not x,y in pixels (each -100000 to 100000)");
    }
    return p;
}

A_FloatPoint parseScale(const std::string& text) {
    const std::vector<std::string> parts = split(text, ',');
    A_FloatPoint p{};
    bool ok = false;
    if (parts.size() == 1) {
        ok = toNumber(parts[0], p.x);
        p.y = p.x;
    } else if (parts.size() == 2) {
        ok = toNumber(parts[0], p.x) && toNumber(parts[1], p.y);
    }
    if (!ok || std::abs(p.x) > 1e4 || std::abs(p.y) > 1e4) {
        throw InputError("scale \"" + text + "\" is not a percentage or sx,sy (each -10000 to 10000)");
    }
    return p;
}

std::pair<int, int> parseCompSize(const std::string& text) {
    const std::vector<std::string> parts = split(text, 'x');
    double w = 0;
    double h = 0;
    if (parts.size() != 2 || !toNumber(parts[0], w) || !toNumber(parts[1], h) || w != std::floor(w) ||
        h != std::floor(h) || w < 1 || h < 1 || w > kMaxCompSide || h > kMaxCompSide) {
        throw InputError("comp size \"" + text + "\" is not WIDTHxHEIGHT with each 1 to " +
                         std::to_string(kMaxCompSide));
    }
    return {static_cast<int>(w), static_cast<int>(h)};
}

Depth parseDepth(const std::string& text) {
    if (text == "8") {
        return Depth::k8;
    }
    if (text == "16") {
        return Depth::k16;
    }
    if (text == "32") {
        return Depth::k32;
    }
    throw InputError("bits per channel \"" + text + "\" is not 8, 16 or 32");
}

PF_Quality parseQuality(const std::string& text) {
    if (text == "high") {
        return PF_Quality_HI;
    }
    if (text == "low") {
        return PF_Quality_LO;
    }
    throw InputError("quality \"" + text + "\" is not high or low");
}

A_long parseApplId(const std::string& text) {
    // The two hosts the effect tells apart; any other id would only stand
    // for one of them.
    if (text == "FXTC") {
        return kApplIdAfterEffects;
    }
    if (text == "PrMr") {
        return kApplIdPremierePro;
    }
    throw InputError("application id \"" + text + "\" is not FXTC (After Effects) or PrMr (Premiere Pro)");
}

text::Flow parseOrientation(const std::string& text) {
    if (text == "horizontal") {
        return text::Flow::kHorizontal;
    }
    if (text == "vertical") {
        return text::Flow::kVertical;
    }
    throw InputError("orientation \"" + text + "\" is not horizontal or vertical");
}

text::Align parseParagraph(const std::string& text) {
    if (text == "left" || text == "top") {
        return text::Align::kStart;
    }
    if (text == "center") {
        return text::Align::kCenter;
    }
    if (text == "right" || text == "bottom") {
        return text::Align::kEnd;
    }
    throw InputError("paragraph alignment \"" + text + "\" is not left, center or right (top, bottom)");
}

}  // namespace minihost::preview
