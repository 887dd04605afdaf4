// Line-by-line reading of a text file with bounded memory.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "platform/FileSystem.h"

namespace orvane::platform {

// Splits the bytes of a ByteReader into lines. A line ends at a line feed; a carriage return
// right before it is dropped; the last line needs no line end. A UTF-8 byte-order mark at the
// very start is skipped. A NUL byte ends the line's text (the rest of that line is dropped), and
// a line longer than kMaxLine bytes is cut there, so no input can make a line grow without bound.
class LineReader {
  public:
    static constexpr std::size_t kMaxLine = 32767;

    explicit LineReader(ByteReader& source) : source_(source) {}

    // The next line into `line`; false at the end of the file.
    bool Next(std::string& line);

  private:
    bool Fill();

    ByteReader& source_;
    std::array<char, 16384> buffer_{};
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atStart_ = true;
    bool eof_ = false;
};

}  // namespace orvane::platform
