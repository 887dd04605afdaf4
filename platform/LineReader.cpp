#include "platform/LineReader.h"

#include <cstring>

namespace orvane::platform {

bool LineReader::Fill() {
    if (eof_)
        return false;
    pos_ = 0;
    end_ = source_.Read(buffer_.data(), buffer_.size());
    if (end_ == 0)
        eof_ = true;
    return end_ != 0;
}

bool LineReader::Next(std::string& line) {
    line.clear();
    if (atStart_) {
        atStart_ = false;
        // The byte-order mark may straddle reads only if the source hands out tiny pieces, so
        // gather the first three bytes one by one.
        static constexpr char kBom[] = "\xEF\xBB\xBF";
        std::size_t matched = 0;
        while (matched < 3) {
            if (pos_ == end_ && !Fill())
                break;
            if (buffer_[pos_] != kBom[matched])
                break;
            ++pos_;
            ++matched;
        }
        if (matched != 0 && matched != 3)
            line.assign(kBom, matched);  // not a mark: keep bytes
    }
    bool any = !line.empty();
    bool cut = false;  // a NUL or the length limit ended the text; skip to the line end
    for (;;) {
        if (pos_ == end_ && !Fill())
            break;
        any = true;
        const char* start = buffer_.data() + pos_;
        std::size_t avail = end_ - pos_;
        const void* lf = std::memchr(start, '\n', avail);
        std::size_t take = lf ? static_cast<const char*>(lf) - start : avail;
        if (!cut) {
            std::size_t text = take;
            if (const void* nul = std::memchr(start, '\0', take)) {
                text = static_cast<const char*>(nul) - start;
                cut = true;
            }
            std::size_t room = kMaxLine - line.size();
            if (text > room) {
                text = room;
                cut = true;
            }
            line.append(start, text);
        }
        pos_ += take;
        if (lf) {
            ++pos_;  // the line feed
            break;
        }
    }
    if (!any)
        return false;
    if (!cut && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

}  // namespace orvane::platform
