#include "platform/win32/UniqueHandle.h"

#include <windows.h>

namespace plintor {

bool UniqueHandle::isValid() const {
    return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE;
}

bool UniqueHandle::reset(void* handle) {
    const bool closed = !isValid() || CloseHandle(m_handle) != 0;
    m_handle = handle;
    return closed;
}

}  // namespace plintor
