#include "cad/board/model/text_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tendra::board {

namespace {

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead < 0xF0 ? 3 : 1;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

// The value of a code such as "2.5" or "1.5x" up to its ';'; relative when
// it ends in x.
struct HeightCode {
    double value = 0;
    bool relative = false;
    bool valid = false;
};

HeightCode heightCode(std::string_view argument) {
    HeightCode code;
    if (!argument.empty() && (argument.back() == 'x' || argument.back() == 'X')) {
        code.relative = true;
        argument.remove_suffix(1);
    }
    const auto [end, error] =
        std::from_chars(argument.data(), argument.data() + argument.size(), code.value);
    code.valid = error == std::errc() && end == argument.data() + argument.size() &&
                 std::isfinite(code.value) && code.value > 0;
    return code;
}

}  // namespace

std::string plainText(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && text[i + 1] == '%') {
            const char code = text[i + 2];
            const char* shown = code == 'd' || code == 'D'   ? "°"
                                : code == 'p' || code == 'P' ? "±"
                                : code == 'c' || code == 'C' ? "⌀"
                                : code == '%'                ? "%"
                                                             : nullptr;
            if (shown) {
                plain += shown;
                i += 2;
                continue;
            }
        }
        plain += text[i];
    }
    return plain;
}

std::vector<MTextLine> mtextLines(std::string_view formatted, double height) {
    std::vector<MTextLine> lines(1);
    std::vector<double> heights{height};  // the current height, one per open brace
    auto grow = [&] { lines.back().height = std::max(lines.back().height, heights.back()); };
    auto newLine = [&] { lines.push_back({}); };
    for (std::size_t i = 0; i < formatted.size(); ++i) {
        const char c = formatted[i];
        if (c == '{') {
            heights.push_back(heights.back());
            continue;
        }
        if (c == '}') {
            if (heights.size() > 1) {
                heights.pop_back();
            }
            continue;
        }
        if (c == '\n') {
            newLine();
            continue;
        }
        if (c == '\r') {
            continue;
        }
        if (c != '\\' || i + 1 >= formatted.size()) {
            grow();
            lines.back().text += c;
            continue;
        }
        const char code = formatted[++i];
        // The argument of a code that takes one runs to its ';'.
        auto argument = [&] {
            const std::size_t end = formatted.find(';', i + 1);
            const std::size_t stop = end == std::string_view::npos ? formatted.size() : end;
            const std::string_view value = formatted.substr(i + 1, stop - i - 1);
            i = stop;
            return value;
        };
        switch (code) {
            case 'P':
                newLine();
                break;
            case '~':
                grow();
                lines.back().text += ' ';
                break;
            case '\\':
            case '{':
            case '}':
                grow();
                lines.back().text += code;
                break;
            case 'H': {
                const HeightCode value = heightCode(argument());
                if (value.valid) {
                    heights.back() = value.relative ? heights.back() * value.value : value.value;
                }
                break;
            }
            case 'S': {
                std::string stacked(argument());
                std::replace_if(
                    stacked.begin(), stacked.end(), [](char s) { return s == '^' || s == '#'; },
                    '/');
                grow();
                lines.back().text += stacked;
                break;
            }
            case 'A':
            case 'C':
            case 'c':
            case 'F':
            case 'f':
            case 'Q':
            case 'T':
            case 'W':
            case 'p':
                argument();
                break;
            default:
                // \L \l \O \o \K \k and the like switch a style on or off.
                break;
        }
    }
    for (MTextLine& line : lines) {
        line.text = plainText(line.text);
        if (line.height == 0) {
            line.height = heights.front();
        }
    }
    return lines;
}

std::vector<MTextLine> wrapLines(const std::vector<MTextLine>& lines, double width,
                                 const TextMeasure& measure) {
    if (!(width > 0)) {
        return lines;
    }
    std::vector<MTextLine> wrapped;
    for (const MTextLine& line : lines) {
        std::string_view rest = line.text;
        while (!rest.empty()) {
            if (measure(rest, line.height) <= width) {
                wrapped.push_back({std::string(rest), line.height});
                break;
            }
            // The longest head that fits, preferring a break at a space.
            std::size_t fits = 0;
            std::size_t lastSpace = std::string_view::npos;
            for (std::size_t at = 0; at < rest.size();) {
                const std::size_t next = std::min(
                    rest.size(), at + sequenceLength(static_cast<unsigned char>(rest[at])));
                if (measure(rest.substr(0, next), line.height) > width) {
                    break;
                }
                if (rest[at] == ' ') {
                    lastSpace = at;
                }
                fits = next;
                at = next;
            }
            std::size_t cut =
                lastSpace != std::string_view::npos && lastSpace > 0 ? lastSpace : fits;
            if (cut == 0) {
                // Not even one character fits: it goes on a line of its own.
                cut = std::min(rest.size(), sequenceLength(static_cast<unsigned char>(rest[0])));
            }
            wrapped.push_back({std::string(rest.substr(0, cut)), line.height});
            rest.remove_prefix(cut);
            while (!rest.empty() && rest.front() == ' ') {
                rest.remove_prefix(1);
            }
        }
        if (line.text.empty()) {
            wrapped.push_back(line);
        }
    }
    return wrapped;
}

std::vector<PlacedLine> placeMText(const std::vector<MTextLine>& lines, int attachment,
                                   double referenceWidth, const TextMeasure& measure) {
    const int index = std::clamp(attachment, 1, 9) - 1;
    const int row = index / 3;     // 0 top, 1 middle, 2 bottom
    const int column = index % 3;  // 0 left, 1 centre, 2 right
    std::vector<double> widths;
    double blockWidth = referenceWidth > 0 ? referenceWidth : 0;
    double blockHeight = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        widths.push_back(measure(lines[i].text, lines[i].height));
        if (!(referenceWidth > 0)) {
            blockWidth = std::max(blockWidth, widths.back());
        }
        // Every line but the last takes its spacing; the last only its height.
        blockHeight += lines[i].height * (i + 1 < lines.size() ? kMTextLineSpacing : 1);
    }
    const double top = row == 0 ? 0 : row == 1 ? blockHeight / 2 : blockHeight;
    const double left = column == 0 ? 0 : column == 1 ? -blockWidth / 2 : -blockWidth;
    std::vector<PlacedLine> placed;
    double y = top;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double inside = column == 0   ? 0
                              : column == 1 ? (blockWidth - widths[i]) / 2
                                            : blockWidth - widths[i];
        placed.push_back({lines[i].text, lines[i].height, {left + inside, y - lines[i].height}});
        y -= lines[i].height * kMTextLineSpacing;
    }
    return placed;
}

Vec2 textOffset(double width, double capHeight, double descent, int horizontal, int vertical) {
    Vec2 offset;
    if (horizontal == 1 || horizontal == 4) {
        offset.x = -width / 2;
    } else if (horizontal == 2) {
        offset.x = -width;
    }
    if (horizontal == 4 || vertical == 2) {
        offset.y = -capHeight / 2;
    } else if (vertical == 1) {
        offset.y = descent;
    } else if (vertical == 3) {
        offset.y = -capHeight;
    }
    return offset;
}

double mtextAngle(double directionX, double directionY, double angleDegrees) {
    if (std::isfinite(directionX) && std::isfinite(directionY) &&
        (directionX != 0 || directionY != 0)) {
        return std::atan2(directionY, directionX) * 180 / 3.14159265358979323846;
    }
    return std::isfinite(angleDegrees) ? angleDegrees : 0;
}

namespace {

// East Asian wide and full-width characters, which take a square.
bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Lower left and upper right of a run of text relative to its baseline's start.
struct Extent {
    Vec2 min;
    Vec2 max;
};

TextOutline placed(const Extent& extent, Vec2 anchor, double angleDegrees) {
    const double angle =
        (std::isfinite(angleDegrees) ? angleDegrees : 0) * 3.14159265358979323846 / 180;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    auto corner = [&](double x, double y) {
        return Vec2{anchor.x + x * c - y * s, anchor.y + x * s + y * c};
    };
    return {corner(extent.min.x, extent.min.y), corner(extent.max.x, extent.min.y),
            corner(extent.max.x, extent.max.y), corner(extent.min.x, extent.max.y)};
}

double finiteOrZero(double value) {
    return std::isfinite(value) ? value : 0;
}

}  // namespace

double estimatedTextWidth(std::string_view text, double height) {
    double ems = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = std::min(text.size() - at, sequenceLength(lead));
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            c = (c << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
        }
        ems += isWide(c) ? 1 : kNarrowCharacterWidth;
        at += length;
    }
    return ems * height;
}

TextOutline textOutline(const Text& text) {
    const double height = std::abs(finiteOrZero(text.height));
    const double width = estimatedTextWidth(plainText(text.text), height);
    const bool aligned = text.horizontalAlignment != 0 || text.verticalAlignment != 0;
    const Vec2 offset = textOffset(width, height, kTextDescent * height, text.horizontalAlignment,
                                   text.verticalAlignment);
    const cad::Point& anchor = aligned ? text.alignAt : text.at;
    return placed(
        {{offset.x, offset.y - kTextDescent * height}, {offset.x + width, offset.y + height}},
        {finiteOrZero(anchor[0]), finiteOrZero(anchor[1])}, text.angle);
}

TextOutline textOutline(const MText& text) {
    const double height = std::abs(finiteOrZero(text.height));
    const TextMeasure measure = [](std::string_view part, double lineHeight) {
        return estimatedTextWidth(part, lineHeight);
    };
    const std::vector<PlacedLine> lines =
        placeMText(wrapLines(mtextLines(text.text, height), text.width, measure), text.attachment,
                   text.width, measure);
    Extent extent{{0, 0}, {0, 0}};
    bool first = true;
    for (const PlacedLine& line : lines) {
        const Extent own{
            {line.baseline.x, line.baseline.y - kTextDescent * line.height},
            {line.baseline.x + measure(line.text, line.height), line.baseline.y + line.height}};
        if (first) {
            extent = own;
            first = false;
        } else {
            extent = {{std::min(extent.min.x, own.min.x), std::min(extent.min.y, own.min.y)},
                      {std::max(extent.max.x, own.max.x), std::max(extent.max.y, own.max.y)}};
        }
    }
    return placed(extent, {finiteOrZero(text.at[0]), finiteOrZero(text.at[1])}, text.angle);
}

}  // namespace tendra::board
