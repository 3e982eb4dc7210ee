#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "platform/rtl/handles.h"

namespace {

std::vector<int> g_closed;

struct FakePolicy {
    using handle_type = int;
    static int invalid() noexcept { return 0; }
    static void close(int h) noexcept { g_closed.push_back(h); }
};
using Fake = rtl::UniqueHandle<FakePolicy>;

}  // namespace

// A copyable owner would close the same handle twice.
static_assert(!std::is_copy_constructible_v<rtl::RegKey> && !std::is_copy_assignable_v<rtl::RegKey>);
static_assert(!std::is_copy_constructible_v<rtl::ScHandle> && !std::is_copy_assignable_v<rtl::ScHandle>);
static_assert(!std::is_copy_constructible_v<rtl::FileHandle> && !std::is_copy_assignable_v<rtl::FileHandle>);
static_assert(!std::is_copy_constructible_v<rtl::KernelHandle> && !std::is_copy_assignable_v<rtl::KernelHandle>);
static_assert(!std::is_copy_constructible_v<rtl::Module> && !std::is_copy_assignable_v<rtl::Module>);
static_assert(!std::is_copy_constructible_v<rtl::EventSource> && !std::is_copy_assignable_v<rtl::EventSource>);
static_assert(!std::is_copy_constructible_v<rtl::FindHandle> && !std::is_copy_assignable_v<rtl::FindHandle>);
static_assert(!std::is_copy_constructible_v<rtl::LocalMemory> && !std::is_copy_assignable_v<rtl::LocalMemory>);
static_assert(std::is_nothrow_move_constructible_v<rtl::RegKey> && std::is_nothrow_move_assignable_v<rtl::RegKey>);

TEST(UniqueHandle, ClosesEachHandleExactlyOnce)
{
    g_closed.clear();
    {
        Fake a(1);
        Fake b(std::move(a));
        EXPECT_FALSE(a);
        Fake c(2);
        c = std::move(b);  // closes 2, takes 1
        EXPECT_EQ(c.get(), 1);
        *c.put() = 3;  // put closes 1 first
        Fake empty;
        Fake released(4);
        EXPECT_EQ(released.release(), 4);
    }
    EXPECT_EQ(g_closed, (std::vector<int>{2, 1, 3}));
}

TEST(UniqueHandle, InvalidValueOfFileHandlesIsNotClosed)
{
    rtl::FileHandle file(CreateFileA("Z:\\no\\such\\dir\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(file);
}
