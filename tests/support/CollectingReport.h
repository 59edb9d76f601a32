#pragma once

#include <string>
#include <vector>

#include "core/config/ConfigReport.h"

namespace plintor::test {

// Keeps what the loaders report, for the tests to look at.
class CollectingReport final : public ConfigReport {
public:
    std::vector<std::string> failures;
    std::vector<int> dropped;
    std::vector<std::string> warnings;
    std::vector<std::string> errors;

    void loadFailed(const std::exception& error) override { failures.push_back(error.what()); }
    void buttonDropped(int number, const std::string&) override { dropped.push_back(number); }
    void warn(const std::string& text) override { warnings.push_back(text); }
    void error(const std::string& text) override { errors.push_back(text); }
};

}  // namespace plintor::test
