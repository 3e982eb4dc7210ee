#include "uBaseData.h"

#include "platform/rtl/sysutils.h"

TBaseData::TBaseData(std::string dataClass, std::string dataType)
    : dataClass_(std::move(dataClass)), dataType_(std::move(dataType))
{
    list_.Add("Class=" + dataClass_);
    list_.Add("Type=" + dataType_);
}

TBaseData::~TBaseData()
{
    ClearItems();
}

rtl::TStringList& TBaseData::AddItem()
{
    items_.push_back(std::make_unique<rtl::TStringList>());
    const int n = Count();
    // The first sub-item always appends its own "Count=1"; later ones update the
    // first "Count" line in place, so the line stays where the first item came.
    const int at = n == 1 ? -1 : list_.IndexOfName("Count");
    const std::string line = "Count=" + rtl::IntToStr(n);
    if (at < 0) list_.Add(line);
    else list_.Put(at, line);
    return *items_.back();
}

void TBaseData::ClearItems()
{
    while (!items_.empty()) items_.pop_back();
}

rtl::TStringList* TBaseData::Items(int index)
{
    return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

const rtl::TStringList* TBaseData::Items(int index) const
{
    return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

void TBaseData::Assign(const rtl::TPersistent* source)
{
    const auto* data = dynamic_cast<const TBaseData*>(source);
    if (data == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (data == this) return;
    list_.Assign(&data->list_);
    ClearItems();
    items_.reserve(data->items_.size());
    for (const auto& item : data->items_) items_.push_back(std::make_unique<rtl::TStringList>(*item));
}

void TBaseData::AssignTo(rtl::TPersistent* dest) const
{
    rtl::AssignLinesTo(*this, dest, [this](rtl::TStringList& list) {
        for (const auto& line : list_) list.Add(line);
        for (const auto& item : items_)
            for (const auto& line : *item) list.Add(line);
    });
}
