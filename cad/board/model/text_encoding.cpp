#include "cad/board/model/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace tendra::board {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
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

// The code point at text[i] and its length in bytes; an invalid sequence
// gives U+FFFD and length 1, and ok is set false.
char32_t nextCodePoint(std::string_view text, std::size_t i, std::size_t& length, bool& ok) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    length = 1;
    if (lead < 0x80) {
        return lead;
    }
    std::size_t count = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        count = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        ok = false;
        return kReplacement;
    }
    for (std::size_t k = 1; k <= count; ++k) {
        if (i + k >= text.size() || (byte(i + k) & 0xC0) != 0x80) {
            ok = false;
            return kReplacement;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ok = false;
        return kReplacement;
    }
    length = count + 1;
    return c;
}

bool isValidUtf8(std::string_view text) {
    bool ok = true;
    for (std::size_t i = 0; i < text.size() && ok;) {
        std::size_t length = 1;
        nextCodePoint(text, i, length, ok);
        i += length;
    }
    return ok;
}

std::string repairUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        bool ok = true;
        const char32_t c = nextCodePoint(text, i, length, ok);
        if (ok) {
            out.append(text.substr(i, length));
        } else {
            appendUtf8(out, c);
        }
        i += length;
    }
    return out;
}

// Converts with an open iconv descriptor; undecodable bytes become U+FFFD.
std::string convert(iconv_t cd, std::string_view raw) {
    std::string out;
    out.reserve(raw.size() * 3 / 2 + 4);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(raw.data());
    std::size_t inLeft = raw.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPointer = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPointer - buffer));
        if (result == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ: skip the bad byte. EINVAL: the text ends inside a character.
            appendUtf8(out, kReplacement);
            if (errno != EILSEQ) {
                break;
            }
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

int hexValue(char c) {
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

// The value of four hex digits at text[i], or -1.
long hex4(std::string_view text, std::size_t i) {
    if (i + 4 > text.size()) {
        return -1;
    }
    long value = 0;
    for (std::size_t k = i; k < i + 4; ++k) {
        const int digit = hexValue(text[k]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

// The code pages of \M+n escapes, by n.
const char* multibyteCodePage(char n) {
    switch (n) {
        case '1':
            return "CP932";
        case '2':
            return "BIG5";
        case '3':
            return "CP949";
        case '4':
            return "JOHAB";
        case '5':
            return "GB18030";
        default:
            return nullptr;
    }
}

std::string resolveEscapes(std::string_view text) {
    if (text.find('\\') == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char kind = text[i + 1];
        if (kind == '\\') {
            out.append("\\\\");
            ++i;
        } else if ((kind == 'U' || kind == 'u') && i + 2 < text.size() && text[i + 2] == '+') {
            long c = hex4(text, i + 3);
            if (c < 0) {
                out += text[i];
                continue;
            }
            i += 6;
            // A surrogate pair written as two escapes.
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                text.substr(i + 1, 3) == "\\U+") {
                const long low = hex4(text, i + 4);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    i += 7;
                }
            }
            appendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? kReplacement : static_cast<char32_t>(c));
        } else if ((kind == 'M' || kind == 'm') && i + 7 < text.size() && text[i + 2] == '+' &&
                   multibyteCodePage(text[i + 3]) && hex4(text, i + 4) >= 0) {
            const long code = hex4(text, i + 4);
            const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
            iconv_t cd = iconv_open("UTF-8", multibyteCodePage(text[i + 3]));
            if (cd == reinterpret_cast<iconv_t>(-1)) {
                appendUtf8(out, kReplacement);
            } else {
                out += convert(cd, std::string_view(bytes, 2));
                iconv_close(cd);
            }
            i += 7;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool isPlainAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string iconvNameOfCodePage(const std::string& codePage) {
    std::string upper;
    for (char c : codePage) {
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (upper.rfind("ANSI_", 0) != 0) {
        return {};
    }
    const std::string number = upper.substr(5);
    if (number == "936") {
        // GB18030 reads all of GBK and more.
        return "GB18030";
    }
    if (number == "950") {
        return "BIG5";
    }
    if (number == "1361") {
        return "JOHAB";
    }
    if (number == "65001") {
        return {};
    }
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        return {};
    }
    return "CP" + number;
}

TextDecoder::TextDecoder(const std::string& acadVersion, const std::string& codePage) {
    // AC1021 is AutoCAD 2007, the first release that writes UTF-8.
    const bool utf8File = acadVersion.size() == 6 && acadVersion.rfind("AC", 0) == 0 &&
                          acadVersion.substr(2) >= "1021";
    const std::string name = utf8File ? std::string() : iconvNameOfCodePage(codePage);
    if (!name.empty()) {
        iconv_t cd = iconv_open("UTF-8", name.c_str());
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            converter_ = cd;
        }
    }
    if (!converter_ && !utf8File && codePage.empty()) {
        iconv_t cd = iconv_open("UTF-8", "GB18030");
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            fallback_ = cd;
        }
    }
}

TextDecoder::~TextDecoder() {
    if (converter_) {
        iconv_close(static_cast<iconv_t>(converter_));
    }
    if (fallback_) {
        iconv_close(static_cast<iconv_t>(fallback_));
    }
}

std::string TextDecoder::decode(std::string_view raw) const {
    if (isPlainAscii(raw)) {
        return resolveEscapes(raw);
    }
    if (converter_) {
        return resolveEscapes(convert(static_cast<iconv_t>(converter_), raw));
    }
    if (isValidUtf8(raw)) {
        return resolveEscapes(raw);
    }
    if (fallback_) {
        return resolveEscapes(convert(static_cast<iconv_t>(fallback_), raw));
    }
    return resolveEscapes(repairUtf8(raw));
}

std::vector<std::string> encodeForDxf(std::string_view utf8, std::size_t maxBytes) {
    std::vector<std::string> pieces(1);
    auto append = [&](const std::string& unit) {
        if (maxBytes > 0 && pieces.back().size() + unit.size() > maxBytes &&
            !pieces.back().empty()) {
            pieces.emplace_back();
        }
        pieces.back() += unit;
    };
    auto escape = [&](char32_t unit) {
        static const char digits[] = "0123456789ABCDEF";
        std::string text = "\\U+";
        for (int shift = 12; shift >= 0; shift -= 4) {
            text += digits[(unit >> shift) & 0xF];
        }
        append(text);
    };
    iconv_t cd = iconv_open("GBK", "UTF-8");
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 1;
        bool ok = true;
        const char32_t c = nextCodePoint(utf8, i, length, ok);
        std::string encoded;
        if (c >= 0x20 && c < 0x80) {
            encoded = static_cast<char>(c);
        } else if (c >= 0x80 && ok && cd != reinterpret_cast<iconv_t>(-1)) {
            char* in = const_cast<char*>(utf8.data() + i);
            std::size_t inLeft = length;
            char buffer[8];
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) &&
                inLeft == 0) {
                encoded.assign(buffer, static_cast<std::size_t>(out - buffer));
            }
        }
        if (!encoded.empty()) {
            append(encoded);
        } else if (c >= 0x10000) {
            // Written as a surrogate pair, as AutoCAD does.
            escape(0xD800 + ((c - 0x10000) >> 10));
            escape(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            // Control characters are escaped too: a line feed written as it
            // is would end the value and break the file.
            escape(c);
        }
        i += length;
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) {
        iconv_close(cd);
    }
    return pieces;
}

}  // namespace tendra::board
