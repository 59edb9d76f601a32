// The kiosk's decision with a large deny list: latency (median and 99th percentile), memory and
// load time per mask, the compiled matcher beside the plain walk over the same masks.
//
// The deny lists come from build/blocklists/ (scripts/blocklists/prepare.sh) when present;
// otherwise deterministic made-up masks of the same shapes stand in, and the label says so.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/browser/DenyListImage.h"
#include "core/browser/DenyListView.h"
#include "core/browser/ServerSideForm.h"
#include "core/browser/UrlHelpers.h"
#include "core/browser/UrlLists.h"
#include "tests/support/LinearUrlMatcher.h"

namespace {

using namespace plintor;
using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t AddressSample = 1000;

// --- Masks ------------------------------------------------------------------------------------

// Host masks as build_masks.py writes them, for hosts made of syllables.
std::vector<std::string> syntheticMasks(std::size_t count) {
    static const char* syllables[] = {
        "AD", "TRACK", "STAT", "CDN", "PIX", "CLICK", "SERV", "MEDIA", "TAG", "SYNC", "BID", "LOG",
        "RA", "KI",    "MO",   "TU",  "LI",  "VE",    "XA",   "QU",    "BE",  "NO",   "SI",  "ZON"};
    static const char* tlds[] = {"COM", "NET", "ORG", "DE", "RU", "IO", "INFO", "XYZ", "CO.UK"};
    std::mt19937 random(1);
    auto pick = [&](auto& items) { return items[random() % (sizeof(items) / sizeof(items[0]))]; };
    std::vector<std::string> masks;
    while (masks.size() < count) {
        std::string host = std::string(pick(syllables)) + pick(syllables) + pick(syllables) +
                           std::to_string(random() % 100000) + "." + pick(tlds);
        for (const std::string& mask : {"*://" + host, "*://" + host + "[/:#]*", "*://*." + host,
                                        "*://*." + host + "[/:#]*"}) {
            if (masks.size() < count) {
                masks.push_back(mask);
            }
        }
    }
    return masks;
}

std::filesystem::path blockListDir() {
    const char* overridden = std::getenv("PLINTOR_BLOCKLISTS");
    return overridden != nullptr ? overridden : PLINTOR_BLOCKLISTS;
}

struct MaskSource {
    std::vector<std::string> masks;
    std::string origin;
};

MaskSource loadMasks(std::size_t count) {
    const std::filesystem::path file = blockListDir() / ("masks-" + std::to_string(count) + ".txt");
    std::ifstream in(file);
    MaskSource source;
    for (std::string line; source.masks.size() < count && std::getline(in, line);) {
        source.masks.push_back(line);
    }
    if (source.masks.size() == count) {
        source.origin = file.filename().string();
        return source;
    }
    return {syntheticMasks(count), "synthetic masks"};
}

// --- Addresses --------------------------------------------------------------------------------

// An address the mask was written to block: wildcards filled with what a browser would ask.
std::string addressFor(std::string_view mask) {
    static const std::pair<std::string_view, std::string_view> fillings[] = {
        {"HTTP*://", "http://"},
        {"*://*.", "https://cdn."},
        {"*://", "https://"},
        {"[/:#]*", "/assets/app.js"},
        {"[[]", "["},
        {"*", ""}};
    std::string address;
    while (!mask.empty()) {
        const auto filling = std::find_if(std::begin(fillings), std::end(fillings),
                                          [&](const auto& f) { return mask.starts_with(f.first); });
        if (filling != std::end(fillings)) {
            address += filling->second;
            mask.remove_prefix(filling->first.size());
        } else {
            address += mask.front();
            mask.remove_prefix(1);
        }
    }
    return address;
}

struct Addresses {
    std::vector<std::string> blocked;
    std::vector<std::string> allowed;
};

// Half ask about listed hosts, half about hosts the list does not hold; each address is sorted
// by the decision itself, so a made-up "unlisted" host that happens to be listed is not misfiled.
Addresses makeAddresses(const std::vector<std::string>& masks, const UrlLists& lists) {
    Addresses addresses;
    std::mt19937 random(2);
    for (std::size_t i = 0; addresses.blocked.size() < AddressSample && i < 4 * AddressSample;
         ++i) {
        const std::string address = addressFor(masks[random() % masks.size()]);
        if (!lists.isUrlAllowed(address)) {
            addresses.blocked.push_back(address);
        }
    }
    while (addresses.allowed.size() < AddressSample) {
        const std::string address = "https://www.shop" + std::to_string(random() % 1000000) +
                                    ".example.org/catalogue/item" +
                                    std::to_string(random() % 1000) + "/index.html?ref=1";
        if (lists.isUrlAllowed(address)) {
            addresses.allowed.push_back(address);
        }
    }
    return addresses;
}

// --- Lists ------------------------------------------------------------------------------------

// The plain walk composed as UrlLists::isUrlAllowed composes its matchers (the benchmark's
// lists hold no local documents).
struct LinearLists {
    LinearUrlMatcher allow{MaskRole::Allow};
    LinearUrlMatcher deny{MaskRole::Deny};

    bool isUrlAllowed(std::string_view url) const {
        const std::string key = candidateKey(url);
        if (!allow.anyMatches(key) || deny.anyMatches(key)) {
            return false;
        }
        const std::optional<std::string> serverForm = serverSideForm(key);
        return !serverForm || !deny.anyMatches(*serverForm);
    }
};

void fill(UrlLists& lists, const std::vector<std::string>& masks) {
    lists.whitelistAllowAll();
    for (const std::string& mask : masks) {
        lists.blacklistAddUrl(mask);
    }
}

void fill(LinearLists& lists, const std::vector<std::string>& masks) {
    lists.allow.add("*");
    for (const std::string& mask : masks) {
        lists.deny.add(normaliseListEntry(mask));
    }
}

// Built once per size and kept for every benchmark of that size.
struct Fixture {
    MaskSource source;
    UrlLists compiled;
    LinearLists linear;
    Addresses addresses;
    // The deny list's image and the view a web process reads it through, made when asked.
    std::string image;
    std::unique_ptr<DenyListView> imageView;
};

Fixture& fixtureFor(std::size_t count) {
    static std::map<std::size_t, std::unique_ptr<Fixture>> fixtures;
    std::unique_ptr<Fixture>& fixture = fixtures[count];
    if (!fixture) {
        fixture = std::make_unique<Fixture>();
        fixture->source = loadMasks(count);
        fill(fixture->compiled, fixture->source.masks);
        fill(fixture->linear, fixture->source.masks);
        fixture->addresses = makeAddresses(fixture->source.masks, fixture->compiled);
        std::cerr << count << " masks: " << fixture->source.origin << ", "
                  << fixture->addresses.blocked.size() << " blocked and "
                  << fixture->addresses.allowed.size() << " allowed addresses\n";
    }
    return *fixture;
}

// --- Measurements -----------------------------------------------------------------------------

double percentile(std::vector<double>& samples, double fraction) {
    const auto at = static_cast<std::ptrdiff_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + at, samples.end());
    return samples[static_cast<std::size_t>(at)];
}

// Each decision is timed on its own, so the counters show its spread, not only the mean.
template <typename Lists>
void decide(benchmark::State& state, const Lists& lists, const Fixture& fixture) {
    const bool blocked = state.range(1) != 0;
    const std::vector<std::string>& addresses =
        blocked ? fixture.addresses.blocked : fixture.addresses.allowed;
    std::vector<double> microseconds;
    std::size_t next = 0;
    for (auto _ : state) {
        const std::string& address = addresses[next++ % addresses.size()];
        const auto start = SteadyClock::now();
        const bool allowed = lists.isUrlAllowed(address);
        const auto end = SteadyClock::now();
        benchmark::DoNotOptimize(allowed);
        if (allowed == blocked) {
            state.SkipWithError("the decision differs from the sample's");
            break;
        }
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    if (!microseconds.empty()) {
        state.counters["p50_us"] = percentile(microseconds, 0.5);
        state.counters["p99_us"] = percentile(microseconds, 0.99);
    }
    state.SetLabel(fixture.source.origin + (blocked ? ", blocked" : ", allowed"));
}

// The deny step alone, as the web processes take it for every request: through the owned
// matcher, or through a view of its image (the same rule over the mapped layout).
template <typename Denies>
void denyStep(benchmark::State& state, const Fixture& fixture, Denies denies) {
    const bool blocked = state.range(1) != 0;
    const std::vector<std::string>& addresses =
        blocked ? fixture.addresses.blocked : fixture.addresses.allowed;
    std::size_t next = 0;
    for (auto _ : state) {
        const bool denied = denies(addresses[next++ % addresses.size()]);
        benchmark::DoNotOptimize(denied);
        if (denied != blocked) {
            state.SkipWithError("the deny step differs from the sample's");
            break;
        }
    }
    state.SetLabel(fixture.source.origin + (blocked ? ", blocked" : ", allowed"));
}

void bmOwnedDenyStep(benchmark::State& state) {
    const Fixture& fixture = fixtureFor(static_cast<std::size_t>(state.range(0)));
    denyStep(state, fixture,
             [&](const std::string& address) { return fixture.compiled.isUrlDenied(address); });
}

void bmImageDenyStep(benchmark::State& state) {
    Fixture& fixture = fixtureFor(static_cast<std::size_t>(state.range(0)));
    if (!fixture.imageView) {
        fixture.image = DenyListImage::of(fixture.compiled);
        std::string error;
        fixture.imageView = DenyListView::open(fixture.image, error);
        if (!fixture.imageView) {
            state.SkipWithError(("the image is refused: " + error).c_str());
            return;
        }
    }
    denyStep(state, fixture,
             [&](const std::string& address) { return fixture.imageView->isUrlDenied(address); });
}

void bmDecide(benchmark::State& state) {
    const Fixture& fixture = fixtureFor(static_cast<std::size_t>(state.range(0)));
    decide(state, fixture.compiled, fixture);
}

void bmLinearDecide(benchmark::State& state) {
    const Fixture& fixture = fixtureFor(static_cast<std::size_t>(state.range(0)));
    decide(state, fixture.linear, fixture);
}

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap growth while the deny list is filled, and the time it takes, per mask. "beyond_text"
// leaves out the bytes of the masks' own (normalised) text.
template <typename Lists>
void load(benchmark::State& state) {
    const MaskSource& source = fixtureFor(static_cast<std::size_t>(state.range(0))).source;
    std::size_t textBytes = 0;
    for (const std::string& mask : source.masks) {
        textBytes += normaliseListEntry(mask).size();
    }
    double bytes = 0;
    double seconds = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        const auto start = SteadyClock::now();
        auto lists = std::make_unique<Lists>();
        fill(*lists, source.masks);
        seconds += std::chrono::duration<double>(SteadyClock::now() - start).count();
        bytes = static_cast<double>(heapInUse() - before);
        state.PauseTiming();
        lists.reset();
        state.ResumeTiming();
    }
    const auto masks = static_cast<double>(source.masks.size());
    state.counters["ns_per_mask"] = seconds * 1e9 / static_cast<double>(state.iterations()) / masks;
    state.counters["bytes_per_mask"] = bytes / masks;
    state.counters["beyond_text"] = (bytes - static_cast<double>(textBytes)) / masks;
    state.counters["text_per_mask"] = static_cast<double>(textBytes) / masks;
    state.SetLabel(source.origin);
}

void bmLoad(benchmark::State& state) {
    load<UrlLists>(state);
}

void bmLinearLoad(benchmark::State& state) {
    load<LinearLists>(state);
}

// Arguments: list size, then 1 for addresses the list blocks and 0 for ones it lets through.
BENCHMARK(bmDecide)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 0}})
    ->Iterations(20000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(bmOwnedDenyStep)
    ->ArgsProduct({{100000, 1000000}, {1, 0}})
    ->Iterations(20000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(bmImageDenyStep)
    ->ArgsProduct({{100000, 1000000}, {1, 0}})
    ->Iterations(20000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(bmLinearDecide)
    ->ArgsProduct({{10000, 100000}, {1, 0}})
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
// The walk over a million masks takes a good part of a second per address: a small sample.
BENCHMARK(bmLinearDecide)
    ->ArgsProduct({{1000000}, {1, 0}})
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(bmLoad)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(3)->Unit(
    benchmark::kMillisecond);
BENCHMARK(bmLinearLoad)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
