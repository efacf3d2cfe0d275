#pragma once
// Test memory with an inaccessible page on each side, so that an access one element
// too far crashes at once instead of passing unnoticed. The elements sit either flush
// against the page after them (catches overruns) or flush against the page before them
// (catches underruns); run a test both ways to cover both ends.

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "core/Bitmap.h"

enum class GuardSide { After, Before };

template <typename T>
class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t count, GuardSide side = GuardSide::After) : count_(count) {
        const size_t page = pageSize();
        const size_t bytes = count * sizeof(T);
        const size_t dataPages = (bytes + page - 1) / page;
        mappedBytes_ = (dataPages + 2) * page;
        mapping_ = static_cast<uint8_t*>(reserve(mappedBytes_));
        if (!mapping_) throw std::runtime_error("GuardedBuffer: cannot reserve memory");
        uint8_t* dataStart = mapping_ + page;
        if (dataPages > 0 && !allowAccess(dataStart, dataPages * page)) {
            release(mapping_, mappedBytes_);
            throw std::runtime_error("GuardedBuffer: cannot open the pages");
        }
        const size_t offset = side == GuardSide::After ? dataPages * page - bytes : 0;
        data_ = reinterpret_cast<T*>(dataStart + offset);
    }
    GuardedBuffer(size_t count, T value, GuardSide side = GuardSide::After) : GuardedBuffer(count, side) {
        fill(value);
    }
    ~GuardedBuffer() { release(mapping_, mappedBytes_); }

    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    T* data() { return data_; }
    const T* data() const { return data_; }
    size_t size() const { return count_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }
    void fill(T value) {
        for (size_t i = 0; i < count_; ++i) data_[i] = value;
    }

private:
#if defined(_WIN32)
    static size_t pageSize() {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return info.dwPageSize;
    }
    static void* reserve(size_t bytes) { return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS); }
    static bool allowAccess(void* at, size_t bytes) {
        DWORD old;
        return VirtualProtect(at, bytes, PAGE_READWRITE, &old) != 0;
    }
    static void release(void* at, size_t) { VirtualFree(at, 0, MEM_RELEASE); }
#else
    static size_t pageSize() { return static_cast<size_t>(sysconf(_SC_PAGESIZE)); }
    static void* reserve(size_t bytes) {
        void* mapping = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        return mapping == MAP_FAILED ? nullptr : mapping;
    }
    static bool allowAccess(void* at, size_t bytes) { return mprotect(at, bytes, PROT_READ | PROT_WRITE) == 0; }
    static void release(void* at, size_t bytes) { munmap(at, bytes); }
#endif

    uint8_t* mapping_ = nullptr;
    size_t mappedBytes_ = 0;
    size_t count_ = 0;
    T* data_ = nullptr;
};

// A Bitmap whose pixels live in a GuardedBuffer. The Bitmap is handed the memory only
// for its lifetime and gives it back before its destructor would free it.
class GuardedBitmap {
public:
    GuardedBitmap(int32_t width, int32_t height, GuardSide side = GuardSide::After)
        : buffer_(static_cast<size_t>(width) * static_cast<size_t>(height), side) {
        bitmap_.width = width;
        bitmap_.height = height;
        bitmap_.pixels = buffer_.data();
    }
    ~GuardedBitmap() { bitmap_.pixels = nullptr; }

    Bitmap* operator->() { return &bitmap_; }
    Bitmap& operator*() { return bitmap_; }
    Bitmap* get() { return &bitmap_; }

private:
    GuardedBuffer<uint32_t> buffer_;
    Bitmap bitmap_;
};
