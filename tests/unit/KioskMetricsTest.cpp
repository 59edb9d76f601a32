#include "core/app/KioskMetrics.h"

#include <gtest/gtest.h>

#include "core/support/MetricsExposition.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

struct EscapeCase {
    const char* name;
    std::string value;
    std::string label;  // as written between a label's quotes
    std::string help;   // as written in a # HELP line
};

const EscapeCase EscapeCases[] = {
    {"Plain", "2.50.6", "2.50.6", "2.50.6"},
    {"Empty", "", "", ""},
    {"Backslash", R"(a\b)", R"(a\\b)", R"(a\\b)"},
    {"QuoteOnlyInLabels", R"(say "hi")", R"(say \"hi\")", R"(say "hi")"},
    {"LineFeedCannotEndTheLine", "a\nb", R"(a\nb)", R"(a\nb)"},
    {"EscapesAreNotReadBack", R"(\n)", R"(\\n)", R"(\\n)"},
    {"Utf8Passes", "caf\xC3\xA9", "caf\xC3\xA9", "caf\xC3\xA9"},
    {"StrayByteReplaced", "a\xFFz", "a\xEF\xBF\xBDz", "a\xEF\xBF\xBDz"},
};

class EscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeTest, ValueIsWrittenSoTheLineStaysOneSample) {
    EXPECT_EQ(metricsLabelValue(GetParam().value), GetParam().label);
    EXPECT_EQ(metricsHelpText(GetParam().value), GetParam().help);
}

INSTANTIATE_TEST_SUITE_P(Rows, EscapeTest, ::testing::ValuesIn(EscapeCases), test::RowName{});

TEST(MetricsExpositionTest, EachMetricHasItsHelpAndTypeOnceBeforeItsSamples) {
    MetricsExposition out;
    out.add("a_total", MetricsExposition::Type::Counter, "As.", 3);
    out.add("b", MetricsExposition::Type::Gauge, "Bs.",
            {{{{"list", "allow"}, {"kind", "x\"y"}}, 1}, {{{"list", "deny"}}, -2}});
    EXPECT_EQ(out.text(),
              "# HELP a_total As.\n# TYPE a_total counter\na_total 3\n"
              "# HELP b Bs.\n# TYPE b gauge\n"
              "b{list=\"allow\",kind=\"x\\\"y\"} 1\nb{list=\"deny\"} -2\n");
}

KioskMetrics runningKiosk() {
    KioskMetrics metrics;
    metrics.startTime = 1775000000;
    metrics.memoryBytes = 734003200;
    metrics.engineVersion = "2.50.6";
    KioskCounters& counters = metrics.counters;
    for (int i = 0; i < 3; ++i) {
        counters.pageLoaded();
    }
    counters.navigationBlocked();
    counters.requestsBlocked(5);
    counters.requestsBlocked(2);
    counters.downloadBlocked();
    counters.rendererRestarted();
    counters.homeReturned();
    counters.homeReturned();
    counters.listsLoaded({.allowMasks = 12, .denyMasks = 40000, .loadedAt = 1775000042});
    return metrics;
}

TEST(KioskMetricsTest, RunningKioskShowsEveryMetric) {
    EXPECT_EQ(kioskMetricsText(runningKiosk()),
              "# HELP plintor_up 1 while the kiosk runs, 0 once it has ended.\n"
              "# TYPE plintor_up gauge\nplintor_up 1\n"
              "# HELP plintor_start_time_seconds When the kiosk started.\n"
              "# TYPE plintor_start_time_seconds gauge\nplintor_start_time_seconds 1775000000\n"
              "# HELP plintor_page_loads_total Pages the visitor's browser loaded.\n"
              "# TYPE plintor_page_loads_total counter\nplintor_page_loads_total 3\n"
              "# HELP plintor_blocked_navigations_total Navigations the allow and deny lists "
              "refused.\n"
              "# TYPE plintor_blocked_navigations_total counter\n"
              "plintor_blocked_navigations_total 1\n"
              "# HELP plintor_blocked_requests_total Requests of allowed pages the deny list "
              "stopped.\n"
              "# TYPE plintor_blocked_requests_total counter\nplintor_blocked_requests_total 7\n"
              "# HELP plintor_blocked_downloads_total Downloads refused.\n"
              "# TYPE plintor_blocked_downloads_total counter\n"
              "plintor_blocked_downloads_total 1\n"
              "# HELP plintor_renderer_restarts_total Times the page came back after its "
              "renderer ended or hung.\n"
              "# TYPE plintor_renderer_restarts_total counter\n"
              "plintor_renderer_restarts_total 1\n"
              "# HELP plintor_idle_returns_total Returns to the home page.\n"
              "# TYPE plintor_idle_returns_total counter\nplintor_idle_returns_total 2\n"
              "# HELP plintor_memory_bytes Memory of the kiosk's processes together "
              "(proportional set size).\n"
              "# TYPE plintor_memory_bytes gauge\nplintor_memory_bytes 734003200\n"
              "# HELP plintor_list_masks Masks of the allow and deny lists in force.\n"
              "# TYPE plintor_list_masks gauge\n"
              "plintor_list_masks{list=\"allow\"} 12\nplintor_list_masks{list=\"deny\"} 40000\n"
              "# HELP plintor_last_list_load_timestamp_seconds When the lists in force were "
              "loaded; 0 before they were.\n"
              "# TYPE plintor_last_list_load_timestamp_seconds gauge\n"
              "plintor_last_list_load_timestamp_seconds 1775000042\n"
              "# HELP plintor_engine_info The browser engine's version.\n"
              "# TYPE plintor_engine_info gauge\nplintor_engine_info{version=\"2.50.6\"} 1\n");
}

// The last file of a run, and what is not known yet or at all.
TEST(KioskMetricsTest, EndedKioskIsDownAndUnknownMemoryIsLeftOut) {
    KioskMetrics metrics = runningKiosk();
    metrics.up = false;
    metrics.memoryBytes = -1;
    metrics.engineVersion = "2.50\"\n";
    const std::string text = kioskMetricsText(metrics);
    EXPECT_NE(text.find("\nplintor_up 0\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("plintor_memory_bytes"), std::string::npos) << text;
    EXPECT_NE(text.find("plintor_engine_info{version=\"2.50\\\"\\n\"} 1\n"), std::string::npos)
        << text;
}

TEST(KioskCountersTest, CountsOnlyGoForward) {
    KioskCounters counters;
    counters.requestsBlocked(3);
    counters.requestsBlocked(0);
    counters.requestsBlocked(-4);
    EXPECT_EQ(counters.blockedRequests(), 3u);
}

TEST(KioskCountersTest, ReturnListenerHearsEachReturnAfterItIsCounted) {
    KioskCounters counters;
    std::vector<std::uint64_t> heard;
    counters.setReturnListener([&] { heard.push_back(counters.homeReturns()); });
    counters.homeReturned();
    counters.homeReturned();
    counters.setReturnListener(nullptr);
    counters.homeReturned();
    EXPECT_EQ(heard, (std::vector<std::uint64_t>{1, 2}));
    EXPECT_EQ(counters.homeReturns(), 3u);
}

}  // namespace
}  // namespace plintor
