#include "nodes/mct_parameters.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "nodes/number_reading.h"

namespace tendra {

namespace {

// The ideographic space an input method types for a blank.
constexpr std::string_view kWideBlank = "\xE3\x80\x80";
// The full-width comma, typed for a comma with a Chinese input method.
constexpr std::string_view kWideComma = "\xEF\xBC\x8C";

// Elements above this number are taken for a typing slip.
constexpr long long kLargestElement = 999'999'999;

// The length of the blank at the start of a text: 0 where there is none.
std::size_t blankLength(std::string_view text) {
    if (!text.empty() && (text[0] == ' ' || text[0] == '\t')) {
        return 1;
    }
    return text.starts_with(kWideBlank) ? kWideBlank.size() : 0;
}

std::string_view trimmed(std::string_view text) {
    for (std::size_t n; (n = blankLength(text)) > 0;) {
        text.remove_prefix(n);
    }
    while (!text.empty()) {
        if (text.back() == ' ' || text.back() == '\t') {
            text.remove_suffix(1);
        } else if (text.ends_with(kWideBlank)) {
            text.remove_suffix(kWideBlank.size());
        } else {
            break;
        }
    }
    return text;
}

// The parts of a text between runs of blanks.
std::vector<std::string_view> blankSeparated(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (const std::size_t n = blankLength(text.substr(i)); n > 0) {
            if (i > start) {
                parts.push_back(text.substr(start, i - start));
            }
            i += n;
            start = i;
        } else {
            ++i;
        }
    }
    if (i > start) {
        parts.push_back(text.substr(start, i - start));
    }
    return parts;
}

std::vector<std::string_view> commaSeparated(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t comma; (comma = text.find(',')) != std::string_view::npos;) {
        parts.push_back(text.substr(0, comma));
        text.remove_prefix(comma + 1);
    }
    parts.push_back(text);
    return parts;
}

bool holdsSeparator(std::string_view name) {
    return name.find_first_of(",;") != std::string_view::npos;
}

std::string quoted(std::string_view text) {
    return "“" + std::string(text) + "”";
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the lenient reader finds a number at the start of a text, rather
// than reading 0 for want of one.
bool startsWithNumber(std::string_view text) {
    std::size_t i = 0;
    const auto next = [&] {
        while (i < text.size() &&
               (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
            ++i;
        }
        return i < text.size() ? text[i] : '\0';
    };
    char c = next();
    if (c == '&') {
        ++i;
        c = next();
        if (c != 'H' && c != 'h' && c != 'O' && c != 'o') {
            return false;
        }
        const bool hex = c == 'H' || c == 'h';
        ++i;
        c = next();
        return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : c >= '0' && c <= '7';
    }
    if (c == '+' || c == '-') {
        ++i;
        c = next();
    }
    if (c == '.') {
        ++i;
        c = next();
    }
    return isDigit(c);
}

// "to" or "by" at the start of a text, in any case.
bool startsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if ((text[i] | 0x20) != word[i]) {
            return false;
        }
    }
    return true;
}

// Reads the digits at the start of a text into number; false where there are
// none. Runs of digits too long for the number read as one too large.
bool takeNumber(std::string_view& text, long long& number) {
    std::size_t digits = 0;
    while (digits < text.size() && isDigit(text[digits])) {
        ++digits;
    }
    if (digits == 0) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + digits, number);
    if (error == std::errc::result_out_of_range) {
        number = kLargestElement + 1;
    }
    text.remove_prefix(digits);
    return true;
}

// One item of an element list, written back in its plain form; the reason
// it is not valid, in the error, otherwise.
std::optional<std::string> elementItem(std::string_view item, std::string& error) {
    std::string_view rest = item;
    long long first = 0, last = 0, step = 1;
    bool range = false, stepped = false;
    bool formed = takeNumber(rest, first);
    if (formed && startsWithWord(rest, "to")) {
        rest.remove_prefix(2);
        range = true;
        formed = takeNumber(rest, last);
        if (formed && startsWithWord(rest, "by")) {
            rest.remove_prefix(2);
            stepped = true;
            formed = takeNumber(rest, step);
        }
    }
    if (!formed || !rest.empty()) {
        error = "分配单元：" + quoted(item) + "不是单元号、NtoM 或 NtoMbyK";
        return std::nullopt;
    }
    if (first < 1) {  // a range's end is then positive too, or it runs backwards
        error = "分配单元：" + quoted(item) + "中单元号须为正整数";
        return std::nullopt;
    }
    if (first > kLargestElement || last > kLargestElement || step > kLargestElement) {
        error = "分配单元：" + quoted(item) + "中的数过大";
        return std::nullopt;
    }
    if (range && first > last) {
        error = "分配单元：" + quoted(item) + "起始号大于终止号";
        return std::nullopt;
    }
    if (stepped && step < 1) {
        error = "分配单元：" + quoted(item) + "步长须至少为 1";
        return std::nullopt;
    }
    std::string plain = std::to_string(first);
    if (range) {
        plain += "to" + std::to_string(last);
    }
    if (stepped) {
        plain += "by" + std::to_string(step);
    }
    return plain;
}

std::optional<MctFieldError> checkProperty(std::string_view text, std::string& property) {
    property = trimmed(text);
    if (property.empty()) {
        return MctFieldError{MctField::Property, "钢束特性：不能为空"};
    }
    if (holdsSeparator(property)) {
        return MctFieldError{MctField::Property, "钢束特性：不能含逗号或分号"};
    }
    return std::nullopt;
}

std::optional<MctFieldError> checkElements(std::string_view text, std::string& elements) {
    const std::vector<std::string_view> items = blankSeparated(text);
    if (items.empty()) {
        return MctFieldError{MctField::Elements, "分配单元：不能为空"};
    }
    elements.clear();
    for (std::string_view item : items) {
        std::string error;
        const std::optional<std::string> plain = elementItem(item, error);
        if (!plain) {
            return MctFieldError{MctField::Elements, error};
        }
        elements += (elements.empty() ? "" : " ") + *plain;
    }
    return std::nullopt;
}

std::optional<MctFieldError> checkGroup(std::string_view text, std::string& group) {
    group = trimmed(text);
    if (holdsSeparator(group)) {
        return MctFieldError{MctField::Group, "钢束组：不能含逗号或分号"};
    }
    return std::nullopt;
}

std::optional<MctFieldError> checkInsertion(std::string_view text, MctParameters& parameters) {
    std::string commas(text);
    for (std::size_t at; (at = commas.find(kWideComma)) != std::string::npos;) {
        commas.replace(at, kWideComma.size(), ",");
    }
    if (trimmed(commas).empty()) {
        return MctFieldError{MctField::Insertion, "插入点：不能为空"};
    }
    const std::vector<std::string_view> parts =
        commas.find(',') != std::string::npos ? commaSeparated(commas) : blankSeparated(commas);
    if (parts.size() != 3) {
        return MctFieldError{MctField::Insertion, "插入点：须为 x, y, z 三个数"};
    }
    double* coordinates[] = {&parameters.insertionX, &parameters.insertionY,
                             &parameters.insertionZ};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = trimmed(parts[i]);
        if (part.empty()) {
            return MctFieldError{MctField::Insertion, "插入点：须为 x, y, z 三个数"};
        }
        if (!startsWithNumber(part)) {
            return MctFieldError{MctField::Insertion, "插入点：" + quoted(part) + "不是数值"};
        }
        *coordinates[i] = readNumber(part);
        if (!std::isfinite(*coordinates[i])) {
            return MctFieldError{MctField::Insertion, "插入点：" + quoted(part) + "超出范围"};
        }
    }
    return std::nullopt;
}

}  // namespace

MctCheck checkMctFields(const MctFieldTexts& texts) {
    MctCheck check;
    MctParameters& p = check.parameters;
    check.error = checkProperty(texts.property, p.property);
    if (!check.error) {
        check.error = checkElements(texts.elements, p.elements);
    }
    if (!check.error) {
        check.error = checkGroup(texts.group, p.group);
    }
    if (!check.error) {
        check.error = checkInsertion(texts.insertion, p);
    }
    if (check.error) {
        check.parameters = {};
    }
    return check;
}

}  // namespace tendra
