// Linked into every program we ship in place of the standard library's own
// error paths for strings, vectors and allocation (its functexcept object).
//
// Those throw std::length_error and its kin, whose constructors hold their
// text in the library's old copy-on-write string. Pulling them in brings both
// of the library's string implementations with them, and since the Windows
// linker keeps every function that has unwind information (the .eh_frame
// section is kept whole), that is some 80 KB in each program for paths that
// only a programming fault can reach. Here they throw a std::exception
// carrying the library's own text (its numbers filled in), which every window,
// service and the run catch and report.
//
// A program that needs anything else from that object (std::mutex and
// std::thread throw std::system_error through it) fails to link with
// "multiple definition", never silently; the programs lock with rtl::TLock.
#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstring>
#include <exception>
#include <new>
#include <stdexcept>  // declares what is defined here

namespace {

class LibraryFault : public std::exception {
public:
    explicit LibraryFault(const char* text) noexcept { Append(text, std::strlen(text)); }
    const char* what() const noexcept override { return text_; }

    // The library's formats hold only %s, %zu and %%.
    LibraryFault(const char* format, std::va_list args) noexcept
    {
        for (const char* p = format; *p != '\0'; ++p) {
            if (p[0] == '%' && p[1] == 's') {
                const char* arg = va_arg(args, const char*);
                Append(arg, std::strlen(arg));
                ++p;
            } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
                char digits[24];
                const auto end = std::to_chars(digits, digits + sizeof digits, va_arg(args, std::size_t)).ptr;
                Append(digits, static_cast<std::size_t>(end - digits));
                p += 2;
            } else {
                if (p[0] == '%' && p[1] == '%') ++p;
                Append(p, 1);
            }
        }
    }

private:
    void Append(const char* text, std::size_t n) noexcept
    {
        n = std::min(n, sizeof text_ - 1 - length_);
        std::memcpy(text_ + length_, text, n);
        length_ += n;
        text_[length_] = '\0';
    }

    char text_[256] = {};  // a fault must not need memory to be reported
    std::size_t length_ = 0;
};

}  // namespace

namespace std {

void __throw_bad_alloc()
{
    throw bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}

void __throw_length_error(const char* text)
{
    throw LibraryFault(text);
}

void __throw_logic_error(const char* text)
{
    throw LibraryFault(text);
}

void __throw_out_of_range_fmt(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    LibraryFault fault(format, args);
    va_end(args);
    throw fault;
}

}  // namespace std
