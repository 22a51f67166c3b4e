#include "responder.h"

namespace bench {

namespace {

// A message box of this process, found without sending a message to any
// window: the main thread need not be answering.
HWND FindBox()
{
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, "#32770", nullptr))) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(h) && GetDlgItem(h, 0xFFFF))
            return h;
    }
    return nullptr;
}

}  // namespace

Responder::Responder(std::vector<Action> actions) : m_actions(std::move(actions)), m_thread([this] { Run(); }) {}

const std::vector<Box>& Responder::Finish()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    return m_boxes;
}

void Responder::Run()
{
    while (!m_stop) {
        HWND h = FindBox();
        if (!h) {
            Sleep(20);
            continue;
        }
        Sleep(50);   // let it finish painting
        Box box = ReadBox(h);
        size_t i = m_boxes.size();
        m_boxes.push_back(box);
        Press(h, i < m_actions.size() ? m_actions[i](box) : IDCANCEL);
        WaitGone(h, 5000);
    }
}

Responder::Action Answer(int button)
{
    return [button](const Box&) { return button; };
}

}  // namespace bench
