#include "text_functions.h"

#include "runtime_error.h"

#include <limits>

namespace lumora {

Text substring(TextView text, std::int32_t start, std::int32_t count) {
    if (start < 1 || count < 0) {
        throw RuntimeError::invalidArgument();
    }
    const auto first = static_cast<std::size_t>(start - 1);
    if (first >= text.size()) {
        return {};
    }
    return Text(text.substr(first, static_cast<std::size_t>(count)));
}

Text prefix(TextView text, std::int32_t count) {
    if (count < 0) {
        throw RuntimeError::invalidArgument();
    }
    return Text(text.substr(0, static_cast<std::size_t>(count)));
}

std::int32_t length(TextView text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw RuntimeError::overflow();
    }
    return static_cast<std::int32_t>(text.size());
}

Text join(TextView first, TextView second) {
    Text joined;
    joined.reserve(first.size() + second.size());
    joined.append(first).append(second);
    return joined;
}

double numericValue(TextView text) {
    double value = 0;
    for (const char32_t c : text) {
        if (c < U'0' || c > U'9') {
            break;
        }
        value = value * 10 + static_cast<double>(c - U'0');
    }
    return value;
}

std::string toUtf8(TextView text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace lumora
