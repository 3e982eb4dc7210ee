// Splitting received bytes into lines: LF ends a line, a CR just before it is
// dropped, and a line longer than the limit is refused. Pure, no Winsock.
#pragma once

#include <cstddef>
#include <string>

namespace net {

// Longest line (without its terminator) that is accepted.
constexpr std::size_t MaxLineLength = 16384;

class TLineReader {
public:
    enum class TResult { NeedMore, Line, TooLong };

    explicit TLineReader(std::size_t maxLength = MaxLineLength) : max_(maxLength) {}

    void Feed(const char* data, std::size_t count) { buffer_.append(data, count); }

    // Line: the first complete line is moved into line and removed from the
    // buffer. TooLong: the buffered text can no longer end within the limit
    // (the buffer is left as it is). NeedMore: neither yet.
    TResult TakeLine(std::string& line);

    std::size_t Buffered() const { return buffer_.size(); }

private:
    std::size_t max_;
    std::string buffer_;
};

}  // namespace net
