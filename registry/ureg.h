// Registry readers (sub-key names, values with their text rendering) and the
// writer of name=value lines. None of them raises for a registry failure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/classes.h"

namespace ureg {

// Key, or Key + "\" + SubKey when SubKey is not empty; nothing is normalised.
std::string ComposePath(const std::string& key, const std::string& subKey);

// Writes 2 * count lower-case hexadecimal digits at destination; no terminator.
void HexEncode(const void* source, char* destination, int count);

// The names of the sub-keys of one key, in enumeration order, or the single
// line "Error=%u:%s" when the key cannot be opened.
class TRegLoadKey : public rtl::TStringList {
public:
    TRegLoadKey(const std::string& key, const std::string& subKey, HKEY root);
    const char* ClassName() const override { return "TRegLoadKey"; }
    void Load(const std::string& key, const std::string& subKey, HKEY root);
};

// One value: its name, type, and a copy of its bytes.
class TRegValue : public rtl::TPersistent {
public:
    TRegValue(std::string name, DWORD valueType, int size, const void* data);
    const char* ClassName() const override { return "TRegValue"; }

    int Size() const { return static_cast<int>(bytes_.size()); }
    DWORD ValueType() const { return valueType_; }
    const std::uint8_t* Bytes() const { return bytes_.empty() ? nullptr : bytes_.data(); }
    const std::string& Name() const { return name_; }

    // The value as one line of text, by type.
    std::string AsText() const;

private:
    DWORD valueType_;
    std::vector<std::uint8_t> bytes_;
    std::string name_;
};

// All values of one key, in enumeration order.
class TRegLoadValue : public rtl::TPersistent {
public:
    TRegLoadValue(const std::string& key, const std::string& subKey, HKEY root);
    const char* ClassName() const override { return "TRegLoadValue"; }

    void Load(const std::string& key, const std::string& subKey, HKEY root);
    void Clear();

    int Count() const { return static_cast<int>(values_.size()); }
    bool Opened() const { return opened_; }
    // The caller keeps index within 0 .. Count-1.
    const TRegValue& Items(int index) const { return *values_.at(index); }
    // Exact, case-sensitive name match; nullptr when absent.
    const TRegValue* Find(const std::string& name) const;

    // Appends "Name=AsText" for each value whose name the target does not
    // already hold (names compared without regard to case).
    void AddValuesTo(rtl::TStringList& target) const;
    void AssignTo(rtl::TPersistent* dest) const override;

private:
    std::vector<std::unique_ptr<TRegValue>> values_;
    bool opened_ = false;
};

// Name=value lines bound to one key, written as string values (one per line)
// or as one binary value holding all lines, each ended by CR LF, then a NUL.
class TSetReg : public rtl::TStringList {
public:
    TSetReg(const std::string& key, const std::string& subKey, HKEY root);
    const char* ClassName() const override { return "TSetReg"; }

    void SetKey(const std::string& key, const std::string& subKey, HKEY root);
    void Write(const std::string& valueName);

    HKEY Root() const { return root_; }
    const std::string& KeyPath() const { return keyPath_; }

    // The bytes of the binary form.
    std::string BinaryForm() const;

private:
    HKEY root_;
    std::string keyPath_;
};

}  // namespace ureg
