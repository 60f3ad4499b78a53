#include "app/text_store.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace cindral::app {

TextStore::Id TextStore::add(std::string_view text) {
    // Texts beyond 4 GiB cannot be named by the entry; a log line never
    // comes near that, so such a text is cut rather than mis-stored.
    const std::size_t length =
        std::min<std::size_t>(text.size(), std::numeric_limits<std::uint32_t>::max());
    if (length > kChunkSize - chunkUsed_ || chunks_.empty()) {
        // A text longer than a chunk gets a chunk of its own size.
        chunks_.emplace_back(new char[std::max(length, kChunkSize)]);
        chunkUsed_ = 0;
    }
    Entry e{static_cast<std::uint32_t>(chunks_.size() - 1), static_cast<std::uint32_t>(chunkUsed_),
            static_cast<std::uint32_t>(length)};
    if (length > 0) std::memcpy(chunks_.back().get() + chunkUsed_, text.data(), length);
    chunkUsed_ += length;
    if (chunkUsed_ > kChunkSize) chunkUsed_ = kChunkSize;  // an oversized chunk is full
    entries_.push_back(e);
    bytes_ += length;
    return static_cast<Id>(entries_.size() - 1);
}

void TextStore::clear() {
    chunks_.clear();
    chunkUsed_ = kChunkSize;
    entries_.clear();
    bytes_ = 0;
}

}  // namespace cindral::app
