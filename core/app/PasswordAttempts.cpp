#include "core/app/PasswordAttempts.h"

#include <algorithm>

namespace plintor {

std::chrono::milliseconds PasswordAttempts::waitAfter(int wrongInARow) {
    if (wrongInARow < FreeAttempts) {
        return std::chrono::milliseconds(0);
    }
    std::chrono::milliseconds wait = FirstWait;
    for (int doubled = FreeAttempts; doubled < wrongInARow && wait < LongestWait; ++doubled) {
        wait *= 2;
    }
    return std::min(wait, LongestWait);
}

std::chrono::milliseconds PasswordAttempts::waitLeft() const {
    const auto waited = m_clock.now() - m_lastWrong;
    const auto left = waitAfter(m_wrongInARow) - waited;
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::ceil<std::chrono::milliseconds>(left));
}

void PasswordAttempts::wrongEntry() {
    ++m_wrongInARow;
    m_lastWrong = m_clock.now();
}

}  // namespace plintor
