#include "engine/file_remover.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

namespace cindral::engine {

namespace {

const char kRemoving[] = "Removing File: ";
const char kOk[] = " <OK>";
const char kUsed[] = " <USED>";
const char kSkipped[] = " <SKIPPED>";

// The random pass only has to hide what the file held: xoshiro256** fills
// it at several gigabytes a second, far ahead of any disk, where
// std::mt19937_64 managed a third of the disk's pace. Seeded from the
// system's random source and the clock.
class WipeRandom {
public:
    WipeRandom() {
        std::random_device device;
        const auto now = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        std::seed_seq seq{device(),
                          device(),
                          device(),
                          device(),
                          static_cast<unsigned>(now),
                          static_cast<unsigned>(now >> 32)};
        std::uint32_t words[8];
        seq.generate(words, words + 8);
        for (int i = 0; i < 4; ++i) s_[i] = (std::uint64_t(words[2 * i]) << 32) | words[2 * i + 1];
        // The one state xoshiro cannot leave.
        if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) s_[0] = 0x9E3779B97F4A7C15ull;
    }

    std::uint64_t operator()() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4];
};

void fillRandom(WipeRandom& gen, unsigned char* buf, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t v = gen();
        std::memcpy(buf + i, &v, 8);
    }
    if (i < n) {
        const std::uint64_t v = gen();
        std::memcpy(buf + i, &v, n - i);
    }
}

// One pattern over the whole file, then flushed to the disk.
bool overwritePass(platform::OverwriteFile& f, std::uint64_t size, int pattern,
                   std::vector<unsigned char>& buf, WipeRandom& gen) {
    if (!f.seekToStart()) return false;
    if (pattern != 2) std::memset(buf.data(), pattern == 0 ? 0x00 : 0xFF, buf.size());
    std::uint64_t left = size;
    while (left > 0) {
        const std::size_t n = left < buf.size() ? static_cast<std::size_t>(left) : buf.size();
        if (pattern == 2) fillRandom(gen, buf.data(), n);
        if (!f.write(buf.data(), n)) return false;
        left -= n;
    }
    return f.flush();
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file's name is a trace too: it goes under a random one before deletion.
std::string renameToRandom(platform::Files& files, const std::string& path, WipeRandom& gen) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::string folder = folderOf(path);
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string name;
        for (int i = 0; i < 12; ++i) name += kChars[gen() % (sizeof kChars - 1)];
        const std::string target = folder + name;
        if (files.renameFile(path, target)) return target;
    }
    return path;
}

std::string line(const RunState& run, const std::string& path, const char* suffix) {
    std::string s;
    // One allocation per line: a run writes one for every file it finds.
    s.reserve(run.LinePrefix.size() + std::strlen(kRemoving) + path.size() + std::strlen(suffix));
    s += run.LinePrefix;
    s += kRemoving;
    s += path;
    s += suffix;
    return s;
}

void count(RunState& run, const TFileInformations& file) {
    run.counters.JunkFileCount += 1;
    run.counters.JunkByteCount += static_cast<std::int64_t>(file.Size);
}

bool isFolder(const TFileInformations& file) {
    return (file.Attributes & platform::kAttrDirectory) != 0;
}

}  // namespace

bool WipeFile(platform::Files& files, const std::string& fullPath, std::uint32_t passes,
              std::uint32_t method) {
    if (method < kWipeZero || method > kWipeZeroReverseRandom) method = kWipeZero;
    if (passes == 0) passes = 1;

    auto f = files.openForOverwrite(fullPath);
    if (!f) return false;
    // A length that cannot be read is not taken for an empty file: that file
    // would be deleted with its content unwiped and still count as wiped.
    std::uint64_t size = 0;
    if (!f->size(size)) {
        f->close();
        return false;
    }
    WipeRandom gen;
    if (size > 0) {
        std::vector<unsigned char> buf(size < kWipeBufferSize ? static_cast<std::size_t>(size)
                                                              : kWipeBufferSize);
        for (std::uint32_t pass = 0; pass < passes; ++pass) {
            for (std::uint32_t pattern = 0; pattern < method; ++pattern) {
                if (!overwritePass(*f, size, static_cast<int>(pattern), buf, gen)) {
                    f->close();
                    return false;
                }
            }
        }
    }
    // The last pass is on the disk already; the truncation only keeps the
    // old length from showing in the folder until the deletion.
    const bool truncated = f->truncate();
    const bool closed = f->close();
    if (!truncated || !closed) return false;
    return files.deleteFile(renameToRandom(files, fullPath, gen));
}

namespace {

struct Removal {
    bool wipe = false;
    std::uint32_t passes = 1;
    std::uint32_t method = kWipeZero;
};

Removal readRemoval(const EngineContext& ctx) {
    Removal r;
    if (!ctx.wipeSettings) return r;
    const WipeSettings s = ctx.wipeSettings();
    r.wipe = s.secureErasing;
    if (!r.wipe) return r;
    r.passes = std::min(s.passIndex, kMaxPassIndex) + 1;
    r.method = s.method;
    return r;
}

bool removeOne(platform::Files& files, const std::string& path, const Removal& r) {
    return r.wipe ? WipeFile(files, path, r.passes, r.method) : files.deleteFile(path);
}

// Asked right after the failed call, before the log line: writing the line
// may make system calls of its own.
void tellNotRemoved(EngineContext& ctx, const std::string& path) {
    if (ctx.notRemoved) ctx.notRemoved(path, ctx.platform.files->lastErrorText());
}

}  // namespace

bool RemoveFile(EngineContext& ctx, const std::string& fullPath) {
    return removeOne(*ctx.platform.files, fullPath, readRemoval(ctx));
}

void HandleFoundFile(EngineContext& ctx, const TFileInformations& file) {
    if (isFolder(file)) return;
    RunState& run = ctx.run;
    const std::string path = file.fullPath();
    if (run.KeeperMode == kKeeperCookies &&
        IsKept(&run.CookieKeepers, path, *ctx.platform.system)) {
        ctx.view.addLine(line(run, path, kSkipped));
        return;
    }
    if (run.Erase) {
        if (run.stopped()) return;
        if (!RemoveFile(ctx, path)) {
            tellNotRemoved(ctx, path);
            ctx.view.addLine(line(run, path, kUsed));
            return;
        }
    }
    ctx.view.addLine(line(run, path, kOk));
    count(run, file);
}

void HandleDriveScanFile(EngineContext& ctx, const TFileInformations& file) {
    // Only files: a folder can neither be deleted nor wiped as one, so a test
    // run must not promise its removal.
    if (isFolder(file)) return;
    RunState& run = ctx.run;
    const std::string path = file.fullPath();
    if (!run.Erase) {
        count(run, file);
        ctx.view.replaceLastLine(line(run, path, kOk));
        ctx.view.addLine("");
        return;
    }
    if (run.stopped()) return;
    const Removal r = readRemoval(ctx);
    const bool removed = removeOne(*ctx.platform.files, path, r);
    if (removed)
        count(run, file);
    else
        tellNotRemoved(ctx, path);
    const std::string text = line(run, path, removed ? kOk : kUsed);
    // A wiped file gets a line of its own below the progress line.
    if (r.wipe)
        ctx.view.addLine(text);
    else
        ctx.view.replaceLastLine(text);
    ctx.view.addLine("");
}

}  // namespace cindral::engine
