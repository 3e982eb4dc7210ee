// Data object: name=value main lines beginning "Class=" and "Type=", plus
// sub-item line lists counted by a "Count=" line.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/classes.h"

class TBaseData : public rtl::TPersistent {
public:
    TBaseData() : TBaseData(std::string(), std::string()) {}
    ~TBaseData() override;
    const char* ClassName() const override { return "TBaseData"; }

    // The labels of the class that was constructed (empty for the bases).
    virtual std::string GetDataClass() const { return dataClass_; }
    virtual std::string GetDataType() const { return dataType_; }

    rtl::TStringList& List() { return list_; }
    const rtl::TStringList& List() const { return list_; }
    int Count() const { return static_cast<int>(items_.size()); }

    // Appends an empty sub-item, owned by this object, and keeps "Count=" up to date.
    rtl::TStringList& AddItem();
    // Frees the sub-items, last first; the main list is untouched.
    void ClearItems();
    // Sub-item index, or nullptr outside 0 .. Count-1.
    rtl::TStringList* Items(int index);
    const rtl::TStringList* Items(int index) const;

    std::string GetValue(const std::string& name) const { return list_.Values(name); }

    void Assign(const rtl::TPersistent* source) override;
    // Into a string list: the main lines, then each sub-item's lines in order.
    void AssignTo(rtl::TPersistent* dest) const override;

protected:
    // C++ cannot call the most-derived virtual from a base constructor, so the
    // concrete classes hand their labels to this one, which writes the two lines.
    TBaseData(std::string dataClass, std::string dataType);

private:
    std::string dataClass_;
    std::string dataType_;
    rtl::TStringList list_;
    std::vector<std::unique_ptr<rtl::TStringList>> items_;
};
