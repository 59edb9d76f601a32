#pragma once

namespace plintor {

// Owns a kernel object handle (process, thread, mutex, job, token, file) and closes it.
// Null and INVALID_HANDLE_VALUE both mean "none".
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(void* handle) : m_handle(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    void* get() const { return m_handle; }
    bool isValid() const;
    void* release() {
        void* handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    // Closes the handle held (true when there was none or it closed) and takes `handle`.
    bool reset(void* handle = nullptr);

private:
    void* m_handle = nullptr;
};

}  // namespace plintor
