#include "shell/dialog_host.h"

namespace cindral::shell {

app::Point DialogHost::place(int width, int height) const {
    RECT r{};
    GetWindowRect(owner, &r);
    return app::dialogPlacement(IsWindowVisible(owner) != FALSE, app::Point{r.left, r.top},
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width,
                                height);
}

}  // namespace cindral::shell
