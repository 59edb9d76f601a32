#pragma once

#include <gtest/gtest.h>

#include <string>

namespace plintor::test {

// Names each row of a table test after its name field, so that a failing row is its own CTest
// entry and shows up by name.
struct RowName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

}  // namespace plintor::test
