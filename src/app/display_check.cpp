#include "app/display_check.h"

namespace kolt {

bool CanOpenWindows(const std::string& display, const std::string& waylandDisplay, const std::string& qpaPlatform,
                    const std::vector<std::string>& arguments) {
    if (!display.empty() || !waylandDisplay.empty() || !qpaPlatform.empty()) return true;
    for (const std::string& arg : arguments) {
        if (arg == "-platform" || arg == "--platform" || arg.starts_with("-platform=") ||
            arg.starts_with("--platform="))
            return true;
    }
    return false;
}

}  // namespace kolt
