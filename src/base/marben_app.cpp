#include "base/marben_app.h"

#include "base/texts.h"

namespace kolt {

std::string CMarbenApp::SettingsPath() const {
    return installDir + "/" + text::kSettingsFileName;
}

}  // namespace kolt
