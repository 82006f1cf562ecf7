#include "platform/memory_blocks.h"

#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace quorvane {
namespace {

struct Block {
    std::uint8_t* data;
    std::size_t size;
    int locks;
};

// Blocks are handed out by their record's address; the table tells live
// handles from stale or foreign ones. The source manager may allocate from
// its own threads.
std::mutex BlocksMutex;
std::unordered_map<void*, Block*>& Blocks() {
    static std::unordered_map<void*, Block*> blocks;
    return blocks;
}

Block* Find(void* handle) {
    const auto found = Blocks().find(handle);
    return found == Blocks().end() ? nullptr : found->second;
}

}  // namespace

std::size_t LiveBlockCount() {
    std::lock_guard lock(BlocksMutex);
    return Blocks().size();
}

}  // namespace quorvane

using quorvane::Block;

extern "C" void* QuorvaneAllocateBlock(size_t size) {
    auto* data = static_cast<std::uint8_t*>(std::calloc(size == 0 ? 1 : size, 1));
    if (data == nullptr) return nullptr;
    auto* block = new Block{data, size, 0};
    std::lock_guard lock(quorvane::BlocksMutex);
    quorvane::Blocks().emplace(block, block);
    return block;
}

extern "C" void* QuorvaneLockBlock(void* handle) {
    std::lock_guard lock(quorvane::BlocksMutex);
    Block* block = quorvane::Find(handle);
    if (block == nullptr) return nullptr;
    ++block->locks;
    return block->data;
}

extern "C" void QuorvaneUnlockBlock(void* handle) {
    std::lock_guard lock(quorvane::BlocksMutex);
    Block* block = quorvane::Find(handle);
    if (block != nullptr && block->locks > 0) --block->locks;
}

extern "C" void QuorvaneFreeBlock(void* handle) {
    Block* block = nullptr;
    {
        std::lock_guard lock(quorvane::BlocksMutex);
        block = quorvane::Find(handle);
        if (block == nullptr) return;
        quorvane::Blocks().erase(handle);
    }
    std::free(block->data);
    delete block;
}

extern "C" size_t QuorvaneBlockSize(void* handle) {
    std::lock_guard lock(quorvane::BlocksMutex);
    Block* block = quorvane::Find(handle);
    return block == nullptr ? 0 : block->size;
}
