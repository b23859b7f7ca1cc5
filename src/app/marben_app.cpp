#include "app/marben_app.h"

#include "app/texts.h"

namespace kolt {

std::string CMarbenApp::SettingsPath() const {
    return installDir + "/" + text::kSettingsFileName;
}

}  // namespace kolt
