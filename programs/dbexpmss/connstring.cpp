#include "connstring.h"

#include <cwctype>

namespace dbexpmss {

namespace {

bool SameText(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

// Digits at the start of text, or -1.
int LeadingNumber(const std::wstring& text, std::size_t* used = nullptr)
{
    std::size_t i = 0;
    int n = 0;
    while (i < text.size() && i < 4 && text[i] >= L'0' && text[i] <= L'9') n = n * 10 + (text[i++] - L'0');
    if (used) *used = i;
    return i == 0 ? -1 : n;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

}  // namespace

Params ParseParams(const wchar_t* block)
{
    Params params;
    if (!block) return params;
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
        const std::wstring item(p);
        const auto eq = item.find(L'=');
        if (eq == std::wstring::npos) continue;
        params.emplace_back(item.substr(0, eq), item.substr(eq + 1));
    }
    return params;
}

std::wstring ParamValue(const Params& params, const std::wstring& name)
{
    for (const auto& [n, v] : params)
        if (SameText(n, name)) return v;
    return {};
}

int OdbcDriverVersion(const std::wstring& name)
{
    const std::wstring odbc = L"ODBC Driver ";
    const std::wstring forSql = L" for SQL Server";
    if (!StartsWith(name, odbc)) return 0;
    std::size_t used = 0;
    const int version = LeadingNumber(name.substr(odbc.size()), &used);
    return version > 0 && SameText(name.substr(odbc.size() + used), forSql) ? version : 0;
}

int DriverRank(const std::wstring& name)
{
    if (StartsWith(name, L"ODBC Driver ")) {
        const int version = OdbcDriverVersion(name);
        return version > 0 ? 3000 + version : 0;
    }
    const std::wstring snac = L"SQL Server Native Client ";
    if (StartsWith(name, snac)) {
        std::size_t used = 0;
        const std::wstring rest = name.substr(snac.size());
        const int major = LeadingNumber(rest, &used);
        int minor = 0;
        if (used < rest.size() && rest[used] == L'.') minor = LeadingNumber(rest.substr(used + 1));
        return major > 0 ? 2000 + major * 10 + (minor > 0 ? minor : 0) : 0;
    }
    if (SameText(name, L"SQL Native Client")) return 1500;
    if (SameText(name, L"SQL Server")) return 1000;
    return 0;
}

std::wstring PickDriver(const std::vector<std::wstring>& installed)
{
    std::wstring best;
    int bestRank = 0;
    for (const auto& name : installed) {
        const int rank = DriverRank(name);
        if (rank > bestRank) {
            best = name;
            bestRank = rank;
        }
    }
    return best;
}

std::wstring ConnValue(const std::wstring& value)
{
    bool brace = !value.empty() && (value.front() == L' ' || value.back() == L' ');
    for (const wchar_t c : value)
        if (wcschr(L"[](){},;?*=!@", c)) brace = true;
    if (!brace) return value;
    std::wstring out = L"{";
    for (const wchar_t c : value) {
        out += c;
        if (c == L'}') out += L'}';
    }
    return out + L"}";
}

std::wstring ConnectionString(const std::wstring& driver, const Params& params)
{
    std::wstring s = L"DRIVER={" + driver + L"};";
    s += L"SERVER=" + ConnValue(ParamValue(params, L"HostName")) + L";";
    const std::wstring database = ParamValue(params, L"DataBase");
    if (!database.empty()) s += L"DATABASE=" + ConnValue(database) + L";";
    if (SameText(ParamValue(params, L"OS Authentication"), L"True")) {
        s += L"Trusted_Connection=Yes;";
    } else {
        s += L"UID=" + ConnValue(ParamValue(params, L"User_Name")) + L";";
        s += L"PWD=" + ConnValue(ParamValue(params, L"Password")) + L";";
    }
    // From Driver 18 on the driver encrypts and checks the server's certificate
    // unless told otherwise, and the usual server on the premises has a
    // self-signed one: Optional is what the older drivers did by default.
    const std::wstring encrypt = ParamValue(params, L"Encrypt");
    if (!encrypt.empty()) s += L"Encrypt=" + ConnValue(encrypt) + L";";
    else if (OdbcDriverVersion(driver) >= 18) s += L"Encrypt=Optional;";
    return s;
}

}  // namespace dbexpmss
