#include "cad/board/model/dxf_binary.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>

#include "cad/board/model/dxf.h"
#include "cad/board/model/dxf_entities.h"

namespace tendra::board::dxf {

namespace {

enum class Kind { String, Real, Int16, Int32, Int64, Bool, Chunk, Unknown };

Kind kindOfCode(int code) {
    auto in = [code](int from, int to) { return code >= from && code <= to; };
    if (in(-5, 9) || in(100, 109) || in(300, 309) || in(320, 369) || in(390, 399) || in(410, 419) ||
        in(430, 439) || in(470, 481) || code == 999 || in(1000, 1003) || in(1005, 1009)) {
        return Kind::String;
    }
    if (in(10, 59) || in(110, 149) || in(210, 239) || in(460, 469) || in(1010, 1059)) {
        return Kind::Real;
    }
    if (in(60, 79) || in(170, 179) || in(270, 289) || in(370, 389) || in(400, 409) ||
        in(1060, 1070)) {
        return Kind::Int16;
    }
    if (in(90, 99) || in(420, 429) || in(440, 459) || code == 1071) {
        return Kind::Int32;
    }
    if (in(160, 169)) {
        return Kind::Int64;
    }
    if (in(290, 299)) {
        return Kind::Bool;
    }
    if (in(310, 319) || code == 1004) {
        return Kind::Chunk;
    }
    return Kind::Unknown;
}

[[noreturn]] void truncated() {
    throw LoadError("文件不完整，缺少结束标记 EOF");
}

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool atEnd() const { return next_ >= bytes_.size(); }
    std::size_t position() const { return next_; }
    const char* take(std::size_t count) {
        if (bytes_.size() - next_ < count) {
            truncated();
        }
        const char* at = bytes_.data() + next_;
        next_ += count;
        return at;
    }
    unsigned char byte() { return static_cast<unsigned char>(*take(1)); }
    template <typename T>
    T little() {
        const char* at = take(sizeof(T));
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(at[i])) << (8 * i);
        }
        T result;
        if constexpr (sizeof(T) == 8) {
            std::memcpy(&result, &value, 8);
        } else {
            using Unsigned = std::make_unsigned_t<T>;
            const auto narrow = static_cast<Unsigned>(value);
            std::memcpy(&result, &narrow, sizeof(T));
        }
        return result;
    }
    std::string_view string() {
        const auto* end = static_cast<const char*>(
            std::memchr(bytes_.data() + next_, '\0', bytes_.size() - next_));
        if (!end) {
            truncated();
        }
        const std::string_view value(bytes_.data() + next_,
                                     static_cast<std::size_t>(end - (bytes_.data() + next_)));
        next_ += value.size() + 1;
        return value;
    }

  private:
    std::string_view bytes_;
    std::size_t next_ = 0;
};

template <typename T>
void appendNumber(std::string& out, T value) {
    char digits[32];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

template <typename T>
void appendLittle(std::string& out, T value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
}

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

}  // namespace

bool isBinaryDxf(std::string_view bytes) {
    // Some writers end the sentinel early; its words are enough.
    return bytes.rfind(kBinarySentinel.substr(0, 18), 0) == 0;
}

std::string binaryToText(std::string_view bytes) {
    if (bytes.size() < kBinarySentinel.size() ||
        bytes.substr(0, kBinarySentinel.size()) != kBinarySentinel) {
        throw LoadError("二进制 DXF 文件的文件头已损坏");
    }
    Reader in(bytes.substr(kBinarySentinel.size()));
    // R12 writes one-byte codes: its first group, 0 SECTION, starts 00 'S',
    // or 255 and a two-byte code; later versions write 00 00.
    const std::size_t first = kBinarySentinel.size();
    const auto byteAt = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
    };
    const bool wide = !(byteAt(first) == 255 || (byteAt(first) == 0 && byteAt(first + 1) != 0));
    std::string text;
    text.reserve(bytes.size() * 2);
    while (!in.atEnd()) {
        int code = 0;
        if (wide) {
            code = in.little<std::int16_t>();
        } else {
            code = in.byte();
            if (code == 255) {
                code = in.little<std::int16_t>();
            }
        }
        const Kind kind = kindOfCode(code);
        if (kind == Kind::Unknown) {
            throw LoadError("文件已损坏，二进制 DXF 中有未知组码 " + std::to_string(code) +
                            "（第 " + std::to_string(in.position() + kBinarySentinel.size()) +
                            " 字节）");
        }
        appendNumber(text, code);
        text += '\n';
        switch (kind) {
            case Kind::String: {
                const std::size_t start = text.size();
                text += in.string();
                // One value a line: breaks inside a value would shift every pair after it.
                for (std::size_t i = start; i < text.size(); ++i) {
                    if (text[i] == '\n' || text[i] == '\r') {
                        text[i] = ' ';
                    }
                }
                break;
            }
            case Kind::Real:
                appendNumber(text, in.little<double>());
                break;
            case Kind::Int16:
                appendNumber(text, in.little<std::int16_t>());
                break;
            case Kind::Int32:
                appendNumber(text, in.little<std::int32_t>());
                break;
            case Kind::Int64:
                appendNumber(text, in.little<std::int64_t>());
                break;
            case Kind::Bool:
                appendNumber(text, static_cast<int>(in.byte()));
                break;
            case Kind::Chunk: {
                const std::size_t length = in.byte();
                const char* data = in.take(length);
                static constexpr char kHex[] = "0123456789ABCDEF";
                for (std::size_t i = 0; i < length; ++i) {
                    const auto b = static_cast<unsigned char>(data[i]);
                    text += kHex[b >> 4];
                    text += kHex[b & 15];
                }
                break;
            }
            case Kind::Unknown:
                break;
        }
        text += '\n';
    }
    return text;
}

std::string textToBinary(std::string_view text) {
    std::string out(kBinarySentinel);
    auto nextLine = [&](std::string_view& line) {
        if (text.empty()) {
            return false;
        }
        const std::size_t end = text.find('\n');
        line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return true;
    };
    std::string_view codeLine;
    std::string_view value;
    while (nextLine(codeLine)) {
        const auto code = parseGroupCode(codeLine);
        if (!code || !nextLine(value)) {
            throw LoadError("不是 DXF 文件");
        }
        const Kind kind = kindOfCode(static_cast<int>(*code));
        if (kind == Kind::Unknown) {
            throw LoadError("文件已损坏，此处应为组码");
        }
        appendLittle(out, static_cast<std::int16_t>(*code));
        const long long integer = parseInteger(value).value_or(0);
        switch (kind) {
            case Kind::String:
                out += value;
                out += '\0';
                break;
            case Kind::Real:
                appendLittle(out, parseReal(value).value_or(0));
                break;
            case Kind::Int16:
                appendLittle(out, static_cast<std::int16_t>(integer));
                break;
            case Kind::Int32:
                appendLittle(out, static_cast<std::int32_t>(integer));
                break;
            case Kind::Int64:
                appendLittle(out, static_cast<std::int64_t>(integer));
                break;
            case Kind::Bool:
                out += static_cast<char>(integer != 0);
                break;
            case Kind::Chunk: {
                std::string data;
                for (std::size_t i = 0; i + 1 < value.size() && data.size() < 255; i += 2) {
                    const auto high = hexDigit(value[i]);
                    const auto low = hexDigit(value[i + 1]);
                    data += static_cast<char>((high.value_or(0) << 4) | low.value_or(0));
                }
                out += static_cast<char>(data.size());
                out += data;
                break;
            }
            case Kind::Unknown:
                break;
        }
    }
    return out;
}

}  // namespace tendra::board::dxf
