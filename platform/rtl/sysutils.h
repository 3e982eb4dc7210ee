// Exceptions carrying a message, Format, integer conversion and the system's error texts.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rtl {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    std::string message_;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EConvertError"; }
};

class EStringListError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EStringListError"; }
};

class EOSError : public Exception {
public:
    EOSError(unsigned long code, std::string message) : Exception(std::move(message)), code_(code) {}
    unsigned long ErrorCode() const noexcept { return code_; }
    const char* ClassName() const noexcept override { return "EOSError"; }

private:
    unsigned long code_;
};

// One argument of Format: text or a number.
using FormatArg = std::variant<std::string, std::int64_t, std::uint64_t>;

// Fills a format string: %s, %d, %u, %x and %% are understood, each optionally
// with an argument index ("%1:s"); an indexed placeholder moves the running index.
// A placeholder without its argument raises EConvertError.
std::string Format(const std::string& format, const std::vector<FormatArg>& args);

// One placeholder of a format string as Format reads it.
struct TPlaceholder {
    std::size_t Begin;  // position of its "%"
    std::size_t End;    // one past its letter
    std::size_t Index;  // the argument it stands for, below the argument count
    char Kind;          // 's', 'd', 'u' or 'x'
};
// Format's reading of format, each placeholder replaced by what fill makes of
// it; a placeholder Format would refuse raises the same EConvertError.
std::string FormatWith(std::string_view format, std::size_t argCount,
                       const std::function<std::string(const TPlaceholder&)>& fill);
// EConvertError "Format '%s' invalid or incompatible with argument".
[[noreturn]] void RaiseFormatError(std::string_view format);

// Text to 32-bit integer: optional leading blanks, an optional sign, decimal digits.
// Anything else raises EConvertError "'%s' is not a valid integer value".
int StrToInt(const std::string& text);
bool TryStrToInt(const std::string& text, int& value);

std::string IntToStr(std::int64_t value);
// Upper-case hexadecimal, padded with zeros to at least `digits` digits.
std::string IntToHex(std::uint64_t value, int digits);

// The system's message text for an error code, at most 256 characters, with
// trailing blanks, control characters and full stops removed.
std::string SysErrorMessage(unsigned long code);

// Raises EOSError for the calling thread's last error (or for the given code):
// "System Error.  Code: %d." CR LF text, or "A call to an OS function failed" for 0.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(unsigned long code);
// Raises EOSError for a failed COM call: the system's text of the HRESULT
// ("OLE error %.8X" when the system has none), never "System Error.  Code:",
// which names Win32 codes.
[[noreturn]] void RaiseHResult(long hr);
// Raises through RaiseHResult when hr is a failure.
void OleCheck(long hr);

// Error line of the readers: "Error=%u:%s".
std::string ErrorLine(unsigned long code);

// Single-byte text of the system's code page to UTF-16 and back.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// Case-insensitive comparison of single-byte text (ASCII letters fold).
bool SameText(const std::string& a, const std::string& b);
std::string UpperCase(std::string text);

}  // namespace rtl
