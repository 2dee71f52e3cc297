#pragma once

// A move-only owner for a handle that Traits::Free releases: exactly once, and never a null one.

#include <utility>

template <typename T, typename Traits> class UniqueOwner
{
public:
    UniqueOwner() = default;
    explicit UniqueOwner(T handle) : handle_(handle) {}
    ~UniqueOwner() { Reset(); }

    UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.Release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;

    T Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    T Release() { return std::exchange(handle_, nullptr); }
    void Reset(T handle = nullptr)
    {
        if (handle_)
            Traits::Free(handle_);
        handle_ = handle;
    }

private:
    T handle_ = nullptr;
};
