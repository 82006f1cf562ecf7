#include "platform/pixel_storage.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>
#include <utility>

namespace quorvane {

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
constexpr std::size_t MapThreshold = HugePage;

std::size_t RoundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

}  // namespace

PixelStorage::PixelStorage(std::size_t size) {
    if (size == 0) return;
    if (size < MapThreshold) {
        data_ = static_cast<std::uint8_t*>(std::calloc(size, 1));
        if (data_ == nullptr) throw std::bad_alloc();
        return;
    }
    // Map one huge page more than needed and trim to a 2 MB aligned window,
    // so the kernel can back the whole buffer with huge pages.
    const std::size_t length = RoundUp(size, HugePage);
    const std::size_t reserve = length + HugePage;
    void* raw = mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    auto base = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = RoundUp(base, HugePage);
    if (aligned > base) munmap(raw, aligned - base);
    const std::uintptr_t end = base + reserve;
    if (end > aligned + length) munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    data_ = reinterpret_cast<std::uint8_t*>(aligned);
    mappedSize_ = length;
}

PixelStorage::~PixelStorage() { Release(); }

PixelStorage::PixelStorage(PixelStorage&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      mappedSize_(std::exchange(other.mappedSize_, 0)) {}

PixelStorage& PixelStorage::operator=(PixelStorage&& other) noexcept {
    if (this != &other) {
        Release();
        data_ = std::exchange(other.data_, nullptr);
        mappedSize_ = std::exchange(other.mappedSize_, 0);
    }
    return *this;
}

void PixelStorage::Release() {
    if (data_ != nullptr) {
        if (mappedSize_ != 0)
            munmap(data_, mappedSize_);
        else
            std::free(data_);
    }
    data_ = nullptr;
    mappedSize_ = 0;
}

}  // namespace quorvane
