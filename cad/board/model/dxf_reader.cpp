// Loading: the scan checks the file and copies what the board shows; dxflib
// parses that copy into the drawing.
// dxflib's headers trip -Wdeprecated-copy.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-copy"
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <istream>
#include <iterator>
#include <new>
#include <numbers>
#include <streambuf>
#include <type_traits>
#include <unordered_map>
#include <variant>

#include "cad/board/model/dxf.h"
#include "cad/board/model/dxf_scan.h"
#include "cad/board/model/text_encoding.h"
#include "cad/board/model/text_layout.h"

namespace tendra::board {

namespace {

namespace type = cad::entity_type;

constexpr std::size_t kChunk = 1 << 20;
constexpr double kDegreesPerRadian = 180 / std::numbers::pi;
// Progress runs over twice the file size: the scan, then the parse.
constexpr std::uint64_t kPasses = 2;

// Reads a string in chunks, so that progress can be told as dxflib reads.
class ChunkedBuffer : public std::streambuf {
  public:
    ChunkedBuffer(const std::string& text, std::function<void(std::size_t)> read)
        : text_(text), read_(std::move(read)) {}

  protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        if (next_ >= text_.size()) {
            return traits_type::eof();
        }
        char* base = const_cast<char*>(text_.data());
        const std::size_t end = std::min(text_.size(), next_ + kChunk);
        setg(base + next_, base + next_, base + end);
        next_ = end;
        if (read_) {
            read_(next_);
        }
        return traits_type::to_int_type(*gptr());
    }

  private:
    const std::string& text_;
    std::function<void(std::size_t)> read_;
    std::size_t next_ = 0;
};

cad::Point point(double x, double y, double z) {
    return {x, y, z};
}

double finite(double value) {
    return std::isfinite(value) ? value : 0;
}

// Builds the drawing from dxflib's calls. Each entity call takes the next
// record of the scan, which says what the call stands for.
class Builder : public DL_CreationAdapter {
  public:
    Builder(Drawing& drawing, const dxf::ScannedDxf& scanned, const TextDecoder& decoder)
        : drawing_(drawing), scanned_(scanned), decoder_(decoder) {
        ids_.reserve(scanned.entities.size());
        for (const dxf::ScannedBlock& block : scanned.blocks) {
            blocks_.push_back(Block{decoder.decode(block.name), block.base, {}});
        }
    }

    void addLayer(const DL_LayerData& data) override {
        Layer layer;
        layer.name = decoder_.decode(data.name);
        const int color = attributes.getColor();
        layer.color = color == 0 || std::abs(color) > 255 ? 7 : color;
        if (data.off && layer.color > 0) {
            layer.color = -layer.color;
        }
        layer.frozen = (data.flags & 1) != 0;
        drawing_.setLayer(layer);
    }

    void addLine(const DL_LineData& d) override {
        take(type::kLine);
        add(Line{point(d.x1, d.y1, d.z1), point(d.x2, d.y2, d.z2)});
    }

    void addArc(const DL_ArcData& d) override {
        const dxf::ScannedEntity& record = take(type::kArc);
        add(Arc{point(d.cx, d.cy, d.cz), d.radius, d.angle1, d.angle2, record.normal});
    }

    void addCircle(const DL_CircleData& d) override {
        take(type::kCircle);
        add(Circle{point(d.cx, d.cy, d.cz), d.radius});
    }

    void addPoint(const DL_PointData& d) override {
        take(type::kPoint);
        add(PointEntity{point(d.x, d.y, d.z)});
    }

    void addText(const DL_TextData& d) override {
        take(type::kText);
        Text text;
        text.at = point(d.ipx, d.ipy, d.ipz);
        // dxflib gives NaN when the file has no alignment point.
        text.alignAt = std::isfinite(d.apx) && std::isfinite(d.apy)
                           ? point(d.apx, d.apy, finite(d.apz))
                           : text.at;
        text.height = finite(d.height);
        text.angle = finite(d.angle * kDegreesPerRadian);
        text.text = decoder_.decode(d.text);
        text.horizontalAlignment = d.hJustification;
        text.verticalAlignment = d.vJustification;
        add(std::move(text));
    }

    void addMTextChunk(const std::string& chunk) override { mtextChunks_ += chunk; }

    void addMText(const DL_MTextData& d) override {
        take(type::kMText);
        MText text;
        text.at = point(d.ipx, d.ipy, d.ipz);
        text.height = finite(d.height);
        text.width = finite(d.width);
        text.angle = mtextAngle(d.dirx, d.diry, finite(d.angle * kDegreesPerRadian));
        text.attachment = d.attachmentPoint >= 1 && d.attachmentPoint <= 9 ? d.attachmentPoint : 1;
        text.text = decoder_.decode(mtextChunks_ + d.text);
        mtextChunks_.clear();
        add(std::move(text));
    }

    void addPolyline(const DL_PolylineData& d) override {
        finishPolyline();
        const dxf::ScannedEntity& record = take(-1);
        polylineRecord_ = current_;
        if (record.type == type::kLightweightPolyline) {
            LightweightPolyline shape;
            shape.closed = (d.flags & 1) != 0;
            shape.elevation = finite(d.elevation);
            shape.normal = record.normal;
            shape.vertices.reserve(record.vertices);
            polyline_ = std::move(shape);
        } else if (record.spatial) {
            Polyline3d shape;
            shape.closed = (d.flags & 1) != 0;
            shape.elevation = finite(record.elevation);
            shape.vertices.reserve(record.vertices);
            shape.z.reserve(record.vertices);
            polyline_ = std::move(shape);
        } else {
            Polyline2d shape;
            shape.closed = (d.flags & 1) != 0;
            shape.elevation = finite(record.elevation);
            shape.normal = record.normal;
            shape.fit = record.fit;
            shape.vertices.reserve(record.vertices);
            polyline_ = std::move(shape);
        }
        polylineLayer_ = attributes.getLayer();
        polylineColor_ = attributes.getColor();
    }

    void addVertex(const DL_VertexData& d) override {
        if (polyline_.index() == 0) {
            throw LoadError("文件结构无法识别（顶点不属于任何多段线）");
        }
        std::visit(
            [&](auto& shape) {
                using Shape = std::decay_t<decltype(shape)>;
                if constexpr (!std::is_same_v<Shape, std::monostate>) {
                    shape.vertices.push_back({d.x, d.y, finite(d.bulge)});
                }
                if constexpr (std::is_same_v<Shape, Polyline3d>) {
                    shape.z.push_back(finite(d.z));
                }
            },
            polyline_);
    }

    void endEntity() override {
        if (std::holds_alternative<LightweightPolyline>(polyline_)) {
            finishPolyline();
        }
    }

    void endSequence() override { finishPolyline(); }

    // After the parse: every record became an entity.
    const std::vector<EntityId>& finish() {
        finishPolyline();
        takeOwnRecords();
        defineBlocks();
        if (next_ != scanned_.entities.size()) {
            throw LoadError("文件结构无法识别");
        }
        return ids_;
    }

  private:
    const dxf::ScannedEntity& take(int entityType) {
        if (entityType != -1) {
            finishPolyline();
        }
        takeOwnRecords();
        if (next_ >= scanned_.entities.size()) {
            throw LoadError("文件结构无法识别");
        }
        current_ = next_;
        const dxf::ScannedEntity& record = scanned_.entities[next_++];
        const bool polyline =
            record.type == type::kLightweightPolyline || record.type == type::kPolyline;
        if (entityType == -1 ? !polyline : record.type != entityType) {
            throw LoadError("文件结构无法识别");
        }
        return record;
    }

    int color(int raw) const { return raw >= 0 && raw <= 256 ? raw : kColorByLayer; }

    void add(Geometry geometry) {
        place(scanned_.entities[current_], std::move(geometry), layerName(attributes.getLayer()),
              color(attributes.getColor()));
    }

    // Into its block, or into the drawing once all blocks are known.
    void place(const dxf::ScannedEntity& record, Geometry geometry, std::string layer,
               int aciColor) {
        if (record.block >= 0) {
            // A block that only follows model space in the file comes too late
            // for the references there; it is left out.
            if (!blocksDefined_) {
                blocks_[static_cast<std::size_t>(record.block)].entities.push_back(
                    Entity{0, std::move(layer), aciColor, std::move(geometry)});
            }
            ids_.push_back(0);
            return;
        }
        defineBlocks();
        ids_.push_back(drawing_.add(std::move(geometry), layer, aciColor));
    }

    void defineBlocks() {
        if (blocksDefined_) {
            return;
        }
        blocksDefined_ = true;
        for (Block& block : blocks_) {
            drawing_.defineBlock(std::move(block));
        }
        blocks_.clear();
    }

    // The records the scan read itself that come before dxflib's next one.
    void takeOwnRecords() {
        while (next_ < scanned_.entities.size() && scanned_.entities[next_].geometry) {
            finishPolyline();
            const dxf::ScannedEntity& record = scanned_.entities[next_++];
            Geometry geometry = *record.geometry;
            decodeStrings(geometry);
            place(record, std::move(geometry), layerName(record.layer), record.color);
        }
    }

    void decodeStrings(Geometry& geometry) const {
        if (auto* reference = std::get_if<BlockReference>(&geometry)) {
            reference->block = decoder_.decode(reference->block);
            for (Attribute& attribute : reference->attributes) {
                attribute.text = decoder_.decode(attribute.text);
                attribute.tag = decoder_.decode(attribute.tag);
            }
        } else if (auto* dimension = std::get_if<Dimension>(&geometry)) {
            dimension->block = decoder_.decode(dimension->block);
            dimension->text = decoder_.decode(dimension->text);
        } else if (auto* hatch = std::get_if<Hatch>(&geometry)) {
            hatch->pattern = decoder_.decode(hatch->pattern);
        }
    }

    std::string layerName(const std::string& raw) const {
        return raw.empty() ? std::string("0") : decoder_.decode(raw);
    }

    void finishPolyline() {
        if (polyline_.index() == 0) {
            return;
        }
        const dxf::ScannedEntity& record = scanned_.entities[polylineRecord_];
        Geometry geometry;
        std::size_t vertices = 0;
        if (auto* lightweight = std::get_if<LightweightPolyline>(&polyline_)) {
            vertices = lightweight->vertices.size();
            geometry = std::move(*lightweight);
        } else if (auto* spatial = std::get_if<Polyline3d>(&polyline_)) {
            vertices = spatial->vertices.size();
            geometry = std::move(*spatial);
        } else {
            auto& old = std::get<Polyline2d>(polyline_);
            vertices = old.vertices.size();
            geometry = std::move(old);
        }
        polyline_ = std::monostate{};
        if (vertices != record.vertices) {
            throw LoadError("多段线的顶点数与读到的顶点不符");
        }
        place(record, std::move(geometry), layerName(polylineLayer_), color(polylineColor_));
    }

    Drawing& drawing_;
    const dxf::ScannedDxf& scanned_;
    const TextDecoder& decoder_;
    std::size_t next_ = 0;
    std::size_t current_ = 0;    // the record dxflib's call stands for
    std::vector<EntityId> ids_;  // by record, 0 for entities of blocks
    std::vector<Block> blocks_;  // by ScannedDxf::blocks, until defined
    bool blocksDefined_ = false;
    std::variant<std::monostate, LightweightPolyline, Polyline2d, Polyline3d> polyline_;
    std::size_t polylineRecord_ = 0;
    std::string polylineLayer_;
    int polylineColor_ = kColorByLayer;
    std::string mtextChunks_;
};

void addGroups(Drawing& drawing, const dxf::ScannedDxf& scanned, const TextDecoder& decoder,
               const std::vector<EntityId>& ids) {
    if (scanned.groups.empty()) {
        return;
    }
    std::unordered_map<std::uint64_t, EntityId> byHandle;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (scanned.entities[i].handle != 0 && ids[i] != 0) {
            byHandle.emplace(scanned.entities[i].handle, ids[i]);
        }
    }
    for (const dxf::ScannedGroup& group : scanned.groups) {
        auto name = scanned.names.find(group.handle);
        if (name == scanned.names.end()) {
            continue;
        }
        const std::string decoded = decoder.decode(name->second);
        if (decoded.empty() || drawing.hasGroup(decoded)) {
            continue;
        }
        std::vector<EntityId> members;
        for (std::uint64_t handle : group.members) {
            auto member = byHandle.find(handle);
            if (member != byHandle.end()) {
                members.push_back(member->second);
            }
        }
        drawing.addGroup(decoded);
        drawing.appendToGroup(decoded, members);
    }
}

// owned, when given, holds the bytes and is emptied once they are scanned,
// so that a large file and its copy are not held at the same time.
Drawing load(std::string_view bytes, const LoadProgress& progress, std::string* owned = nullptr) {
    const std::size_t size = bytes.size();
    const std::uint64_t total = static_cast<std::uint64_t>(size) * kPasses;
    try {
        const dxf::ScannedDxf scanned = dxf::scan(bytes, [&](std::size_t done) {
            if (progress) {
                progress(done, total);
            }
        });
        if (owned) {
            std::string().swap(*owned);
        }
        const TextDecoder decoder(scanned.acadVersion, scanned.codePage);
        Drawing drawing;
        drawing.reserve(scanned.entities.size());
        Builder builder(drawing, scanned, decoder);
        // The copy is at most as long as the file; scale its progress to it.
        const double scale =
            scanned.text.empty() ? 0 : static_cast<double>(size) / scanned.text.size();
        ChunkedBuffer buffer(scanned.text, [&](std::size_t done) {
            if (progress) {
                progress(size + static_cast<std::uint64_t>(done * scale), total);
            }
        });
        std::istream stream(&buffer);
        DL_Dxf parser;
        if (!parser.in(stream, &builder)) {
            throw LoadError("文件结构无法识别");
        }
        addGroups(drawing, scanned, decoder, builder.finish());
        drawing.setSkipped(scanned.skipped);
        if (scanned.pointDisplayMode) {
            drawing.setVariable("PDMODE", *scanned.pointDisplayMode);
        }
        if (scanned.pointDisplaySize) {
            drawing.setVariable("PDSIZE", *scanned.pointDisplaySize);
        }
        if (progress) {
            progress(total, total);
        }
        return drawing;
    } catch (const LoadError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw LoadError("内存不足，文件中的数量过大");
    } catch (const std::exception&) {
        throw LoadError("文件结构无法识别");
    }
}

}  // namespace

std::string skippedKindsText(const std::vector<SkippedKind>& skipped) {
    std::string text;
    for (const SkippedKind& kind : skipped) {
        text += text.empty() ? "未显示：" : "、";
        text += std::to_string(kind.count) + " " + kind.name;
    }
    return text;
}

Drawing loadDxf(std::string_view bytes, const LoadProgress& progress) {
    return load(bytes, progress);
}

Drawing loadDxf(std::istream& stream, const LoadProgress& progress) {
    std::string bytes;
    try {
        bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
        throw LoadError("内存不足，文件太大");
    }
    if (stream.bad()) {
        throw LoadError("读取文件时出错");
    }
    return load(bytes, progress, &bytes);
}

Drawing loadDxfFile(const std::string& path, const LoadProgress& progress) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw LoadError("文件不存在或无法打开");
    }
    std::string bytes;
    try {
        file.seekg(0, std::ios::end);
        const std::streamoff size = file.tellg();
        file.seekg(0, std::ios::beg);
        if (size < 0) {
            throw LoadError("读取文件时出错");
        }
        bytes.resize(static_cast<std::size_t>(size));
        file.read(bytes.data(), size);
        if (file.gcount() != size) {
            throw LoadError("读取文件时出错");
        }
    } catch (const std::bad_alloc&) {
        throw LoadError("内存不足，文件太大");
    }
    return load(bytes, progress, &bytes);
}

}  // namespace tendra::board
