#include "ureg.h"

#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"

namespace ureg {

namespace {

constexpr DWORD kNameBufferChars = 261;  // longest key name and its terminator

// Opens a key for reading; on failure returns the error code and an empty key.
LSTATUS OpenForRead(HKEY root, const std::string& path, rtl::RegKey& key)
{
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put());
}

}  // namespace

std::string ComposePath(const std::string& key, const std::string& subKey)
{
    return subKey.empty() ? key : key + "\\" + subKey;
}

void HexEncode(const void* source, char* destination, int count)
{
    static const char digits[] = "0123456789abcdef";
    const auto* bytes = static_cast<const std::uint8_t*>(source);
    for (int i = 0; i < count; ++i) {
        *destination++ = digits[bytes[i] >> 4];
        *destination++ = digits[bytes[i] & 0x0F];
    }
}

// ---------------------------------------------------------------- TRegLoadKey

TRegLoadKey::TRegLoadKey(const std::string& key, const std::string& subKey, HKEY root)
{
    Load(key, subKey, root);
}

void TRegLoadKey::Load(const std::string& key, const std::string& subKey, HKEY root)
{
    rtl::TUpdateGuard guard(*this);
    Clear();
    rtl::RegKey hkey;
    const LSTATUS status = OpenForRead(root, ComposePath(key, subKey), hkey);
    if (status != ERROR_SUCCESS) {
        Add(rtl::ErrorLine(static_cast<unsigned long>(status)));
        return;
    }
    char name[kNameBufferChars];
    for (DWORD index = 0;; ++index) {
        DWORD length = kNameBufferChars;
        if (RegEnumKeyExA(hkey.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        Add(std::string(name, length));
    }
}

// ------------------------------------------------------------------ TRegValue

TRegValue::TRegValue(std::string name, DWORD valueType, int size, const void* data)
    : valueType_(valueType), name_(std::move(name))
{
    if (size > 0 && data != nullptr) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.assign(p, p + size);
    }
}

std::string TRegValue::AsText() const
{
    const std::size_t size = bytes_.size();
    switch (valueType_) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        std::size_t n = 0;
        while (n < size && bytes_[n] != 0) ++n;
        return std::string(reinterpret_cast<const char*>(bytes_.data()), n);
    }
    case REG_BINARY: {
        std::string text(2 * size, '\0');
        if (size > 0) HexEncode(bytes_.data(), text.data(), static_cast<int>(size));
        return text;
    }
    case REG_DWORD: {
        // Fewer than four bytes are read as far as they go, zero-extended.
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < size && i < 4; ++i) v |= static_cast<std::uint32_t>(bytes_[i]) << (8 * i);
        return rtl::IntToStr(static_cast<std::int32_t>(v));
    }
    case REG_MULTI_SZ: {
        std::string text;
        std::size_t i = 0;
        while (i < size && bytes_[i] != 0) {
            for (; i < size && bytes_[i] != 0; ++i) {
                const char c = static_cast<char>(bytes_[i]);
                text += (c == '\r' || c == '\n') ? '_' : c;
            }
            text += ';';
            ++i;  // past the string's NUL
        }
        return text;
    }
    default:
        return std::string();
    }
}

// -------------------------------------------------------------- TRegLoadValue

TRegLoadValue::TRegLoadValue(const std::string& key, const std::string& subKey, HKEY root)
{
    Load(key, subKey, root);
}

void TRegLoadValue::Clear()
{
    values_.clear();
    opened_ = false;
}

void TRegLoadValue::Load(const std::string& key, const std::string& subKey, HKEY root)
{
    Clear();
    rtl::RegKey hkey;
    if (OpenForRead(root, ComposePath(key, subKey), hkey) != ERROR_SUCCESS) return;

    DWORD valueCount = 0, maxNameChars = 0, maxDataBytes = 0;
    if (RegQueryInfoKeyA(hkey.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, &maxNameChars,
                         &maxDataBytes, nullptr, nullptr) != ERROR_SUCCESS)
        return;

    if (valueCount > 0) {
        std::vector<char> name(maxNameChars + 1);
        std::vector<std::uint8_t> data(maxDataBytes > 0 ? maxDataBytes : 1);
        for (DWORD index = 0; index < valueCount; ++index) {
            DWORD nameChars = maxNameChars + 1;
            DWORD dataBytes = maxDataBytes;
            DWORD type = 0;
            if (RegEnumValueA(hkey.get(), index, name.data(), &nameChars, nullptr, &type, data.data(), &dataBytes) !=
                ERROR_SUCCESS)
                break;
            values_.push_back(std::make_unique<TRegValue>(std::string(name.data(), nameChars), type,
                                                          static_cast<int>(dataBytes), data.data()));
        }
    }
    opened_ = true;
}

const TRegValue* TRegLoadValue::Find(const std::string& name) const
{
    for (const auto& value : values_)
        if (value->Name() == name) return value.get();
    return nullptr;
}

void TRegLoadValue::AddValuesTo(rtl::TStringList& target) const
{
    for (const auto& value : values_)
        if (target.IndexOfName(value->Name()) < 0) target.Add(value->Name() + "=" + value->AsText());
}

void TRegLoadValue::AssignTo(rtl::TPersistent* dest) const
{
    rtl::AssignLinesTo(*this, dest, [this](rtl::TStringList& list) { AddValuesTo(list); });
}

// -------------------------------------------------------------------- TSetReg

TSetReg::TSetReg(const std::string& key, const std::string& subKey, HKEY root)
    : root_(root), keyPath_(ComposePath(key, subKey))
{
}

void TSetReg::SetKey(const std::string& key, const std::string& subKey, HKEY root)
{
    Clear();
    root_ = root;
    keyPath_ = ComposePath(key, subKey);
}

std::string TSetReg::BinaryForm() const
{
    std::string bytes = Text();
    bytes += '\0';
    return bytes;
}

void TSetReg::Write(const std::string& valueName)
{
    rtl::RegKey hkey;
    if (RegCreateKeyExA(root_, keyPath_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, hkey.put(), nullptr) !=
        ERROR_SUCCESS)
        return;

    if (valueName.empty()) {
        for (const auto& line : *this) {
            const auto eq = line.find('=');
            // A line without "=" is no name=value line; it is not written rather
            // than guessed at (it would otherwise land in the default value).
            if (eq == std::string::npos) continue;
            const std::string name = line.substr(0, eq);
            const std::string value = line.substr(eq + 1);
            RegSetValueExA(hkey.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
        }
        return;
    }
    const std::string bytes = BinaryForm();
    RegSetValueExA(hkey.get(), valueName.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
}

}  // namespace ureg
