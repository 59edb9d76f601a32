// The single-instance claim is the named mutex "Plintor"; other programs reach the kiosk
// through a hidden top-level window of class "TFPlintor", which they find with FindWindowW.
// Sent messages arrive while the user-interface thread takes its messages (the toolkit's loop,
// or receiveAll), and wait in a queue until receiveAll hands them out.
#include <windows.h>

#include <memory>
#include <utility>

#include "platform/InstanceChannel.h"
#include "platform/win32/CopyDataText.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

constexpr wchar_t ChannelClass[] = L"TFPlintor";
constexpr UINT SendTimeLimitMs = 5000;

// The kiosk's message numbers are the system's where the system defines them.
static_assert(messageNumber(MessageKind::QueryEndSession) == WM_QUERYENDSESSION);
static_assert(messageNumber(MessageKind::CopyData) == WM_COPYDATA);

LRESULT CALLBACK channelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class WindowInstanceChannel final : public InstanceChannel {
public:
    explicit WindowInstanceChannel(UniqueHandle mutex) : m_mutex(std::move(mutex)) {}
    ~WindowInstanceChannel() override {
        if (m_window != nullptr) {
            DestroyWindow(m_window);
        }
    }

    bool createWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = channelProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = ChannelClass;
        RegisterClassW(&windowClass);  // fails harmlessly when a former channel registered it
        m_window = CreateWindowExW(0, ChannelClass, L"Plintor", WS_POPUP, 0, 0, 0, 0, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), this);
        return m_window != nullptr;
    }

    int descriptor() const override { return -1; }

    std::vector<ReceivedMessage> receiveAll() override {
        MSG message{};
        while (PeekMessageW(&message, m_window, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        std::vector<ReceivedMessage> received;
        for (KioskMessage& waiting : std::exchange(m_waiting, {})) {
            received.push_back({std::move(waiting), {}});  // window messages name no sender
        }
        return received;
    }

    bool answer(const std::string&, const KioskMessage&, std::string& error) override {
        error = "the Windows channel carries no answers";
        return false;
    }

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (messageKindOf(message)) {
            case MessageKind::CopyData: {
                const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
                m_waiting.push_back(
                    {MessageKind::CopyData, 0, 0,
                     data != nullptr ? copyDataText(data->lpData, data->cbData) : std::string()});
                return 1;
            }
            case MessageKind::RemoteQuit:
                m_waiting.push_back({MessageKind::RemoteQuit,
                                     static_cast<std::int32_t>(wParam),
                                     static_cast<std::int32_t>(lParam),
                                     {}});
                return 0;
            case MessageKind::QueryEndSession:
                m_waiting.push_back({MessageKind::QueryEndSession, 0, 0, {}});
                return 1;  // the session may end
            default:
                return DefWindowProcW(m_window, message, wParam, lParam);
        }
    }

private:
    UniqueHandle m_mutex;
    HWND m_window = nullptr;
    std::vector<KioskMessage> m_waiting;
};

LRESULT CALLBACK channelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* channel =
        reinterpret_cast<WindowInstanceChannel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (channel == nullptr || message == WM_NCCREATE) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return channel->handle(message, wParam, lParam);
}

}  // namespace

// Initial ownership, no security attributes; the mutex is held until the channel goes.
std::unique_ptr<InstanceChannel> claimWindowInstanceChannel() {
    UniqueHandle mutex(CreateMutexW(nullptr, TRUE, L"Plintor"));
    if (!mutex.isValid() || GetLastError() == ERROR_ALREADY_EXISTS) {
        return nullptr;
    }
    auto channel = std::make_unique<WindowInstanceChannel>(std::move(mutex));
    channel->createWindow();
    return channel;
}

// Sent, not posted, with a time limit: the sender learns that the kiosk took the message, and a
// hung kiosk does not hang the sender.
bool sendToWindowInstance(const KioskMessage& message, std::string& error) {
    const HWND kiosk = FindWindowW(ChannelClass, nullptr);
    if (kiosk == nullptr) {
        error = "no kiosk is running for this user";
        return false;
    }
    DWORD_PTR result = 0;
    LRESULT sent = 0;
    if (message.kind == MessageKind::CopyData) {
        std::wstring text = toWide(message.text);
        COPYDATASTRUCT data{};
        data.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        data.lpData = text.data();
        sent = SendMessageTimeoutW(kiosk, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                   SMTO_ABORTIFHUNG, SendTimeLimitMs, &result);
    } else {
        sent = SendMessageTimeoutW(
            kiosk, messageNumber(message.kind), static_cast<WPARAM>(message.wParam),
            static_cast<LPARAM>(message.lParam), SMTO_ABORTIFHUNG, SendTimeLimitMs, &result);
    }
    if (sent == 0) {
        error = "the kiosk did not answer";
        return false;
    }
    return true;
}

}  // namespace plintor
