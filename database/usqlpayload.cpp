#include "usqlpayload.h"

#include "uCreateDb.h"
#include "uCreateLogin.h"
#include "uCreateTable.h"
#include "uUseDb.h"

namespace database {

TSqlTemplates PayloadTemplates()
{
    return {TFCDb.Text(), TFCLogin.Text(), TFUDb.Text(), TFCTable.Text()};
}

}  // namespace database
