// Zero-filled byte storage for pixel buffers.
//
// Large buffers are mapped so that they fault in huge pages: the first touch
// of a fresh 72 MB image costs a few hundred 2 MB faults instead of eighteen
// thousand 4 KB ones. Small buffers come from the ordinary heap.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvane {

class PixelStorage {
public:
    PixelStorage() = default;
    explicit PixelStorage(std::size_t size);
    ~PixelStorage();

    PixelStorage(PixelStorage&& other) noexcept;
    PixelStorage& operator=(PixelStorage&& other) noexcept;
    PixelStorage(const PixelStorage&) = delete;
    PixelStorage& operator=(const PixelStorage&) = delete;

    std::uint8_t* Data() { return data_; }
    const std::uint8_t* Data() const { return data_; }

    void Release();

private:
    std::uint8_t* data_ = nullptr;
    std::size_t mappedSize_ = 0;  // non-zero when data_ came from mmap
};

}  // namespace quorvane
