#include "uQueryData.h"

void TQueryData::Assign(const rtl::TPersistent* source)
{
    if (const auto* query = dynamic_cast<const TQueryData*>(source)) state_ = query->state_;
    TBaseData::Assign(source);
}
