// The DXF loader on arbitrary bytes. It must either refuse the input with a
// LoadError that has a reason, or give a drawing that the view's queries
// handle and that saves and loads again with the same entities. Anything
// else (a crash, another exception, a saved file it cannot read) aborts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cad/board/model/dxf.h"
#include "cad/board/model/geometry.h"

namespace {

using tendra::board::Drawing;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void query(const Drawing& drawing) {
    const auto extents = drawing.extents();
    if (!extents) {
        check(drawing.empty(), "a drawing with entities has extents");
        return;
    }
    const tendra::board::Vec2 middle{(extents->min.x + extents->max.x) / 2,
                                     (extents->min.y + extents->max.y) / 2};
    const double radius = (extents->width() + extents->height()) / 8 + 1;
    if (const auto snap = drawing.snap(middle, radius)) {
        check(drawing.find(snap->entity) != nullptr, "a snap names an entity");
    }
    if (const auto picked = drawing.pick(middle, radius)) {
        check(tendra::board::distanceTo(drawing.entity(*picked), middle) <= radius,
              "a pick lies within its radius");
    }
    const auto window = drawing.window(*extents);
    const auto crossing = drawing.crossing(*extents);
    check(window.size() <= crossing.size(), "a window takes no more than a crossing");
}

void roundTrip(const Drawing& drawing) {
    static const std::string path =
        "/tmp/dxf_loader_fuzzer_" + std::to_string(static_cast<long>(getpid())) + ".dxf";
    tendra::board::saveDxfFile(drawing, path);
    try {
        const Drawing again = tendra::board::loadDxfFile(path);
        check(again.size() == drawing.size(), "a saved drawing keeps its entities");
        for (std::size_t i = 0; i < drawing.size(); ++i) {
            check(again.entities()[i].entityType() == drawing.entities()[i].entityType(),
                  "a saved drawing keeps entity types");
        }
    } catch (const tendra::board::LoadError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        check(false, "a saved drawing loads again");
    }
    std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const Drawing drawing = tendra::board::loadDxf(bytes);
        query(drawing);
        roundTrip(drawing);
    } catch (const tendra::board::LoadError& error) {
        check(!error.reason().empty(), "a refusal says why");
        check(std::string_view(error.what()).rfind(tendra::board::kLoadErrorPrefix, 0) == 0,
              "a refusal starts with the user's text");
    }
    return 0;
}
