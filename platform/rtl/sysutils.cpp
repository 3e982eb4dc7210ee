#include "sysutils.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <vector>

namespace rtl {

namespace {

// Integer digits without the C library's printf, whose engine (with its
// floating-point conversion) would be the largest part of the runtime we ship.
template <class T>
std::string Digits(T value, int base)
{
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, base).ptr;
    std::string text(buf, end);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string ArgToText(const FormatArg& arg, char kind)
{
    if (const auto* s = std::get_if<std::string>(&arg)) {
        if (kind != 's') RaiseFormatError(std::string(1, kind));
        return *s;
    }
    if (kind == 's') RaiseFormatError("s");
    if (const auto* i = std::get_if<std::int64_t>(&arg)) {
        if (kind == 'x') return Digits(static_cast<std::uint64_t>(*i), 16);
        if (kind == 'u') return Digits(static_cast<std::uint32_t>(*i), 10);
        return Digits(*i, 10);
    }
    const auto u = std::get<std::uint64_t>(arg);
    return Digits(u, kind == 'x' ? 16 : 10);
}

}  // namespace

void RaiseFormatError(std::string_view format)
{
    throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

std::string FormatWith(std::string_view format, std::size_t argCount,
                       const std::function<std::string(const TPlaceholder&)>& fill)
{
    std::string out;
    out.reserve(format.size() + 16);
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        std::size_t index = next;
        std::size_t digits = j;
        std::size_t number = 0;
        while (digits < format.size() && std::isdigit(static_cast<unsigned char>(format[digits]))) {
            // Any index past the arguments is refused below; this only keeps the sum bounded.
            number = std::min<std::size_t>(number * 10 + static_cast<std::size_t>(format[digits] - '0'), argCount);
            ++digits;
        }
        if (digits > j && digits < format.size() && format[digits] == ':') {
            index = number;
            j = digits + 1;
        }
        if (j >= format.size()) RaiseFormatError(format);
        const char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(format[j])));
        if ((kind != 's' && kind != 'd' && kind != 'u' && kind != 'x') || index >= argCount) RaiseFormatError(format);
        out += fill(TPlaceholder{i, j + 1, index, kind});
        next = index + 1;
        i = j;
    }
    return out;
}

std::string Format(const std::string& format, const std::vector<FormatArg>& args)
{
    return FormatWith(format, args.size(), [&](const TPlaceholder& p) { return ArgToText(args[p.Index], p.Kind); });
}

bool TryStrToInt(const std::string& text, int& value)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long n = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        n = n * 10 + (text[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) n = -n;
    if (n > INT_MAX || n < INT_MIN) return false;
    value = static_cast<int>(n);
    return true;
}

int StrToInt(const std::string& text)
{
    int value = 0;
    if (!TryStrToInt(text, value)) throw EConvertError(Format("'%s' is not a valid integer value", {text}));
    return value;
}

std::string IntToStr(std::int64_t value)
{
    return std::to_string(value);
}

std::string IntToHex(std::uint64_t value, int digits)
{
    std::string text = Digits(value, 16);
    if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

std::string SysErrorMessage(unsigned long code)
{
    char buffer[256];
    DWORD len = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                               nullptr, code, 0, buffer, sizeof buffer, nullptr);
    while (len > 0 && (static_cast<unsigned char>(buffer[len - 1]) <= ' ' || buffer[len - 1] == '.')) --len;
    return std::string(buffer, len);
}

void RaiseLastOSError()
{
    RaiseLastOSError(GetLastError());
}

void RaiseLastOSError(unsigned long code)
{
    if (code == 0) throw EOSError(0, "A call to an OS function failed");
    throw EOSError(code, Format("System Error.  Code: %d.\r\n%s", {static_cast<std::int64_t>(code), SysErrorMessage(code)}));
}

void RaiseHResult(long hr)
{
    const auto code = static_cast<unsigned long>(hr);
    std::string text = SysErrorMessage(code);
    if (text.empty()) {
        text = "OLE error " + IntToHex(code, 8);
    }
    throw EOSError(code, text);
}

void OleCheck(long hr)
{
    if (hr < 0) RaiseHResult(hr);
}

std::string ErrorLine(unsigned long code)
{
    return Format("Error=%u:%s", {static_cast<std::uint64_t>(code), SysErrorMessage(code)});
}

std::wstring Widen(const std::string& text)
{
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string UpperCase(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace rtl
