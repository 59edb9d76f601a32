#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace plintor::test {

// What the kiosk asked of the fake platform, one "port.call(arguments)" entry per call, in order.
class CallLog {
public:
    void add(std::string call) { m_calls.push_back(std::move(call)); }
    const std::vector<std::string>& calls() const { return m_calls; }
    long count(const std::string& call) const {
        return std::count(m_calls.begin(), m_calls.end(), call);
    }
    void clear() { m_calls.clear(); }

private:
    std::vector<std::string> m_calls;
};

}  // namespace plintor::test
