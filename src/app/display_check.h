// Whether the window program can open windows at all, decided before Qt is
// started: without a display Qt ends with a platform-plugin error that tells an
// ssh user nothing useful.
#pragma once

#include <string>
#include <vector>

namespace kolt {

// True when DISPLAY or WAYLAND_DISPLAY names a display, or Qt is told which
// platform to use (QT_QPA_PLATFORM, or -platform on the command line: offscreen
// and VNC sessions need no display).
bool CanOpenWindows(const std::string& display, const std::string& waylandDisplay, const std::string& qpaPlatform,
                    const std::vector<std::string>& arguments);

}  // namespace kolt
