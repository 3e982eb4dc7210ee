// The shipped programs' error paths of the standard library: each fault a
// program could make reaches the caller as a std::exception with the library's
// text, never terminate. Prints a line per case; exits 1 if any case failed.
#include <climits>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Case {
    const char* name;
    std::function<void()> fault;
    const char* text;  // what() starts with this
};

}  // namespace

int main()
{
    const char* volatile none = nullptr;  // hidden from the compiler's null checks
    volatile std::size_t huge = SIZE_MAX;
    const Case cases[] = {
        {"substr past the end", [] { (void)std::string("ab").substr(3); },
         "basic_string::substr: __pos (which is 3) > this->size() (which is 2)"},
        {"string too long", [&] { std::string s; s.reserve(huge); }, "basic_string::_M_create"},
        {"string from null", [&] { std::string s(none); }, "basic_string: construction from null"},
        {"vector at", [] { (void)std::vector<int>(2).at(2); },
         "vector::_M_range_check: __n (which is 2) >= this->size() (which is 2)"},
        {"vector too long", [&] { std::vector<int> v; v.reserve(huge); }, "vector::reserve"},
    };
    int failed = 0;
    auto report = [&](bool ok, const char* name, const char* got) {
        std::printf("%s %s: %s\n", ok ? "ok  " : "FAIL", name, got);
        failed += ok ? 0 : 1;
    };
    for (const Case& c : cases) {
        const char* got = "(nothing thrown)";
        bool ours = false;  // the library's own would be a std::logic_error
        try {
            c.fault();
        } catch (const std::exception& e) {
            got = e.what();
            ours = dynamic_cast<const std::logic_error*>(&e) == nullptr;
        }
        report(ours && std::strncmp(got, c.text, std::strlen(c.text)) == 0, c.name, got);
    }

    // Allocations beyond what can be asked for, and beyond what can be had.
    const struct {
        const char* name;
        std::size_t count;
        bool arrayLength;  // bad_array_new_length rather than plain bad_alloc
    } allocations[] = {{"allocation beyond size_t", SIZE_MAX, true}, {"allocation beyond max_size", SIZE_MAX / 8, false}};
    for (const auto& a : allocations) {
        try {
            const volatile std::size_t count = a.count;
            (void)std::allocator<long long>().allocate(count);
            report(false, a.name, "(nothing thrown)");
        } catch (const std::bad_array_new_length& e) {
            report(a.arrayLength, a.name, e.what());
        } catch (const std::bad_alloc& e) {
            report(!a.arrayLength, a.name, e.what());
        }
    }
    return failed == 0 ? 0 : 1;
}
