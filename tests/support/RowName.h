#pragma once

#include <gtest/gtest.h>

#include <string>

namespace plintor::test {

// Names each row of a table test after its Name field, so that a failing row is its own CTest
// entry and shows up by name.
struct TRowName {
    template <class TRow>
    std::string operator()(const ::testing::TestParamInfo<TRow>& info) const {
        return info.param.Name;
    }
};

}  // namespace plintor::test
