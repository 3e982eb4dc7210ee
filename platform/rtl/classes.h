// Persistent base with Assign/AssignTo, and the string list with name=value access.
#pragma once

#include <string>
#include <vector>

namespace rtl {

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual const char* ClassName() const { return "TPersistent"; }

    // Copies source into this object. The base asks the source to copy itself
    // (AssignTo); when neither side knows the other, EConvertError
    // "Cannot assign a %s to a %s" (source, destination) is raised.
    virtual void Assign(const TPersistent* source);

    // Copies this object into dest; the base raises the assignment error.
    virtual void AssignTo(TPersistent* dest) const;

protected:
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

// Ordered list of single-byte strings. A line "name=value" has as name the text
// before its first "="; names are compared without regard to case and the first
// matching line wins. A line without "=" has no name.
class TStringList : public TPersistent {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines) : items_(lines) {}
    TStringList(const TStringList& other) : TPersistent(), items_(other.items_) {}
    TStringList& operator=(const TStringList& other) { items_ = other.items_; return *this; }
    const char* ClassName() const override { return "TStringList"; }

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }

    // Index outside 0..Count-1 raises EStringListError "List index out of bounds (%d)".
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    void Put(int index, std::string line);

    int Add(std::string line);
    void Insert(int index, std::string line);
    void Delete(int index);
    void Clear();
    int IndexOf(const std::string& line) const;  // exact, case-insensitive

    // name=value access.
    int IndexOfName(const std::string& name) const;
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(const std::string& name) const;
    // Replaces the value of the first line of that name, or appends "name=value".
    void SetValue(const std::string& name, const std::string& value);

    // All lines, each followed by CR LF.
    std::string Text() const;
    // Replaces the lines by those of text, split at CR LF, CR or LF.
    void SetText(const std::string& text);

    // Change notification bracket: Changed() fires once when the outermost
    // EndUpdate closes a bracket in which something changed.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    const std::vector<std::string>& Lines() const { return items_; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    void Assign(const TPersistent* source) override;
    void AssignTo(TPersistent* dest) const override;

protected:
    // Called after every change outside an update bracket; a hook for views.
    virtual void Changed() {}

private:
    void Change();
    void CheckIndex(int index, bool allowEnd = false) const;

    std::vector<std::string> items_;
    int updateCount_ = 0;
    bool changedInUpdate_ = false;
};

// Holds a string list's update bracket open for a scope.
class TUpdateGuard {
public:
    explicit TUpdateGuard(TStringList& list) : list_(list) { list_.BeginUpdate(); }
    ~TUpdateGuard() { list_.EndUpdate(); }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    TStringList& list_;
};

// For AssignTo overrides that render an object as lines: when dest is a string
// list its lines are replaced by those fill adds, inside one update bracket;
// any other destination gets the assignment error.
template <class Fill>
void AssignLinesTo(const TPersistent& source, TPersistent* dest, Fill fill)
{
    auto* list = dynamic_cast<TStringList*>(dest);
    if (list == nullptr) {
        source.TPersistent::AssignTo(dest);
        return;
    }
    TUpdateGuard guard(*list);
    list->Clear();
    fill(*list);
}

// Text before the first "=", or "" for a line without one.
std::string NameOfLine(const std::string& line, bool* hasName = nullptr);

}  // namespace rtl
