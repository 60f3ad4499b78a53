// Registry entry texts ("ROOT\key,action,value") parsed and run in a test
// run against an empty store.
#include "engine/registry_cleaner.h"
#include "fuzz_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral;
    static auto posix = fuzz::makePlatform();
    platform::Platform& p = posix->platform();
    const std::string entry(reinterpret_cast<const char*>(data), size);
    engine::TRegObject parsed;
    engine::ParseRegistryEntry(entry, *p.system, parsed);
    fuzz::TestRun run(p);
    engine::CleanRegistryEntry(run.ctx, entry, nullptr);
    return 0;
}
