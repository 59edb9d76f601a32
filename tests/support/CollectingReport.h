#pragma once

#include <string>
#include <vector>

#include "core/config/IConfigReport.h"

namespace plintor::test {

// Keeps what the loaders report, for the tests to look at.
class TCollectingReport final : public IConfigReport {
public:
    std::vector<std::string> Failures;
    std::vector<int> Dropped;
    std::vector<std::string> Warnings;

    void LoadFailed(const std::exception& error) override { Failures.push_back(error.what()); }
    void ButtonDropped(int number, const std::string&) override { Dropped.push_back(number); }
    void Warn(const std::string& text) override { Warnings.push_back(text); }
};

}  // namespace plintor::test
