#pragma once
#include <cstdint>
#include <new>

// Reference-counted owner of a heap array. Buffers live on the stack of one
// call; copying shares the array and bumps the (non-atomic) counter.
template <typename T>
class smart_array {
public:
    smart_array() noexcept = default;
    smart_array(const smart_array& other) noexcept
        : count(other.count), data(other.data), size(other.size)
    {
        if (count) ++*count;
    }
    smart_array& operator=(const smart_array& other) noexcept
    {
        if (this != &other) {
            reset();
            count = other.count;
            data = other.data;
            size = other.size;
            if (count) ++*count;
        }
        return *this;
    }
    virtual ~smart_array() { reset(); }

    // Drops the current array, then takes ownership of p (allocated with
    // new T[n]). Returns false, leaving the buffer empty and p freed, if the
    // counter cannot be allocated.
    bool reset(T* p, uint32_t n) noexcept
    {
        reset();
        if (!p) return true;
        count = new (std::nothrow) int32_t(1);
        if (!count) {
            delete[] p;
            return false;
        }
        data = p;
        size = n;
        return true;
    }

    void reset() noexcept
    {
        if (data && --*count == 0) {
            delete count;
            delete[] data;
        }
        count = nullptr;
        data = nullptr;
        size = 0;
    }

    int32_t* count = nullptr;
    T* data = nullptr;
    uint32_t size = 0;
};
