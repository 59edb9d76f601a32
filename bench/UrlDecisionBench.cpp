// Cost of one navigation decision as the allow list grows.
#include <benchmark/benchmark.h>

#include <string>

#include "core/browser/UrlLists.h"

namespace {

using plintor::TUrlLists;

// Masks shaped like an operator's: whole sites, sub-domains and single pages.
TUrlLists ListsWith(int maskCount) {
    TUrlLists lists;
    for (int i = 0; i < maskCount; ++i) {
        switch (i % 3) {
            case 0:
                lists.WhitelistAddURL("http://site" + std::to_string(i) + ".example/*");
                break;
            case 1:
                lists.WhitelistAddURL("https://*.host" + std::to_string(i) + ".example/*");
                break;
            default:
                lists.WhitelistAddURL("http://www.page" + std::to_string(i) +
                                      ".example/docs/index.html");
                break;
        }
    }
    lists.BlacklistAddURL("*.EXE");
    lists.BlacklistAddURL("*/PRIVATE/*");
    return lists;
}

void Decide(benchmark::State& state, const std::string& url) {
    const TUrlLists lists = ListsWith(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(lists.IsURLAllowed(url));
    }
    state.SetItemsProcessed(state.iterations());
}

// Allowed by the first mask: the best case of the walk.
void BM_AllowedEarly(benchmark::State& state) {
    Decide(state, "http://site0.example/a/page.html?x=1");
}

// Blocked: every mask is tried.
void BM_Blocked(benchmark::State& state) {
    Decide(state, "https://unknown.example/some/longer/path/page.html?x=1");
}

// A deny mask of 10 000 characters against an address of 1 MB: linear in the address.
void BM_LongMaskLongAddress(benchmark::State& state) {
    TUrlLists lists;
    lists.WhitelistAllowAll();
    lists.BlacklistAddURL("*" + std::string(static_cast<std::size_t>(state.range(0)), 'A') + "B*");
    const std::string address = "http://host/" + std::string(1000000, 'a');
    for (auto _ : state) {
        benchmark::DoNotOptimize(lists.IsURLAllowed(address));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_AddMasks(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ListsWith(static_cast<int>(state.range(0))));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_AllowedEarly)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(BM_Blocked)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddMasks)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongMaskLongAddress)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
