// Compares a C++ type with a type written in the host interface notation:
// i8..u64 and char, f32 and f64, void, ptr<T> and ptr<const T>, T[N],
// struct NAME, union NAME, opaque NAME and fnptr(ret R; args: A, B, ...).
//
// Integers match by width and signedness (not by spelling: a 32-bit long
// and an int are both i32), records by kind, function pointers slot by slot.
// Everything is constexpr, so a mismatch fails a static_assert.
#pragma once

#include <cstddef>
#include <string_view>
#include <type_traits>

namespace qa_abi {

constexpr std::string_view trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

constexpr bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Position of the first `c` outside <...>, (...) and [...] from `from`, or npos.
constexpr std::size_t findTop(std::string_view s, char c, std::size_t from = 0) {
    int depth = 0;
    for (std::size_t i = from; i < s.size(); ++i) {
        const char ch = s[i];
        if (depth == 0 && ch == c) return i;
        if (ch == '<' || ch == '(' || ch == '[') ++depth;
        if (ch == '>' || ch == ')' || ch == ']') --depth;
    }
    return std::string_view::npos;
}

constexpr std::size_t parseSize(std::string_view s) {
    std::size_t n = 0;
    for (const char ch : s) {
        if (ch < '0' || ch > '9') return 0;
        n = n * 10 + static_cast<std::size_t>(ch - '0');
    }
    return n;
}

template <typename T>
constexpr bool is(std::string_view s);

template <typename T>
constexpr bool isScalar(std::string_view s) {
    if constexpr (std::is_same_v<T, void>) {
        return s == "void";
    } else if constexpr (std::is_same_v<T, char>) {
        return s == "char";
    } else if constexpr (std::is_floating_point_v<T>) {
        return (s == "f32" && sizeof(T) == 4) || (s == "f64" && sizeof(T) == 8);
    } else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
        if (s.size() < 2 || (s[0] != 'i' && s[0] != 'u')) return false;
        const bool wantSigned = s[0] == 'i';
        return wantSigned == std::is_signed_v<T> && parseSize(s.substr(1)) == 8 * sizeof(T);
    } else {
        return false;
    }
}

template <typename T>
constexpr bool isRecord(std::string_view s) {
    if (startsWith(s, "struct ")) return std::is_class_v<T>;
    if (startsWith(s, "union ")) return std::is_union_v<T>;
    if (startsWith(s, "opaque ")) return std::is_class_v<T>;
    return false;
}

// The parameters of a function type, one after the other from `args`.
template <typename... Args>
struct Params;

template <>
struct Params<> {
    static constexpr bool match(std::string_view args, bool variadic) {
        args = trim(args);
        if (variadic) return args == "...";
        return args.empty() || args == "none";
    }
};

template <typename First, typename... Rest>
struct Params<First, Rest...> {
    static constexpr bool match(std::string_view args, bool variadic) {
        args = trim(args);
        const std::size_t comma = findTop(args, ',');
        const std::string_view head = comma == std::string_view::npos ? args : args.substr(0, comma);
        const std::string_view tail = comma == std::string_view::npos ? std::string_view{} : args.substr(comma + 1);
        return is<First>(trim(head)) && Params<Rest...>::match(tail, variadic);
    }
};

template <typename F>
struct Function {
    static constexpr bool match(std::string_view) { return false; }
};

template <typename R, typename... Args>
constexpr bool matchFunction(std::string_view s, bool variadic) {
    // "fnptr(ret R; args: A, B)"
    if (!startsWith(s, "fnptr(") || s.back() != ')') return false;
    const std::string_view body = s.substr(6, s.size() - 7);
    if (!startsWith(body, "ret ")) return false;
    const std::size_t semi = findTop(body, ';');
    if (semi == std::string_view::npos) return false;
    const std::string_view ret = trim(body.substr(4, semi - 4));
    std::string_view args = trim(body.substr(semi + 1));
    if (!startsWith(args, "args:")) return false;
    args.remove_prefix(5);
    return is<R>(ret) && Params<Args...>::match(args, variadic);
}

template <typename R, typename... Args>
struct Function<R(Args...)> {
    static constexpr bool match(std::string_view s) { return matchFunction<R, Args...>(s, false); }
};

template <typename R, typename... Args>
struct Function<R(Args..., ...)> {
    static constexpr bool match(std::string_view s) { return matchFunction<R, Args...>(s, true); }
};

template <typename T>
constexpr bool extentsMatch(std::string_view dims) {
    if constexpr (std::is_array_v<T>) {
        if (dims.empty() || dims.front() != '[') return false;
        const std::size_t close = dims.find(']');
        if (close == std::string_view::npos) return false;
        return parseSize(dims.substr(1, close - 1)) == std::extent_v<T> &&
               extentsMatch<std::remove_extent_t<T>>(dims.substr(close + 1));
    } else {
        return dims.empty();
    }
}

template <typename T>
constexpr bool is(std::string_view s) {
    s = trim(s);
    if constexpr (std::is_array_v<T>) {
        // "E[N][M]": the extents in order, outermost first, then the element.
        const std::size_t open = findTop(s, '[');
        if (open == std::string_view::npos) return false;
        return extentsMatch<T>(s.substr(open)) && is<std::remove_all_extents_t<T>>(s.substr(0, open));
    } else if constexpr (std::is_pointer_v<T>) {
        using Pointee = std::remove_pointer_t<T>;
        if constexpr (std::is_function_v<Pointee>) {
            return Function<Pointee>::match(s);
        } else {
            if (!startsWith(s, "ptr<") || s.back() != '>') return false;
            std::string_view inner = trim(s.substr(4, s.size() - 5));
            const bool wantConst = startsWith(inner, "const ");
            if (wantConst) inner.remove_prefix(6);
            return wantConst == std::is_const_v<Pointee> && is<std::remove_cv_t<Pointee>>(inner);
        }
    } else if constexpr (std::is_class_v<T> || std::is_union_v<T>) {
        return isRecord<T>(s);
    } else {
        return isScalar<T>(s);
    }
}

}  // namespace qa_abi
