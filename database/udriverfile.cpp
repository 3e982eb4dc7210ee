#include "udriverfile.h"

#include "udbexpmssdll.h"

namespace database {

namespace {

std::wstring RecordName(const TPayloadRecord& record)
{
    std::wstring name;
    for (const char* p = record.Name; *p; ++p) name += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return name;
}

}  // namespace

TSqlDriverFile::TSqlDriverFile() : file_(RecordName(TFDbx), TFDbx.Data, TFDbx.Size) {}

}  // namespace database
