// Append-only storage for many short texts: the texts live back to back in
// large blocks and are named by a dense 32-bit id, so a million log lines cost
// little more than their characters, and adding one never moves the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace cindral::app {

// A vector whose elements live in fixed-size blocks: growing never copies
// what is already stored, and no growth step doubles the memory held.
template <typename T>
class BlockVector {
public:
    static constexpr std::size_t kBlockSize = 16384;

    void push_back(const T& value) {
        if (size_ == blocks_.size() * kBlockSize) blocks_.emplace_back(new T[kBlockSize]);
        blocks_[size_ / kBlockSize][size_ % kBlockSize] = value;
        ++size_;
    }
    void pop_back() {
        if (size_ > 0) --size_;
    }
    T& back() { return (*this)[size_ - 1]; }
    T& operator[](std::size_t i) { return blocks_[i / kBlockSize][i % kBlockSize]; }
    const T& operator[](std::size_t i) const { return blocks_[i / kBlockSize][i % kBlockSize]; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() {
        blocks_.clear();
        size_ = 0;
    }

private:
    std::vector<std::unique_ptr<T[]>> blocks_;
    std::size_t size_ = 0;
};

class TextStore {
public:
    using Id = std::uint32_t;

    Id add(std::string_view text);
    std::string_view text(Id id) const {
        const Entry& e = entries_[id];
        return std::string_view(chunks_[e.chunk].get() + e.offset, e.length);
    }
    std::size_t count() const { return entries_.size(); }
    std::size_t bytes() const { return bytes_; }
    void clear();

private:
    static constexpr std::size_t kChunkSize = std::size_t(1) << 20;

    struct Entry {
        std::uint32_t chunk;
        std::uint32_t offset;
        std::uint32_t length;
    };

    std::vector<std::unique_ptr<char[]>> chunks_;
    std::size_t chunkUsed_ = kChunkSize;  // room left in the last chunk: none yet
    BlockVector<Entry> entries_;
    std::size_t bytes_ = 0;
};

}  // namespace cindral::app
