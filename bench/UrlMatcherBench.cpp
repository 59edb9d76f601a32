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

#include "core/browser/LinearUrlMatcher.h"
#include "core/browser/ServerSideForm.h"
#include "core/browser/UrlHelpers.h"
#include "core/browser/UrlLists.h"

namespace {

using namespace plintor;
using TClock = std::chrono::steady_clock;

constexpr std::size_t AddressSample = 1000;

// --- Masks ------------------------------------------------------------------------------------

// Host masks as build_masks.py writes them, for hosts made of syllables.
std::vector<std::string> SyntheticMasks(std::size_t count) {
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

std::filesystem::path BlockListDir() {
    const char* overridden = std::getenv("PLINTOR_BLOCKLISTS");
    return overridden != nullptr ? overridden : PLINTOR_BLOCKLISTS;
}

struct TMaskSource {
    std::vector<std::string> Masks;
    std::string Origin;
};

TMaskSource LoadMasks(std::size_t count) {
    const std::filesystem::path file = BlockListDir() / ("masks-" + std::to_string(count) + ".txt");
    std::ifstream in(file);
    TMaskSource source;
    for (std::string line; source.Masks.size() < count && std::getline(in, line);) {
        source.Masks.push_back(line);
    }
    if (source.Masks.size() == count) {
        source.Origin = file.filename().string();
        return source;
    }
    return {SyntheticMasks(count), "synthetic masks"};
}

// --- Addresses --------------------------------------------------------------------------------

// An address the mask was written to block: wildcards filled with what a browser would ask.
std::string AddressFor(std::string_view mask) {
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

struct TAddresses {
    std::vector<std::string> Blocked;
    std::vector<std::string> Allowed;
};

// Half ask about listed hosts, half about hosts the list does not hold; each address is sorted
// by the decision itself, so a made-up "unlisted" host that happens to be listed is not misfiled.
TAddresses MakeAddresses(const std::vector<std::string>& masks, const TUrlLists& lists) {
    TAddresses addresses;
    std::mt19937 random(2);
    for (std::size_t i = 0; addresses.Blocked.size() < AddressSample && i < 4 * AddressSample;
         ++i) {
        const std::string address = AddressFor(masks[random() % masks.size()]);
        if (!lists.IsURLAllowed(address)) {
            addresses.Blocked.push_back(address);
        }
    }
    while (addresses.Allowed.size() < AddressSample) {
        const std::string address = "https://www.shop" + std::to_string(random() % 1000000) +
                                    ".example.org/catalogue/item" +
                                    std::to_string(random() % 1000) + "/index.html?ref=1";
        if (lists.IsURLAllowed(address)) {
            addresses.Allowed.push_back(address);
        }
    }
    return addresses;
}

// --- Lists ------------------------------------------------------------------------------------

// The plain walk composed as TUrlLists::IsURLAllowed composes its matchers (the benchmark's
// lists hold no local documents).
struct TLinearLists {
    TLinearUrlMatcher Allow{TMaskRole::Allow};
    TLinearUrlMatcher Deny{TMaskRole::Deny};

    bool IsURLAllowed(std::string_view url) const {
        const std::string key = CandidateKey(url);
        if (!Allow.AnyMatches(key) || Deny.AnyMatches(key)) {
            return false;
        }
        const std::optional<std::string> serverForm = ServerSideForm(key);
        return !serverForm || !Deny.AnyMatches(*serverForm);
    }
};

void Fill(TUrlLists& lists, const std::vector<std::string>& masks) {
    lists.WhitelistAllowAll();
    for (const std::string& mask : masks) {
        lists.BlacklistAddURL(mask);
    }
}

void Fill(TLinearLists& lists, const std::vector<std::string>& masks) {
    lists.Allow.Add("*");
    for (const std::string& mask : masks) {
        lists.Deny.Add(NormaliseListEntry(mask));
    }
}

// Built once per size and kept for every benchmark of that size.
struct TFixture {
    TMaskSource Source;
    TUrlLists Compiled;
    TLinearLists Linear;
    TAddresses Addresses;
};

TFixture& FixtureFor(std::size_t count) {
    static std::map<std::size_t, std::unique_ptr<TFixture>> fixtures;
    std::unique_ptr<TFixture>& fixture = fixtures[count];
    if (!fixture) {
        fixture = std::make_unique<TFixture>();
        fixture->Source = LoadMasks(count);
        Fill(fixture->Compiled, fixture->Source.Masks);
        Fill(fixture->Linear, fixture->Source.Masks);
        fixture->Addresses = MakeAddresses(fixture->Source.Masks, fixture->Compiled);
        std::cerr << count << " masks: " << fixture->Source.Origin << ", "
                  << fixture->Addresses.Blocked.size() << " blocked and "
                  << fixture->Addresses.Allowed.size() << " allowed addresses\n";
    }
    return *fixture;
}

// --- Measurements -----------------------------------------------------------------------------

double Percentile(std::vector<double>& samples, double fraction) {
    const auto at = static_cast<std::ptrdiff_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + at, samples.end());
    return samples[static_cast<std::size_t>(at)];
}

// Each decision is timed on its own, so the counters show its spread, not only the mean.
template <typename Lists>
void Decide(benchmark::State& state, const Lists& lists, const TFixture& fixture) {
    const bool blocked = state.range(1) != 0;
    const std::vector<std::string>& addresses =
        blocked ? fixture.Addresses.Blocked : fixture.Addresses.Allowed;
    std::vector<double> microseconds;
    std::size_t next = 0;
    for (auto _ : state) {
        const std::string& address = addresses[next++ % addresses.size()];
        const auto start = TClock::now();
        const bool allowed = lists.IsURLAllowed(address);
        const auto end = TClock::now();
        benchmark::DoNotOptimize(allowed);
        if (allowed == blocked) {
            state.SkipWithError("the decision differs from the sample's");
            break;
        }
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    if (!microseconds.empty()) {
        state.counters["p50_us"] = Percentile(microseconds, 0.5);
        state.counters["p99_us"] = Percentile(microseconds, 0.99);
    }
    state.SetLabel(fixture.Source.Origin + (blocked ? ", blocked" : ", allowed"));
}

void BM_Decide(benchmark::State& state) {
    const TFixture& fixture = FixtureFor(static_cast<std::size_t>(state.range(0)));
    Decide(state, fixture.Compiled, fixture);
}

void BM_LinearDecide(benchmark::State& state) {
    const TFixture& fixture = FixtureFor(static_cast<std::size_t>(state.range(0)));
    Decide(state, fixture.Linear, fixture);
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap growth while the deny list is filled, and the time it takes, per mask. "beyond_text"
// leaves out the bytes of the masks' own (normalised) text.
template <typename Lists>
void Load(benchmark::State& state) {
    const TMaskSource& source = FixtureFor(static_cast<std::size_t>(state.range(0))).Source;
    std::size_t textBytes = 0;
    for (const std::string& mask : source.Masks) {
        textBytes += NormaliseListEntry(mask).size();
    }
    double bytes = 0;
    double seconds = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        const auto start = TClock::now();
        auto lists = std::make_unique<Lists>();
        Fill(*lists, source.Masks);
        seconds += std::chrono::duration<double>(TClock::now() - start).count();
        bytes = static_cast<double>(HeapInUse() - before);
        state.PauseTiming();
        lists.reset();
        state.ResumeTiming();
    }
    const auto masks = static_cast<double>(source.Masks.size());
    state.counters["ns_per_mask"] = seconds * 1e9 / static_cast<double>(state.iterations()) / masks;
    state.counters["bytes_per_mask"] = bytes / masks;
    state.counters["beyond_text"] = (bytes - static_cast<double>(textBytes)) / masks;
    state.counters["text_per_mask"] = static_cast<double>(textBytes) / masks;
    state.SetLabel(source.Origin);
}

void BM_Load(benchmark::State& state) {
    Load<TUrlLists>(state);
}

void BM_LinearLoad(benchmark::State& state) {
    Load<TLinearLists>(state);
}

// Arguments: list size, then 1 for addresses the list blocks and 0 for ones it lets through.
BENCHMARK(BM_Decide)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 0}})
    ->Iterations(20000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LinearDecide)
    ->ArgsProduct({{10000, 100000}, {1, 0}})
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
// The walk over a million masks takes a good part of a second per address: a small sample.
BENCHMARK(BM_LinearDecide)
    ->ArgsProduct({{1000000}, {1, 0}})
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(3)->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_LinearLoad)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
