// One move-only owner for every kind of OS handle; each kind is a one-line alias
// over a small close policy, so no handle is ever closed by hand.
#pragma once

#include <utility>

namespace rtl {

template <class Policy>
class UniqueHandle {
public:
    using handle_type = typename Policy::handle_type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(handle_type h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }

    handle_type get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Policy::invalid(); }

    handle_type release() noexcept { return std::exchange(h_, Policy::invalid()); }
    void reset(handle_type h = Policy::invalid()) noexcept
    {
        const handle_type old = std::exchange(h_, h);
        if (old != Policy::invalid()) Policy::close(old);
    }
    // For out-parameters of the API calls: closes what is held first.
    handle_type* put() noexcept
    {
        reset();
        return &h_;
    }

private:
    handle_type h_ = Policy::invalid();
};

}  // namespace rtl
