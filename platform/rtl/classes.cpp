#include "classes.h"

#include "sysutils.h"

namespace rtl {

void TPersistent::Assign(const TPersistent* source)
{
    if (source == nullptr) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const
{
    throw EConvertError(Format("Cannot assign a %s to a %s",
                               {std::string(source ? source->ClassName() : "nil"), std::string(ClassName())}));
}

std::string NameOfLine(const std::string& line, bool* hasName)
{
    const auto eq = line.find('=');
    if (hasName) *hasName = eq != std::string::npos;
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

void TStringList::CheckIndex(int index, bool allowEnd) const
{
    if (index < 0 || index > Count() || (index == Count() && !allowEnd))
        throw EStringListError(Format("List index out of bounds (%d)", {static_cast<std::int64_t>(index)}));
}

const std::string& TStringList::Strings(int index) const
{
    CheckIndex(index);
    return items_[index];
}

void TStringList::Put(int index, std::string line)
{
    CheckIndex(index);
    items_[index] = std::move(line);
    Change();
}

int TStringList::Add(std::string line)
{
    items_.push_back(std::move(line));
    Change();
    return Count() - 1;
}

void TStringList::Insert(int index, std::string line)
{
    CheckIndex(index, true);
    items_.insert(items_.begin() + index, std::move(line));
    Change();
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    Change();
}

void TStringList::Clear()
{
    if (items_.empty()) return;
    items_.clear();
    Change();
}

int TStringList::IndexOf(const std::string& line) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(items_[i], line)) return i;
    return -1;
}

int TStringList::IndexOfName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        bool hasName = false;
        const std::string n = NameOfLine(items_[i], &hasName);
        if (hasName && SameText(n, name)) return i;
    }
    return -1;
}

std::string TStringList::Names(int index) const
{
    return NameOfLine(Strings(index));
}

std::string TStringList::ValueFromIndex(int index) const
{
    const std::string& line = Strings(index);
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

std::string TStringList::Values(const std::string& name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValue(const std::string& name, const std::string& value)
{
    const int i = IndexOfName(name);
    if (i < 0) Add(name + "=" + value);
    else Put(i, name + "=" + value);
}

std::string TStringList::Text() const
{
    std::string text;
    for (const auto& line : items_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(const std::string& text)
{
    TUpdateGuard guard(*this);
    Clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            Add(text.substr(start));
            break;
        }
        Add(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

void TStringList::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && changedInUpdate_) {
        changedInUpdate_ = false;
        Changed();
    }
}

void TStringList::Change()
{
    if (updateCount_ > 0) changedInUpdate_ = true;
    else Changed();
}

void TStringList::Assign(const TPersistent* source)
{
    if (const auto* list = dynamic_cast<const TStringList*>(source)) {
        if (list == this) return;
        TUpdateGuard guard(*this);
        items_ = list->items_;
        Change();
        return;
    }
    TPersistent::Assign(source);
}

void TStringList::AssignTo(TPersistent* dest) const
{
    if (auto* list = dynamic_cast<TStringList*>(dest)) {
        list->Assign(this);
        return;
    }
    TPersistent::AssignTo(dest);
}

}  // namespace rtl
