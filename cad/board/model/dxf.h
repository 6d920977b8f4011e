// Reading and writing drawings as DXF, through dxflib.
//
// dxflib accepts truncated and malformed files without complaint, so the
// loader checks them itself and either returns a whole drawing or throws
// LoadError; never a partial drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cad/board/model/drawing.h"

namespace tendra::board {

// The text a user is shown in front of every reason a file could not be read.
inline constexpr const char* kLoadErrorPrefix = "无法读取图形文件：";

class LoadError : public std::runtime_error {
  public:
    explicit LoadError(const std::string& reason)
        : std::runtime_error(kLoadErrorPrefix + reason), reason_(reason) {}
    // Why, in the user's language, without the prefix.
    const std::string& reason() const noexcept { return reason_; }
    // The full text for a message box: the prefix and the reason.
    std::string userText() const { return what(); }

  private:
    std::string reason_;
};

class SaveError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Called now and then while loading (about every megabyte) with how far it
// has come and where it ends, and once at the end with both equal. The unit
// is the byte; each byte counts twice, once when it is checked and once when
// dxflib parses it, so the total is twice the file's size.
using LoadProgress = std::function<void(std::uint64_t bytesRead, std::uint64_t totalBytes)>;

// Files from R12 to the current format, as text or binary DXF. Text is
// decoded from the drawing's code page ($DWGCODEPAGE) into UTF-8; files from
// AutoCAD 2007 on (AC1021+) are UTF-8 whatever their code page says; text in
// a file without a code page is UTF-8 when it is valid UTF-8, else GB18030.
// Model space and the blocks it references are read; paper space is not.
// Entity kinds the board does not show are skipped and counted in
// Drawing::skipped(). Groups are read from the OBJECTS section.
Drawing loadDxfFile(const std::string& path, const LoadProgress& progress = {});
Drawing loadDxf(std::string_view bytes, const LoadProgress& progress = {});
Drawing loadDxf(std::istream& stream, const LoadProgress& progress = {});

// What the board tells the user after loading a drawing with skipped kinds,
// as "未显示：3 MLINE、1 WIPEOUT"; empty when nothing was skipped.
std::string skippedKindsText(const std::vector<SkippedKind>& skipped);

enum class DxfVersion { R12, R2000 };

// Writes every entity (points keep their colours), the layers, PDMODE and
// PDSIZE, with text in code page 936 (GBK, \U+XXXX for other characters).
// Blocks, block references and dimensions are written as they are. R2000
// also keeps the groups; R12 has neither groups, lightweight polylines
// (written as old-style ones) nor MTEXT (written as TEXT). A text longer than
// 1000 bytes in the file is cut there. The file is replaced only when the new
// one is complete; SaveError when it cannot be written.
void saveDxfFile(const Drawing& drawing, const std::string& path,
                 DxfVersion version = DxfVersion::R2000);

}  // namespace tendra::board
