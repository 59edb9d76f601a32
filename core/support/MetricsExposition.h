#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plintor {

// Metrics in Prometheus's text exposition format, as node_exporter's textfile collector reads
// them: each metric once, with its # HELP and # TYPE lines before its samples.
class MetricsExposition {
public:
    enum class Type { Counter, Gauge };
    using Labels = std::vector<std::pair<std::string, std::string>>;  // name, value

    // A metric with one sample. `name` and the label names are the program's own (valid
    // metric names); the help text and the label values may hold anything.
    void add(std::string_view name, Type type, std::string_view help, std::int64_t value,
             const Labels& labels = {});
    // A metric with one sample per label set.
    void add(std::string_view name, Type type, std::string_view help,
             const std::vector<std::pair<Labels, std::int64_t>>& samples);

    // The text, ending with a line feed.
    const std::string& text() const { return m_text; }

private:
    void appendSample(std::string_view name, const Labels& labels, std::int64_t value);

    std::string m_text;
};

// A label value as the format writes it between quotes: backslash, quote and line feed
// escaped, and bytes that are not UTF-8 replaced, which the format does not allow.
std::string metricsLabelValue(std::string_view value);
// A help text: backslash and line feed escaped, bytes that are not UTF-8 replaced.
std::string metricsHelpText(std::string_view help);

}  // namespace plintor
