// Answers the message boxes that this process shows, from another thread:
// for tests that run one of setup's steps in their own process while the
// step asks the user.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "driver.h"

namespace bench {

class Responder {
public:
    // The i-th box goes to actions[i], which returns the button to press;
    // boxes beyond the list are cancelled.
    using Action = std::function<int(const Box&)>;
    explicit Responder(std::vector<Action> actions);
    ~Responder() { Finish(); }

    // Stops answering; the boxes seen, in order.
    const std::vector<Box>& Finish();

private:
    void Run();

    std::vector<Action> m_actions;
    std::vector<Box> m_boxes;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// An answer that presses one button.
Responder::Action Answer(int button);

}  // namespace bench
