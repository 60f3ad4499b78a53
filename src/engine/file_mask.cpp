#include "engine/file_mask.h"

namespace cindral::engine {

CaseFold::CaseFold() {
    for (int c = 0; c < 256; ++c)
        table_[c] = static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c);
}

CaseFold::CaseFold(platform::System& sys) : CaseFold() {
    // One call for all 255 non-NUL characters; a system whose lower-casing
    // changed the length (it must not) keeps the ASCII table.
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    const std::string lower = sys.lowerCase(all);
    if (lower.size() != all.size()) return;
    for (int c = 1; c < 256; ++c) table_[c] = static_cast<unsigned char>(lower[c - 1]);
}

FileMask::FileMask(const std::string& mask, const CaseFold& fold) : fold_(fold) {
    int stars = 0;
    const std::size_t n = mask.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(mask[i]);
        if (c == '*') {
            if (++stars > kMaxStars) return;
            // Consecutive stars match the same as one.
            if (tokens_.empty() || tokens_.back().kind != Kind::Star)
                tokens_.push_back({Kind::Star, 0, 0});
        } else if (c == '?') {
            tokens_.push_back({Kind::AnyOne, 0, 0});
        } else if (c == '[') {
            std::bitset<256> members;
            std::size_t j = i + 1;
            bool negate = false;
            if (j < n && mask[j] == '!') {
                negate = true;
                ++j;
            }
            bool closed = false;
            bool havePrevious = false;
            unsigned char previous = 0;
            while (j < n) {
                const auto m = static_cast<unsigned char>(mask[j]);
                if (m == ']') {
                    closed = true;
                    break;
                }
                if (m == '-' && j + 1 < n && mask[j + 1] != ']') {
                    if (!havePrevious) return;  // a range with no start
                    const auto hi = static_cast<unsigned char>(mask[j + 1]);
                    for (int r = previous; r <= hi; ++r)
                        members.set(fold(static_cast<unsigned char>(r)));
                    havePrevious = false;
                    j += 2;
                    continue;
                }
                if (m == '-' && !havePrevious) return;  // "[-]" or "[!-]"
                members.set(fold(m));
                previous = m;
                havePrevious = true;
                ++j;
            }
            if (!closed) return;
            if (negate) members.flip();
            if (sets_.size() >= 0xFFFF) return;
            tokens_.push_back({Kind::Set, 0, static_cast<std::uint16_t>(sets_.size())});
            sets_.push_back(members);
            i = j;  // at the closing "]"
        } else {
            tokens_.push_back({Kind::Literal, fold(c), 0});
        }
    }
    valid_ = true;
}

bool FileMask::one(const Token& t, unsigned char c) const {
    switch (t.kind) {
        case Kind::Literal:
            return fold_(c) == t.ch;
        case Kind::AnyOne:
            return true;
        case Kind::Set:
            return sets_[t.set].test(fold_(c));
        case Kind::Star:
            break;
    }
    return false;
}

bool FileMask::matches(const std::string& name) const {
    if (!valid_) return false;
    // Greedy match remembering the last star: every token but the star
    // consumes exactly one character, so backtracking to the last star is
    // enough and the cost stays linear in practice.
    const std::size_t tn = tokens_.size();
    const std::size_t nn = name.size();
    std::size_t t = 0, i = 0;
    std::size_t starToken = std::string::npos, starPos = 0;
    while (i < nn) {
        if (t < tn && tokens_[t].kind == Kind::Star) {
            starToken = t++;
            starPos = i;
            continue;
        }
        if (t < tn && one(tokens_[t], static_cast<unsigned char>(name[i]))) {
            ++t;
            ++i;
            continue;
        }
        if (starToken == std::string::npos) return false;
        t = starToken + 1;
        i = ++starPos;
    }
    while (t < tn && tokens_[t].kind == Kind::Star) ++t;
    return t == tn;
}

}  // namespace cindral::engine
