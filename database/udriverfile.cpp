#include "udriverfile.h"

#include "udbexpmssdll.h"

namespace database {

TSqlDriverFile::TSqlDriverFile() : file_(dbx::Widen(TFDbx.Name), TFDbx.Data, TFDbx.Size) {}

}  // namespace database
