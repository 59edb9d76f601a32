// Cost of one navigation decision as the allow list grows.
#include <benchmark/benchmark.h>

#include <string>

#include "core/browser/UrlLists.h"

namespace {

using plintor::UrlLists;

// Masks shaped like an operator's: whole sites, sub-domains and single pages.
UrlLists listsWith(int maskCount) {
    UrlLists lists;
    for (int i = 0; i < maskCount; ++i) {
        switch (i % 3) {
            case 0:
                lists.whitelistAddUrl("http://site" + std::to_string(i) + ".example/*");
                break;
            case 1:
                lists.whitelistAddUrl("https://*.host" + std::to_string(i) + ".example/*");
                break;
            default:
                lists.whitelistAddUrl("http://www.page" + std::to_string(i) +
                                      ".example/docs/index.html");
                break;
        }
    }
    lists.blacklistAddUrl("*.EXE");
    lists.blacklistAddUrl("*/PRIVATE/*");
    return lists;
}

void decide(benchmark::State& state, const std::string& url) {
    const UrlLists lists = listsWith(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(lists.isUrlAllowed(url));
    }
    state.SetItemsProcessed(state.iterations());
}

// Allowed by the first mask: the best case of the walk.
void bmAllowedEarly(benchmark::State& state) {
    decide(state, "http://site0.example/a/page.html?x=1");
}

// Blocked: every mask is tried.
void bmBlocked(benchmark::State& state) {
    decide(state, "https://unknown.example/some/longer/path/page.html?x=1");
}

// A deny mask of 10 000 characters against an address of 1 MB: linear in the address.
void bmLongMaskLongAddress(benchmark::State& state) {
    UrlLists lists;
    lists.whitelistAllowAll();
    lists.blacklistAddUrl("*" + std::string(static_cast<std::size_t>(state.range(0)), 'A') + "B*");
    const std::string address = "http://host/" + std::string(1000000, 'a');
    for (auto _ : state) {
        benchmark::DoNotOptimize(lists.isUrlAllowed(address));
    }
    state.SetItemsProcessed(state.iterations());
}

void bmAddMasks(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(listsWith(static_cast<int>(state.range(0))));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(bmAllowedEarly)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(bmBlocked)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(bmAddMasks)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(bmLongMaskLongAddress)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
