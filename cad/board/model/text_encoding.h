// Text in DXF files: the drawing's code page to UTF-8 and back, and the
// \U+XXXX and \M+nXXXX escapes AutoCAD writes for characters outside it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tendra::board {

class TextDecoder {
  public:
    // codePage as in $DWGCODEPAGE ("ANSI_936", ...); empty for UTF-8. Files
    // from AC1021 on are always UTF-8, whatever their code page says.
    TextDecoder(const std::string& acadVersion, const std::string& codePage);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // Raw bytes from the file to UTF-8, escapes resolved. Bytes that are not
    // valid in the code page become U+FFFD.
    std::string decode(std::string_view raw) const;

  private:
    void* converter_ = nullptr;  // iconv_t, or null for UTF-8
    // Without a code page, text that is not valid UTF-8 is taken as GB18030,
    // which is what Chinese drawings without a header hold.
    void* fallback_ = nullptr;
};

// The iconv name for a DXF code page, or empty when it is UTF-8 or unknown.
std::string iconvNameOfCodePage(const std::string& codePage);

// UTF-8 to the bytes of code page 936 (GBK), with \U+XXXX for characters it
// cannot hold and for control characters, cut into pieces of at most maxBytes without splitting a
// character or an escape. One piece when maxBytes is 0.
std::vector<std::string> encodeForDxf(std::string_view utf8, std::size_t maxBytes = 0);

// The code page encodeForDxf writes, for $DWGCODEPAGE.
inline constexpr const char* kWrittenCodePage = "ANSI_936";

}  // namespace tendra::board
