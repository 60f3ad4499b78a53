// Append-only storage for many short texts: the texts live back to back in
// large blocks and are named by a dense 32-bit id, so a million log lines cost
// little more than their characters, and adding one never moves the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace cindral::app {

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
    // A deque grows without copying what it holds and never doubles its memory.
    std::deque<Entry> entries_;
    std::size_t bytes_ = 0;
};

}  // namespace cindral::app
