// The loader's first pass over a DXF file. It reads every group code and
// value, checks what dxflib does not (a readable text file, the end-of-file
// marker, vertex counts, vertices inside a polyline), and copies the parts
// the board shows (the layer table and model-space entities of the kinds it
// knows, in model space and in blocks) into a clean text for dxflib, so
// that dxflib never sees the rest. The kinds dxflib does not read well it
// reads itself. A binary DXF file is first turned into the same group codes
// as text. Throws LoadError.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cad/board/model/drawing.h"

namespace tendra::board::dxf {

// dxflib reads lines into a buffer of 1024 bytes and, at a longer line,
// loops for ever without moving on: no value longer than this is handed to
// it, or written.
inline constexpr std::size_t kMaxValueBytes = 1000;

// One entity of the copied text, in order: dxflib reports them in the same
// order, one call each.
struct ScannedEntity {
    int type = 0;  // cad::entity_type
    std::uint64_t handle = 0;
    double elevation = 0;        // POLYLINE: the Z of its code 30
    std::uint32_t vertices = 0;  // polylines: the vertices copied
    cad::Point normal{0, 0, 1};  // polylines and ARC: codes 210, 220, 230
    int fit = 0;                 // POLYLINE: Polyline2d::fit
    bool spatial = false;        // POLYLINE: a 3D polyline
    int block = -1;              // index in ScannedDxf::blocks, -1 for model space
    // Kinds the scan reads itself: the entity, its layer (raw) and colour;
    // dxflib never sees it.
    std::optional<Geometry> geometry;
    std::string layer;
    int color = 256;
};

struct ScannedBlock {
    std::string name;  // raw bytes
    Vec2 base;
};

struct ScannedGroup {
    std::uint64_t handle = 0;
    std::vector<std::uint64_t> members;
};

struct ScannedDxf {
    std::string text;  // for dxflib
    std::vector<ScannedEntity> entities;
    std::string acadVersion;
    std::string codePage;
    std::optional<double> pointDisplayMode;
    std::optional<double> pointDisplaySize;
    std::vector<ScannedGroup> groups;
    std::vector<ScannedBlock> blocks;
    // Entity kinds neither the scan nor dxflib shows, by name, in the order met.
    std::vector<SkippedKind> skipped;
    // Dictionary entries: object handle -> name, raw bytes.
    std::unordered_map<std::uint64_t, std::string> names;
};

// progress(bytes scanned) is called about every megabyte.
ScannedDxf scan(std::string_view bytes, const std::function<void(std::size_t)>& progress);

}  // namespace tendra::board::dxf
