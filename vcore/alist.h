#pragma once
#include <cstdint>
#include <new>

namespace vcore {

// Growable array of object pointers; an owning list deletes its elements.
template <class T>
class alist {
public:
    explicit alist(int32_t capacity = 0, bool owns = false) : owns_(owns) { grow(capacity); }
    ~alist()
    {
        clear();
        delete[] items_;
    }
    alist(const alist&) = delete;
    alist& operator=(const alist&) = delete;

    int32_t capacity() const { return capacity_; }
    int32_t count() const { return count_; }
    bool owns() const { return owns_; }
    void setOwns(bool owns) { owns_ = owns; }

    // Room for n entries, doubling from the capacity (16 when none); false when there is no array.
    bool grow(int32_t n)
    {
        if (n <= capacity_)
            return items_ != nullptr;
        int64_t capacity = capacity_ > 0 ? capacity_ : 16;
        while (capacity < n)
            capacity *= 2;
        if (capacity > INT32_MAX)
            return false;
        T** items = new (std::nothrow) T*[size_t(capacity)];
        if (!items)
            return false;
        for (int32_t i = 0; i < capacity; ++i)
            items[i] = i < count_ ? items_[i] : nullptr;
        delete[] items_;
        items_ = items;
        capacity_ = int32_t(capacity);
        return true;
    }

    bool append(T* item)
    {
        if (count_ == INT32_MAX || !grow(count_ + 1))
            return false;
        items_[count_++] = item;
        return true;
    }

    // nullptr outside 0..count-1.
    T* at(int32_t i) const { return i >= 0 && i < count_ ? items_[i] : nullptr; }
    T* operator[](int32_t i) const { return at(i); }

    int32_t indexOf(const T* item) const
    {
        for (int32_t i = 0; i < count_; ++i)
            if (items_[i] == item)
                return i;
        return -1;
    }

    // Takes entry i out without deleting it; later entries move up.
    T* take(int32_t i)
    {
        T* item = at(i);
        if (i < 0 || i >= count_)
            return nullptr;
        for (; i + 1 < count_; ++i)
            items_[i] = items_[i + 1];
        items_[--count_] = nullptr;
        return item;
    }

    // Removes entry i, deleting it when the list owns its elements.
    bool removeAt(int32_t i)
    {
        if (i < 0 || i >= count_)
            return false;
        T* item = take(i);
        if (owns_)
            delete item;
        return true;
    }

    void clear()
    {
        for (int32_t i = 0; i < count_; ++i) {
            if (owns_)
                delete items_[i];
            items_[i] = nullptr;
        }
        count_ = 0;
    }

    T** begin() const { return items_; }
    T** end() const { return items_ + count_; }

private:
    int32_t capacity_ = 0;
    int32_t count_ = 0;
    T** items_ = nullptr;
    bool owns_ = false;
};

} // namespace vcore
