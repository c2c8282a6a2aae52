#pragma once
// The profile refreshes of one dialog, each on a thread of its own so that the dialog
// never waits for a printer: at most one per queue in the life of the dialog. The dialog
// hears on its main loop when each has ended; the end of this object waits for those
// still running, and so for the helper runs they started.

#include <glib.h>

#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "pde-protocol.hpp"

namespace t48::dialog {

class ProfileRefreshes {
public:
    // `ended` runs on the main loop after each refresh has ended.
    explicit ProfileRefreshes(std::function<void()> ended);
    ~ProfileRefreshes();
    ProfileRefreshes(const ProfileRefreshes&) = delete;
    ProfileRefreshes& operator=(const ProfileRefreshes&) = delete;

    // Starts `refresh` for `queue` unless a refresh of that queue has been started before.
    void start(const std::string& queue, pde::PDEProfileRefresh refresh);
    // True while any refresh runs.
    bool running() const { return running_ > 0; }

private:
    void collectEnded();

    std::function<void()> ended_;
    std::set<std::string> started_;
    std::vector<std::thread> threads_;
    int running_ = 0;
    // Each thread writes one byte when its refresh has ended; the main loop watches.
    int endedPipe_[2] = {-1, -1};
    guint endedWatch_ = 0;
};

}  // namespace t48::dialog
