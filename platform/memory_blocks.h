// Movable memory blocks: the form in which images pass between the
// application and the source manager. A block is known by an opaque handle
// and reached by locking it; every function accepts any handle and answers a
// handle that is not a live block with null, 0 or nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/dsm/dsm_host.h"

namespace quorvane {

using BlockHandle = void*;

inline BlockHandle AllocateBlock(std::size_t size) { return QuorvaneAllocateBlock(size); }
inline void FreeBlock(BlockHandle block) { QuorvaneFreeBlock(block); }
inline std::size_t BlockSize(BlockHandle block) { return QuorvaneBlockSize(block); }
// The number of live blocks, for checking that nothing leaks.
std::size_t LiveBlockCount();

// Holds a block locked for its lifetime.
class BlockLock {
public:
    explicit BlockLock(BlockHandle block) : block_(block), data_(static_cast<std::uint8_t*>(QuorvaneLockBlock(block))) {}
    ~BlockLock() {
        if (data_ != nullptr) QuorvaneUnlockBlock(block_);
    }
    BlockLock(const BlockLock&) = delete;
    BlockLock& operator=(const BlockLock&) = delete;

    std::uint8_t* Data() const { return data_; }
    std::size_t Size() const { return data_ != nullptr ? QuorvaneBlockSize(block_) : 0; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    BlockHandle block_;
    std::uint8_t* data_;
};

}  // namespace quorvane
