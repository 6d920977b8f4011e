#include "cad/board/model/dxf_scan.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "cad/board/model/dxf.h"
#include "cad/board/model/dxf_binary.h"
#include "cad/board/model/dxf_entities.h"
#include "cad/surface.h"

namespace tendra::board::dxf {

namespace {

namespace type = cad::entity_type;

constexpr std::size_t kProgressStep = 1 << 20;
// No vertex takes fewer bytes than "10\n0\n20\n0\n".
constexpr std::size_t kMinBytesPerVertex = 8;

[[noreturn]] void fail(const std::string& reason) {
    throw LoadError(reason);
}

std::string lineText(std::size_t line) {
    return "（第 " + std::to_string(line) + " 行）";
}

std::uint64_t parseHandle(std::string_view text) {
    text = trim(text);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return 0;
    }
    return value;
}

enum class Section { None, Header, Classes, Tables, Blocks, Entities, Objects, Other };

Section sectionNamed(std::string_view name) {
    if (name == "HEADER") {
        return Section::Header;
    }
    if (name == "CLASSES") {
        return Section::Classes;
    }
    if (name == "TABLES") {
        return Section::Tables;
    }
    if (name == "BLOCKS") {
        return Section::Blocks;
    }
    if (name == "ENTITIES") {
        return Section::Entities;
    }
    if (name == "OBJECTS") {
        return Section::Objects;
    }
    return Section::Other;
}

int typeOfEntity(std::string_view name) {
    if (name == "LINE") {
        return type::kLine;
    }
    if (name == "ARC") {
        return type::kArc;
    }
    if (name == "CIRCLE") {
        return type::kCircle;
    }
    if (name == "POINT") {
        return type::kPoint;
    }
    if (name == "TEXT") {
        return type::kText;
    }
    if (name == "MTEXT") {
        return type::kMText;
    }
    if (name == "LWPOLYLINE") {
        return type::kLightweightPolyline;
    }
    if (name == "POLYLINE") {
        return type::kPolyline;
    }
    return 0;
}

class Scanner {
  public:
    Scanner(std::string_view bytes, const std::function<void(std::size_t)>& progress)
        : bytes_(bytes), progress_(progress) {}

    ScannedDxf run();

  private:
    bool nextLine(std::string_view& line);
    bool nextPair(Pair& pair);
    void process(std::string_view object, std::size_t line);
    void header();
    void entity(std::string_view object, std::size_t line);
    void block(std::string_view object, std::size_t line);
    void readItself(std::string_view object, bool copying);
    void attribute();
    void skip(std::string_view object);
    void checkLightweightPolyline(std::size_t line);
    void object(std::string_view object);
    void copy(std::string_view object);
    void put(int code, std::string_view value, std::size_t line);
    void closeLayerTable();
    const Pair* find(int code) const;
    long long integer(int code, long long otherwise) const;

    std::string_view bytes_;
    const std::function<void(std::size_t)>& progress_;
    std::size_t position_ = 0;
    std::size_t line_ = 0;
    std::size_t reported_ = 0;

    ScannedDxf result_;
    std::vector<Pair> pairs_;  // of the object being read, after its code 0
    Section section_ = Section::None;
    bool layerTable_ = false;  // inside the LAYER table
    bool layerTableCopied_ = false;
    int block_ = -1;               // the block being read, -1 outside blocks
    bool blockKept_ = false;       // its entities are shown
    bool attributesOpen_ = false;  // an INSERT's ATTRIBs follow, up to SEQEND
    std::size_t referenceRecord_ = 0;
    bool polylineOpen_ = false;
    bool polylineCopied_ = false;
    std::size_t polylineRecord_ = 0;
    std::size_t polylineLine_ = 0;
};

bool Scanner::nextLine(std::string_view& line) {
    if (position_ >= bytes_.size()) {
        return false;
    }
    const char* start = bytes_.data() + position_;
    const auto* newline =
        static_cast<const char*>(std::memchr(start, '\n', bytes_.size() - position_));
    const std::size_t length =
        newline ? static_cast<std::size_t>(newline - start) : bytes_.size() - position_;
    line = std::string_view(start, length);
    position_ += newline ? length + 1 : length;
    ++line_;
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (progress_ && position_ - reported_ >= kProgressStep) {
        reported_ = position_;
        progress_(position_);
    }
    return true;
}

bool Scanner::nextPair(Pair& pair) {
    std::string_view codeLine;
    if (!nextLine(codeLine)) {
        return false;
    }
    const auto code = parseGroupCode(codeLine);
    if (!code || *code < -5 || *code > 1071) {
        if (line_ == 1) {
            fail("不是 DXF 文件");
        }
        fail("文件已损坏，此处应为组码" + lineText(line_));
    }
    std::string_view value;
    if (!nextLine(value)) {
        fail("文件不完整，缺少结束标记 EOF");
    }
    pair = {static_cast<int>(*code), value, line_};
    return true;
}

const Pair* Scanner::find(int code) const {
    for (const Pair& pair : pairs_) {
        if (pair.code == code) {
            return &pair;
        }
    }
    return nullptr;
}

long long Scanner::integer(int code, long long otherwise) const {
    const Pair* pair = find(code);
    if (!pair) {
        return otherwise;
    }
    return parseInteger(pair->value).value_or(otherwise);
}

void Scanner::put(int code, std::string_view value, std::size_t line) {
    if (value.size() > kMaxValueBytes) {
        fail("文件中有过长的行" + lineText(line));
    }
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, code);
    result_.text.append(digits, end);
    result_.text += '\n';
    result_.text.append(value);
    result_.text += '\n';
}

void Scanner::copy(std::string_view object) {
    put(0, object, 0);
    for (const Pair& pair : pairs_) {
        // dxflib takes code 9 for a header variable wherever it stands, and a
        // comment naming a dxflib version changes how it reads MTEXT angles;
        // extended data is of no use to the board.
        if (pair.code != 9 && pair.code != 999 && pair.code < 1000) {
            put(pair.code, pair.value, pair.line);
        }
    }
}

void Scanner::closeLayerTable() {
    if (layerTableCopied_) {
        result_.text += "0\nENDTAB\n0\nENDSEC\n";
        layerTableCopied_ = false;
    }
    layerTable_ = false;
}

void Scanner::header() {
    std::string_view variable;
    for (const Pair& pair : pairs_) {
        if (pair.code == 9) {
            variable = trim(pair.value);
        } else if (variable == "$ACADVER" && pair.code == 1) {
            result_.acadVersion = std::string(trim(pair.value));
        } else if (variable == "$DWGCODEPAGE" && pair.code == 3) {
            result_.codePage = std::string(trim(pair.value));
        } else if (variable == "$PDMODE" && pair.code == 70) {
            result_.pointDisplayMode = parseReal(pair.value);
        } else if (variable == "$PDSIZE" && pair.code == 40) {
            result_.pointDisplaySize = parseReal(pair.value);
        }
    }
}

void Scanner::checkLightweightPolyline(std::size_t line) {
    std::optional<long long> declared;
    long long vertices = 0;
    for (const Pair& pair : pairs_) {
        if (pair.code == 90) {
            if (declared) {
                fail("多段线的顶点数重复" + lineText(pair.line));
            }
            declared = parseInteger(pair.value);
            if (!declared) {
                fail("多段线的顶点数无效" + lineText(pair.line));
            }
            if (*declared < 0 ||
                static_cast<unsigned long long>(*declared) > bytes_.size() / kMinBytesPerVertex) {
                fail("多段线的顶点数 " + std::to_string(*declared) + " 不合理" +
                     lineText(pair.line));
            }
        } else if (pair.code == 10 || pair.code == 20 || pair.code == 30 || pair.code == 42) {
            // dxflib stores vertices in an array sized by code 90.
            if (!declared) {
                fail("多段线的顶点出现在顶点数之前" + lineText(pair.line));
            }
            if (pair.code == 10) {
                ++vertices;
            } else if (pair.code == 42 && vertices == 0) {
                fail("多段线的凸度出现在第一个顶点之前" + lineText(pair.line));
            }
        }
    }
    if (!declared) {
        fail("多段线缺少顶点数" + lineText(line));
    }
    if (*declared != vertices) {
        fail("多段线声明了 " + std::to_string(*declared) + " 个顶点，实际读到 " +
             std::to_string(vertices) + " 个" + lineText(line));
    }
}

void Scanner::entity(std::string_view object, std::size_t line) {
    const bool copying = section_ == Section::Entities ? integer(67, 0) != 1
                         : section_ == Section::Blocks ? blockKept_
                                                       : false;
    if (attributesOpen_) {
        if (object == "ATTRIB") {
            if (copying) {
                attribute();
            }
            return;
        }
        attributesOpen_ = false;
        if (object == "SEQEND") {
            return;
        }
    }
    if (object == "VERTEX") {
        if (!polylineOpen_) {
            fail("顶点不属于任何多段线" + lineText(line));
        }
        // Spline frame control points are not part of the drawn outline.
        if (polylineCopied_ && (integer(70, 0) & 16) == 0) {
            copy(object);
            ++result_.entities[polylineRecord_].vertices;
        }
        return;
    }
    if (polylineOpen_ && object != "SEQEND") {
        fail("多段线缺少结束标记 SEQEND" + lineText(polylineLine_));
    }
    if (object == "SEQEND") {
        if (polylineOpen_ && polylineCopied_) {
            copy(object);
        }
        polylineOpen_ = false;
        return;
    }
    if (readsItself(object)) {
        readItself(object, copying);
        return;
    }
    const int entityType = typeOfEntity(object);
    if (entityType == 0 && copying) {
        skip(object);
    }
    if (entityType == type::kLightweightPolyline) {
        checkLightweightPolyline(line);
    }
    if (entityType == type::kPolyline) {
        polylineOpen_ = true;
        polylineLine_ = line;
        // Meshes and polyface meshes are not outlines.
        polylineCopied_ = copying && (integer(70, 0) & (16 | 64)) == 0;
        polylineRecord_ = result_.entities.size();
        if (!polylineCopied_) {
            return;
        }
    }
    if (entityType == 0 || !copying) {
        return;
    }
    ScannedEntity record;
    record.type = entityType;
    record.block = section_ == Section::Blocks ? block_ : -1;
    if (const Pair* handle = find(5)) {
        record.handle = parseHandle(handle->value);
    }
    if (entityType == type::kPolyline) {
        if (const Pair* z = find(30)) {
            record.elevation = parseReal(z->value).value_or(0);
        }
        const long long flags = integer(70, 0);
        record.spatial = (flags & 8) != 0;
        if (flags & 4) {
            record.fit = integer(75, 6) == 5 ? 2 : 3;
        } else if (flags & 2) {
            record.fit = 1;
        }
    } else if (entityType == type::kLightweightPolyline) {
        record.vertices = static_cast<std::uint32_t>(integer(90, 0));
    }
    if (entityType == type::kPolyline || entityType == type::kLightweightPolyline ||
        entityType == type::kArc) {
        for (int axis = 0; axis < 3; ++axis) {
            if (const Pair* pair = find(210 + 10 * axis)) {
                const double value = parseReal(pair->value).value_or(record.normal[axis]);
                record.normal[axis] = std::isfinite(value) ? value : record.normal[axis];
            }
        }
    }
    result_.entities.push_back(record);
    copy(object);
}

void Scanner::readItself(std::string_view object, bool copying) {
    if (!copying) {
        return;
    }
    std::optional<Geometry> geometry = readEntity(object, pairs_);
    if (!geometry) {
        return;
    }
    ScannedEntity& record = result_.entities.emplace_back();
    record.type = entityTypeOf(*geometry);
    record.geometry = std::move(geometry);
    record.block = section_ == Section::Blocks ? block_ : -1;
    if (const Pair* handle = find(5)) {
        record.handle = parseHandle(handle->value);
    }
    if (const Pair* layer = find(8)) {
        record.layer = std::string(trim(layer->value));
    }
    const long long color = integer(62, kColorByLayer);
    record.color = color >= 0 && color <= 256 ? static_cast<int>(color) : kColorByLayer;
    if (object == "INSERT" && integer(66, 0) == 1) {
        attributesOpen_ = true;
        referenceRecord_ = result_.entities.size() - 1;
    }
}

void Scanner::attribute() {
    if (auto value = readAttribute(pairs_)) {
        auto& reference = std::get<BlockReference>(*result_.entities[referenceRecord_].geometry);
        reference.attributes.push_back(std::move(*value));
    }
}

void Scanner::skip(std::string_view object) {
    // Attribute definitions only show through the references that fill them in.
    if (object == "ATTDEF" || object == "ATTRIB") {
        return;
    }
    for (SkippedKind& kind : result_.skipped) {
        if (kind.name == object) {
            ++kind.count;
            return;
        }
    }
    result_.skipped.push_back({std::string(object), 1});
}

void Scanner::block(std::string_view object, std::size_t line) {
    if (object == "BLOCK" || object == "ENDBLK") {
        if (polylineOpen_) {
            fail("多段线缺少结束标记 SEQEND" + lineText(polylineLine_));
        }
        attributesOpen_ = false;
    }
    if (object == "BLOCK") {
        const Pair* name = find(2);
        const std::string_view blockName = name ? trim(name->value) : std::string_view();
        // Model and paper space have blocks of their own; external references
        // (flag 4) have nothing in the file to show.
        auto startsWith = [&](std::string_view prefix) {
            if (blockName.size() < prefix.size()) {
                return false;
            }
            for (std::size_t i = 0; i < prefix.size(); ++i) {
                const char c = blockName[i];
                if ((c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c) != prefix[i]) {
                    return false;
                }
            }
            return true;
        };
        const bool layout = startsWith("*MODEL_SPACE") || startsWith("*PAPER_SPACE");
        blockKept_ = !blockName.empty() && !layout && (integer(70, 0) & 4) == 0;
        block_ = -1;
        if (blockKept_) {
            block_ = static_cast<int>(result_.blocks.size());
            ScannedBlock scanned;
            scanned.name = std::string(blockName);
            for (const Pair& pair : pairs_) {
                if (pair.code == 10) {
                    scanned.base.x = parseReal(pair.value).value_or(0);
                } else if (pair.code == 20) {
                    scanned.base.y = parseReal(pair.value).value_or(0);
                }
            }
            result_.blocks.push_back(std::move(scanned));
        }
        return;
    }
    if (object == "ENDBLK") {
        block_ = -1;
        blockKept_ = false;
        return;
    }
    entity(object, line);
}

void Scanner::object(std::string_view object) {
    if (object == "GROUP") {
        ScannedGroup group;
        for (const Pair& pair : pairs_) {
            if (pair.code == 5) {
                group.handle = parseHandle(pair.value);
            } else if (pair.code == 340) {
                group.members.push_back(parseHandle(pair.value));
            }
        }
        result_.groups.push_back(std::move(group));
    } else if (object == "DICTIONARY" || object == "ACDBDICTIONARYWDFLT") {
        std::string_view name;
        for (const Pair& pair : pairs_) {
            if (pair.code == 3) {
                name = pair.value;
            } else if ((pair.code == 350 || pair.code == 360) && !name.empty()) {
                result_.names.emplace(parseHandle(pair.value), std::string(name));
                name = {};
            }
        }
    }
}

void Scanner::process(std::string_view object, std::size_t line) {
    if (object == "SECTION") {
        const Pair* name = find(2);
        section_ = sectionNamed(name ? trim(name->value) : std::string_view());
        if (section_ == Section::Header) {
            header();
        } else if (section_ == Section::Entities || section_ == Section::Blocks) {
            // dxflib reads the blocks' entities as entities; the records say
            // which block each belongs to.
            result_.text += "0\nSECTION\n2\nENTITIES\n";
        }
        return;
    }
    if (object == "ENDSEC") {
        if (polylineOpen_) {
            fail("多段线缺少结束标记 SEQEND" + lineText(polylineLine_));
        }
        closeLayerTable();
        if (section_ == Section::Entities || section_ == Section::Blocks) {
            result_.text += "0\nENDSEC\n";
        }
        section_ = Section::None;
        block_ = -1;
        blockKept_ = false;
        attributesOpen_ = false;
        return;
    }
    switch (section_) {
        case Section::Header:
        case Section::Classes:
            return;
        case Section::Tables:
            if (object == "TABLE") {
                closeLayerTable();
                const Pair* name = find(2);
                layerTable_ = name && trim(name->value) == "LAYER";
            } else if (object == "ENDTAB") {
                closeLayerTable();
            } else if (object == "LAYER" && layerTable_) {
                if (!layerTableCopied_) {
                    result_.text += "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n";
                    layerTableCopied_ = true;
                }
                copy(object);
            }
            return;
        case Section::Objects:
            this->object(object);
            return;
        case Section::Blocks:
            block(object, line);
            return;
        default:
            entity(object, line);
    }
}

ScannedDxf Scanner::run() {
    if (bytes_.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        fail("文件是空的");
    }
    if (std::memchr(bytes_.data(), '\0', bytes_.size())) {
        fail("文件含有二进制数据，不是文本格式的 DXF 文件");
    }
    result_.text.reserve(bytes_.size());
    // dxflib reads MTEXT's angle in one of two ways, chosen by the dxflib
    // version a 999 comment names, and without one by a field it never sets.
    // Naming this old version makes it take the angle as stored, in radians.
    result_.text += "999\ndxflib 2.0.2.0\n";

    std::string_view object;
    std::size_t objectLine = 0;
    bool inObject = false;
    Pair pair;
    while (nextPair(pair)) {
        if (pair.code != 0) {
            if (inObject) {
                pairs_.push_back(pair);
            }
            continue;
        }
        if (inObject) {
            process(object, objectLine);
        }
        object = trim(pair.value);
        objectLine = pair.line;
        pairs_.clear();
        inObject = true;
        if (object == "EOF") {
            if (polylineOpen_) {
                fail("多段线缺少结束标记 SEQEND" + lineText(polylineLine_));
            }
            closeLayerTable();
            if (section_ == Section::Entities || section_ == Section::Blocks) {
                result_.text += "0\nENDSEC\n";
            }
            result_.text += "0\nEOF\n";
            if (progress_) {
                progress_(bytes_.size());
            }
            return std::move(result_);
        }
    }
    fail("文件不完整，缺少结束标记 EOF");
}

}  // namespace

ScannedDxf scan(std::string_view bytes, const std::function<void(std::size_t)>& progress) {
    if (isBinaryDxf(bytes)) {
        const std::string text = binaryToText(bytes);
        // Progress still counts the file's bytes.
        const double scale = text.empty() ? 0 : static_cast<double>(bytes.size()) / text.size();
        const std::function<void(std::size_t)> scaled = [&](std::size_t done) {
            if (progress) {
                progress(static_cast<std::size_t>(done * scale));
            }
        };
        return Scanner(text, scaled).run();
    }
    return Scanner(bytes, progress).run();
}

}  // namespace tendra::board::dxf
