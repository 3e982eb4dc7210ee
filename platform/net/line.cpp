#include "line.h"

namespace net {

TLineReader::TResult TLineReader::TakeLine(std::string& line)
{
    const std::size_t lf = buffer_.find('\n');
    if (lf == std::string::npos) {
        // Still a candidate while it could be max characters and a CR.
        const std::size_t n = buffer_.size();
        if (n > max_ + 1 || (n == max_ + 1 && buffer_.back() != '\r')) return TResult::TooLong;
        return TResult::NeedMore;
    }
    std::size_t length = lf;
    if (length > 0 && buffer_[length - 1] == '\r') --length;
    if (length > max_) return TResult::TooLong;
    line.assign(buffer_, 0, length);
    buffer_.erase(0, lf + 1);
    return TResult::Line;
}

}  // namespace net
