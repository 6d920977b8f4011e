// Saving through dxflib's writer. Entities dxflib writes well (lines, arcs,
// circles, points, text) go through its calls; polylines and MTEXT are
// written group by group, because dxflib drops a polyline's elevation, only
// knows one polyline kind per version, and may cut MTEXT inside a character.
// dxflib's headers trip -Wdeprecated-copy.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-copy"
#include <dl_dxf.h>
#include <dl_writer_ascii.h>
#pragma GCC diagnostic pop

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cad/board/model/dxf.h"
#include "cad/board/model/dxf_scan.h"
#include "cad/board/model/text_encoding.h"

namespace tendra::board {

namespace {

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;
// The handle dxflib's writer gives the ACAD_GROUP dictionary.
constexpr int kGroupDictionary = 0xD;
// MTEXT text goes in pieces of at most 250 bytes.
constexpr std::size_t kMTextPiece = 250;

// A value in the file's code page, cut to a length the loader accepts.
std::string encoded(const std::string& utf8) {
    return encodeForDxf(utf8, dxf::kMaxValueBytes).front();
}

// dxflib's writer with two changes: reals in their shortest exact form, and
// the groups' entries in the ACAD_GROUP dictionary, which dxflib writes empty.
class Writer : public DL_WriterA {
  public:
    Writer(const std::string& path, DL_Codes::version version,
           const std::vector<std::string>& groupNames)
        : DL_WriterA(path.c_str(), version), groupNames_(groupNames) {}

    bool modern() const { return version >= DL_VERSION_2000; }

    // Handles the group objects were given in the dictionary.
    const std::vector<unsigned long>& groupHandles() const { return groupHandles_; }

    void dxfReal(int gc, double value) const override {
        if (!std::isfinite(value)) {
            value = 0;
        }
        char text[32];
        auto [end, error] = std::to_chars(text, text + sizeof text - 2, value);
        std::string_view written(text, static_cast<std::size_t>(end - text));
        std::string result(written);
        if (written.find_first_of(".e") == std::string_view::npos) {
            result += ".0";
        }
        DL_WriterA::dxfString(gc, result);
    }

    void dxfHex(int gc, int value) const override {
        DL_WriterA::dxfHex(gc, value);
        if (gc == 5 && value == kGroupDictionary && lastObject_ == "DICTIONARY") {
            inGroupDictionary_ = true;
        }
    }

    void dxfInt(int gc, int value) const override {
        DL_WriterA::dxfInt(gc, value);
        // The dictionary's entries follow its 281 (duplicate record cloning).
        if (gc == 281 && inGroupDictionary_) {
            inGroupDictionary_ = false;
            for (const std::string& name : groupNames_) {
                groupHandles_.push_back(m_handle++);
                DL_WriterA::dxfString(3, encoded(name));
                DL_WriterA::dxfHex(350, static_cast<int>(groupHandles_.back()));
            }
        }
    }

    void dxfString(int gc, const char* value) const override { dxfString(gc, std::string(value)); }

    void dxfString(int gc, const std::string& value) const override {
        if (gc == 0) {
            lastObject_ = value;
            inGroupDictionary_ = false;
        }
        if (gc == 5 && value == "D" && lastObject_ == "DICTIONARY") {
            inGroupDictionary_ = true;
        }
        DL_WriterA::dxfString(gc, value);
    }

  private:
    const std::vector<std::string>& groupNames_;
    mutable std::vector<unsigned long> groupHandles_;
    mutable std::string lastObject_;
    mutable bool inGroupDictionary_ = false;
};

DL_Attributes attributesOf(const Entity& entity) {
    return DL_Attributes(encoded(entity.layer), entity.color, -1, "BYLAYER", 1.0);
}

// The normal is written only when it is not the world's Z axis.
void writeNormal(Writer& out, const cad::Point& normal) {
    if (normal != cad::Point{0, 0, 1}) {
        out.coord(210, normal[0], normal[1], normal[2]);
    }
}

// An old-style polyline's code 70 flags and code 75 of a fitted one.
struct OldStyle {
    int flags = 0;
    int smoothing = 0;
};

OldStyle oldStyleOf(const Polyline2d* old, bool spatial) {
    OldStyle style;
    if (spatial) {
        style.flags = 8;
    } else if (old && old->fit == 1) {
        style.flags = 2;
    } else if (old && old->fit >= 2) {
        style.flags = 4;
        style.smoothing = old->fit == 2 ? 5 : 6;
    }
    return style;
}

void writePolyline(DL_Dxf&, Writer& out, const Entity& entity, const PolylineShape& shape,
                   bool lightweight, const cad::Point& normal = {0, 0, 1}) {
    const DL_Attributes attributes = attributesOf(entity);
    const auto* spatial = std::get_if<Polyline3d>(&entity.geometry);
    const OldStyle style = oldStyleOf(std::get_if<Polyline2d>(&entity.geometry), spatial);
    const int flags = (shape.closed ? 1 : 0) | style.flags;
    if (lightweight && out.modern()) {
        out.entity("LWPOLYLINE");
        out.entityAttributes(attributes);
        out.subClass("AcDbPolyline");
        out.dxfInt(90, static_cast<int>(shape.vertices.size()));
        out.dxfInt(70, flags);
        if (shape.elevation != 0) {
            out.dxfReal(38, shape.elevation);
        }
        for (const PolylineVertex& vertex : shape.vertices) {
            out.dxfReal(10, vertex.x);
            out.dxfReal(20, vertex.y);
            if (vertex.bulge != 0) {
                out.dxfReal(42, vertex.bulge);
            }
        }
        writeNormal(out, normal);
        return;
    }
    // R12 has only the old kind, which AutoCAD reads back as type 23.
    out.entity("POLYLINE");
    out.entityAttributes(attributes);
    if (out.modern()) {
        out.subClass(spatial ? "AcDb3dPolyline" : "AcDb2dPolyline");
    }
    out.dxfInt(66, 1);
    out.coord(10, 0, 0, shape.elevation);
    out.dxfInt(70, flags);
    if (style.smoothing != 0) {
        out.dxfInt(75, style.smoothing);
    }
    writeNormal(out, normal);
    for (std::size_t i = 0; i < shape.vertices.size(); ++i) {
        const PolylineVertex& vertex = shape.vertices[i];
        out.entity("VERTEX");
        out.dxfString(8, attributes.getLayer());
        if (out.modern()) {
            out.subClass("AcDbVertex");
            out.subClass(spatial ? "AcDb3dPolylineVertex" : "AcDb2dVertex");
        }
        const double z = spatial ? (i < spatial->z.size() ? spatial->z[i] : 0) : shape.elevation;
        out.coord(10, vertex.x, vertex.y, z);
        if (vertex.bulge != 0) {
            out.dxfReal(42, vertex.bulge);
        }
        out.dxfInt(70, spatial ? 32 : 0);
    }
    out.entity("SEQEND");
    out.dxfString(8, attributes.getLayer());
}

void writeMText(DL_Dxf& dxf, Writer& out, const Entity& entity, const MText& text) {
    if (!out.modern()) {
        // R12 has no MTEXT: the nearest it has is a line of TEXT.
        dxf.writeText(out,
                      DL_TextData(text.at[0], text.at[1], text.at[2], text.at[0], text.at[1],
                                  text.at[2], text.height, 1.0, 0, 0, 0, encoded(text.text),
                                  "Standard", text.angle / kDegreesPerRadian),
                      attributesOf(entity));
        return;
    }
    out.entity("MTEXT");
    out.entityAttributes(attributesOf(entity));
    out.subClass("AcDbMText");
    out.coord(10, text.at[0], text.at[1], text.at[2]);
    out.dxfReal(40, text.height);
    out.dxfReal(41, text.width);
    out.dxfInt(71, text.attachment);
    out.dxfInt(72, 1);
    const std::vector<std::string> pieces = encodeForDxf(text.text, kMTextPiece);
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        out.dxfString(3, pieces[i]);
    }
    out.dxfString(1, pieces.back());
    out.dxfString(7, "Standard");
    out.dxfReal(50, text.angle / kDegreesPerRadian);
}

void writePoints(Writer& out, int code, const std::vector<Vec2>& points) {
    for (Vec2 p : points) {
        out.dxfReal(code, p.x);
        out.dxfReal(code + 10, p.y);
    }
}

void writeReference(Writer& out, const Entity& entity, const BlockReference& ref) {
    const DL_Attributes attributes = attributesOf(entity);
    out.entity("INSERT");
    out.entityAttributes(attributes);
    if (out.modern()) {
        out.subClass(ref.columns > 1 || ref.rows > 1 ? "AcDbMInsertBlock" : "AcDbBlockReference");
    }
    if (!ref.attributes.empty()) {
        out.dxfInt(66, 1);
    }
    out.dxfString(2, encoded(ref.block));
    out.coord(10, ref.at[0], ref.at[1], ref.at[2]);
    out.dxfReal(41, ref.scale.x);
    out.dxfReal(42, ref.scale.y);
    out.dxfReal(43, 1);
    out.dxfReal(50, ref.rotation);
    if (ref.columns > 1 || ref.rows > 1) {
        out.dxfInt(70, ref.columns);
        out.dxfInt(71, ref.rows);
        out.dxfReal(44, ref.columnSpacing);
        out.dxfReal(45, ref.rowSpacing);
    }
    if (ref.attributes.empty()) {
        return;
    }
    for (const Attribute& attribute : ref.attributes) {
        out.entity("ATTRIB");
        out.entityAttributes(attributes);
        if (out.modern()) {
            out.subClass("AcDbText");
        }
        out.coord(10, attribute.at[0], attribute.at[1], attribute.at[2]);
        out.dxfReal(40, attribute.height);
        out.dxfString(1, encoded(attribute.text));
        out.dxfReal(50, attribute.angle);
        out.dxfInt(72, attribute.horizontalAlignment);
        out.coord(11, attribute.alignAt[0], attribute.alignAt[1], attribute.alignAt[2]);
        if (out.modern()) {
            out.subClass("AcDbAttribute");
        }
        out.dxfString(2, encoded(attribute.tag));
        out.dxfInt(70, 0);
        out.dxfInt(74, attribute.verticalAlignment);
    }
    out.entity("SEQEND");
    out.dxfString(8, attributes.getLayer());
}

void writeDimension(Writer& out, const Entity& entity, const Dimension& dim) {
    out.entity("DIMENSION");
    out.entityAttributes(attributesOf(entity));
    if (out.modern()) {
        out.subClass("AcDbDimension");
    }
    out.dxfString(2, encoded(dim.block));
    out.coord(10, dim.definitionPoint[0], dim.definitionPoint[1], dim.definitionPoint[2]);
    out.coord(11, dim.textPoint[0], dim.textPoint[1], dim.textPoint[2]);
    out.dxfInt(70, dim.flags);
    out.dxfString(1, encoded(dim.text));
}

void writeShape(Writer& out, const Entity& entity, const Geometry& g) {
    out.entity(entity.entityType() == entity_kind::kTrace ? "TRACE"
               : std::holds_alternative<Solid>(g)         ? "SOLID"
               : std::holds_alternative<Ellipse>(g)       ? "ELLIPSE"
               : std::holds_alternative<Spline>(g)        ? "SPLINE"
               : std::holds_alternative<Hatch>(g)         ? "HATCH"
                                                          : "LEADER");
    out.entityAttributes(attributesOf(entity));
    if (const auto* solid = std::get_if<Solid>(&g)) {
        if (out.modern()) {
            out.subClass("AcDbTrace");
        }
        for (int i = 0; i < 4; ++i) {
            out.coord(10 + i, solid->corners[i].x, solid->corners[i].y, 0);
        }
    } else if (const auto* e = std::get_if<Ellipse>(&g)) {
        if (out.modern()) {
            out.subClass("AcDbEllipse");
        }
        const double major = std::hypot(e->major.x, e->major.y);
        out.coord(10, e->center[0], e->center[1], e->center[2]);
        out.coord(11, e->major.x, e->major.y, 0);
        out.dxfReal(40, major > 0 ? std::hypot(e->minor.x, e->minor.y) / major : 1);
        out.dxfReal(41, e->startParameter);
        out.dxfReal(42, e->endParameter);
    } else if (const auto* spline = std::get_if<Spline>(&g)) {
        if (out.modern()) {
            out.subClass("AcDbSpline");
        }
        out.dxfInt(70, spline->flags);
        out.dxfInt(71, spline->degree);
        out.dxfInt(72, static_cast<int>(spline->knots.size()));
        out.dxfInt(73, static_cast<int>(spline->controlPoints.size()));
        out.dxfInt(74, static_cast<int>(spline->fitPoints.size()));
        for (double knot : spline->knots) {
            out.dxfReal(40, knot);
        }
        for (double weight : spline->weights) {
            out.dxfReal(41, weight);
        }
        writePoints(out, 10, spline->controlPoints);
        writePoints(out, 11, spline->fitPoints);
    } else if (const auto* hatch = std::get_if<Hatch>(&g)) {
        if (out.modern()) {
            out.subClass("AcDbHatch");
        }
        out.coord(10, 0, 0, 0);
        out.coord(210, 0, 0, 1);
        out.dxfString(2, encoded(hatch->pattern.empty() ? std::string("SOLID") : hatch->pattern));
        out.dxfInt(70, hatch->solid ? 1 : 0);
        out.dxfInt(71, 0);
        out.dxfInt(91, static_cast<int>(hatch->loops.size()));
        for (const std::vector<Vec2>& loop : hatch->loops) {
            out.dxfInt(92, 2);
            out.dxfInt(72, 0);
            out.dxfInt(73, 1);
            out.dxfInt(93, static_cast<int>(loop.size()));
            writePoints(out, 10, loop);
            out.dxfInt(97, 0);
        }
        out.dxfInt(75, 0);
        out.dxfInt(76, 1);
        if (!hatch->solid) {
            out.dxfReal(52, 0);
            out.dxfReal(41, 1);
            out.dxfInt(77, 0);
            out.dxfInt(78, 0);
        }
        out.dxfInt(98, 0);
    } else if (const auto* leader = std::get_if<Leader>(&g)) {
        if (out.modern()) {
            out.subClass("AcDbLeader");
        }
        out.dxfString(3, "Standard");
        out.dxfInt(71, leader->arrowhead ? 1 : 0);
        out.dxfInt(72, 0);
        out.dxfInt(73, 3);
        out.dxfInt(76, static_cast<int>(leader->vertices.size()));
        writePoints(out, 10, leader->vertices);
    }
}

// Writes the entity and returns the handle it was given (0 in R12).
unsigned long writeEntity(DL_Dxf& dxf, Writer& out, const Entity& entity) {
    const unsigned long handle = out.modern() ? out.getNextHandle() : 0;
    const DL_Attributes attributes = attributesOf(entity);
    const Geometry& g = entity.geometry;
    if (const auto* line = std::get_if<Line>(&g)) {
        dxf.writeLine(out,
                      DL_LineData(line->start[0], line->start[1], line->start[2], line->end[0],
                                  line->end[1], line->end[2]),
                      attributes);
    } else if (const auto* arc = std::get_if<Arc>(&g)) {
        dxf.writeArc(out,
                     DL_ArcData(arc->center[0], arc->center[1], arc->center[2], arc->radius,
                                arc->startAngle, arc->endAngle),
                     attributes);
        writeNormal(out, arc->normal);
    } else if (const auto* circle = std::get_if<Circle>(&g)) {
        dxf.writeCircle(
            out,
            DL_CircleData(circle->center[0], circle->center[1], circle->center[2], circle->radius),
            attributes);
    } else if (const auto* point = std::get_if<PointEntity>(&g)) {
        dxf.writePoint(out, DL_PointData(point->at[0], point->at[1], point->at[2]), attributes);
    } else if (const auto* text = std::get_if<Text>(&g)) {
        dxf.writeText(out,
                      DL_TextData(text->at[0], text->at[1], text->at[2], text->alignAt[0],
                                  text->alignAt[1], text->alignAt[2], text->height, 1.0, 0,
                                  text->horizontalAlignment, text->verticalAlignment,
                                  encoded(text->text), "Standard", text->angle / kDegreesPerRadian),
                      attributes);
    } else if (const auto* mtext = std::get_if<MText>(&g)) {
        writeMText(dxf, out, entity, *mtext);
    } else if (const auto* lightweight = std::get_if<LightweightPolyline>(&g)) {
        writePolyline(dxf, out, entity, *lightweight, true, lightweight->normal);
    } else if (const auto* old = std::get_if<Polyline2d>(&g)) {
        writePolyline(dxf, out, entity, *old, false, old->normal);
    } else if (const auto* spatial = std::get_if<Polyline3d>(&g)) {
        writePolyline(dxf, out, entity, *spatial, false);
    } else if (const auto* reference = std::get_if<BlockReference>(&g)) {
        writeReference(out, entity, *reference);
    } else if (const auto* dimension = std::get_if<Dimension>(&g)) {
        writeDimension(out, entity, *dimension);
    } else {
        writeShape(out, entity, g);
    }
    return handle;
}

void writeHeader(DL_Dxf& dxf, Writer& out, const Drawing& drawing) {
    dxf.writeHeader(out);
    out.dxfString(9, "$DWGCODEPAGE");
    out.dxfString(3, kWrittenCodePage);
    if (const auto extents = drawing.extents()) {
        out.dxfString(9, "$EXTMIN");
        out.coord(10, extents->min.x, extents->min.y, 0);
        out.dxfString(9, "$EXTMAX");
        out.coord(10, extents->max.x, extents->max.y, 0);
    }
    out.dxfString(9, "$PDMODE");
    out.dxfInt(70, drawing.pointDisplayMode());
    out.dxfString(9, "$PDSIZE");
    out.dxfReal(40, drawing.pointDisplaySize());
    out.sectionEnd();
}

void writeTables(DL_Dxf& dxf, Writer& out, const Drawing& drawing) {
    out.sectionTables();
    dxf.writeVPort(out);

    out.tableLinetypes(3);
    dxf.writeLinetype(out, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(out, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(out, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    out.tableEnd();

    // Every layer an entity uses must be in the table; "0" always is.
    std::vector<Layer> layers;
    std::set<std::string> named;
    auto include = [&](const Layer& layer) {
        const std::string key = encoded(layer.name);
        if (named.insert(key).second) {
            layers.push_back(layer);
        }
    };
    include(drawing.layer("0") ? *drawing.layer("0") : Layer{"0", 7, false});
    for (const Layer& layer : drawing.layers()) {
        include(layer);
    }
    auto includeOf = [&](const std::vector<Entity>& entities) {
        for (const Entity& entity : entities) {
            if (!named.count(encoded(entity.layer))) {
                include(Layer{entity.layer, 7, false});
            }
        }
    };
    includeOf(drawing.entities());
    for (const Block& block : drawing.blocks()) {
        includeOf(block.entities);
    }
    out.tableLayers(static_cast<int>(layers.size()));
    for (const Layer& layer : layers) {
        // dxflib writes the colour negative itself for a layer that is off.
        const int color = layer.color == 0 ? 7 : std::abs(layer.color);
        dxf.writeLayer(out,
                       DL_LayerData(encoded(layer.name), layer.frozen ? 1 : 0, layer.color < 0),
                       DL_Attributes("", color, -1, "CONTINUOUS", 1.0));
    }
    out.tableEnd();

    // A big font, so that AutoCAD shows Chinese text with the standard style.
    out.tableStyle(1);
    dxf.writeStyle(out, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", "gbcbig"));
    out.tableEnd();

    dxf.writeView(out);
    dxf.writeUcs(out);
    out.tableAppid(1);
    dxf.writeAppid(out, "ACAD");
    out.tableEnd();
    dxf.writeDimStyle(out, 1, 1, 1, 1, 1);
    if (out.modern()) {
        dxf.writeBlockRecord(out);
        for (const Block& block : drawing.blocks()) {
            dxf.writeBlockRecord(out, encoded(block.name));
        }
        out.tableEnd();
    }
    out.sectionEnd();
}

void writeBlocks(DL_Dxf& dxf, Writer& out, const Drawing& drawing) {
    out.sectionBlocks();
    for (const char* name : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(out, DL_BlockData(name, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(out, name);
    }
    for (const Block& block : drawing.blocks()) {
        const std::string name = encoded(block.name);
        // Names starting with * are anonymous blocks, such as those of dimensions.
        const int flags = !name.empty() && name[0] == '*' ? 1 : 0;
        dxf.writeBlock(out, DL_BlockData(name, flags, block.base.x, block.base.y, 0.0));
        for (const Entity& entity : block.entities) {
            writeEntity(dxf, out, entity);
        }
        dxf.writeEndBlock(out, name);
    }
    out.sectionEnd();
}

void writeGroups(Writer& out, const Drawing& drawing, const std::vector<unsigned long>& handles,
                 const std::unordered_map<EntityId, unsigned long>& entityHandles) {
    const std::vector<std::string> names = drawing.groupNames();
    for (std::size_t i = 0; i < names.size() && i < handles.size(); ++i) {
        out.dxfString(0, "GROUP");
        out.dxfHex(5, static_cast<int>(handles[i]));
        out.dxfHex(330, kGroupDictionary);
        out.subClass("AcDbGroup");
        out.dxfString(300, "");
        out.dxfInt(70, 0);
        out.dxfInt(71, 1);
        for (EntityId id : drawing.group(names[i])) {
            auto handle = entityHandles.find(id);
            if (handle != entityHandles.end()) {
                out.dxfHex(340, static_cast<int>(handle->second));
            }
        }
    }
}

void write(const Drawing& drawing, const std::string& path, DxfVersion version) {
    const std::vector<std::string> groupNames =
        version == DxfVersion::R2000 ? drawing.groupNames() : std::vector<std::string>{};
    const DL_Codes::version code = version == DxfVersion::R12 ? DL_VERSION_R12 : DL_VERSION_2000;
    DL_Dxf dxf;
    // DL_Dxf learns the version only from out(), which opens a writer of its
    // own; that one is dropped at once and ours takes the file over.
    delete dxf.out(path.c_str(), code);
    Writer out(path, code, groupNames);
    if (out.openFailed()) {
        throw SaveError("cannot open " + path + " for writing");
    }
    writeHeader(dxf, out, drawing);
    writeTables(dxf, out, drawing);
    writeBlocks(dxf, out, drawing);

    std::unordered_map<EntityId, unsigned long> handles;
    out.sectionEntities();
    for (const Entity& entity : drawing.entities()) {
        handles.emplace(entity.id, writeEntity(dxf, out, entity));
    }
    out.sectionEnd();

    if (out.modern()) {
        dxf.writeObjects(out);
        writeGroups(out, drawing, out.groupHandles(), handles);
        dxf.writeObjectsEnd(out);
    }
    out.dxfEOF();
    out.close();
}

}  // namespace

void saveDxfFile(const Drawing& drawing, const std::string& path, DxfVersion version) {
    // Write beside the file and replace it only when all went well, so that a
    // failed save leaves the old file as it was.
    const std::string temporary = path + ".saving";
    try {
        write(drawing, temporary, version);
        std::error_code error;
        if (std::filesystem::file_size(temporary, error) == 0 || error) {
            throw SaveError("cannot write " + path);
        }
        std::filesystem::rename(temporary, path, error);
        if (error) {
            throw SaveError("cannot replace " + path + ": " + error.message());
        }
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw;
    }
}

}  // namespace tendra::board
