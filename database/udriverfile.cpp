#include "udriverfile.h"

#include "udbexpmssdll.h"

namespace database {

TSqlDriverFile::TSqlDriverFile() : file_(rtl::Widen(TFDbx.Name), TFDbx.Data, TFDbx.Size) {}

}  // namespace database
