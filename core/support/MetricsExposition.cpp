#include "core/support/MetricsExposition.h"

#include "core/support/TextCodec.h"

namespace plintor {
namespace {

std::string escaped(std::string_view text, bool quote) {
    const std::string utf8 = decodeUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' && quote) {
            out += "\\\"";
        } else {
            out += c;
        }
    }
    return out;
}

const char* typeName(MetricsExposition::Type type) {
    return type == MetricsExposition::Type::Counter ? "counter" : "gauge";
}

}  // namespace

std::string metricsLabelValue(std::string_view value) {
    return escaped(value, true);
}

std::string metricsHelpText(std::string_view help) {
    return escaped(help, false);
}

void MetricsExposition::add(std::string_view name, Type type, std::string_view help,
                            std::int64_t value, const Labels& labels) {
    add(name, type, help, {{labels, value}});
}

void MetricsExposition::add(std::string_view name, Type type, std::string_view help,
                            const std::vector<std::pair<Labels, std::int64_t>>& samples) {
    m_text.append("# HELP ").append(name).append(" ").append(metricsHelpText(help)).append("\n");
    m_text.append("# TYPE ").append(name).append(" ").append(typeName(type)).append("\n");
    for (const auto& [labels, value] : samples) {
        appendSample(name, labels, value);
    }
}

void MetricsExposition::appendSample(std::string_view name, const Labels& labels,
                                     std::int64_t value) {
    m_text.append(name);
    if (!labels.empty()) {
        m_text += '{';
        for (std::size_t i = 0; i < labels.size(); ++i) {
            m_text.append(i == 0 ? "" : ",").append(labels[i].first).append("=\"");
            m_text.append(metricsLabelValue(labels[i].second)).append("\"");
        }
        m_text += '}';
    }
    m_text.append(" ").append(std::to_string(value)).append("\n");
}

}  // namespace plintor
