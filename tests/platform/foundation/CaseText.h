// Test-case texts as printable names (control and non-ASCII bytes as \xNN, space as _).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline std::string caseText(std::string_view text) {
    std::string out = "'";
    for (unsigned char c : text) {
        if (c == ' ')
            out += '_';
        else if (c > ' ' && c < 0x7F)
            out += static_cast<char>(c);
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + "'";
}
