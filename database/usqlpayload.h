// The SQL texts as the program carries them.
#pragma once

#include "usqltext.h"

namespace database {

TSqlTemplates PayloadTemplates();

}  // namespace database
