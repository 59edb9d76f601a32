#pragma once

#include <string>

namespace plintor::test {

// A row of an address table: an address (or a host, a mask, a list entry) and what the rule
// under test makes of it: whether it passes, the text it becomes, or none when the rule refuses
// it. RowName names the row.
template <class Expected>
struct AddressCase {
    const char* name;
    std::string address;
    Expected expected;
};

}  // namespace plintor::test
