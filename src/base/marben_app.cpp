#include "base/marben_app.h"

#include "base/texts.h"

namespace kolt {

std::string CMarbenApp::SettingsPath() const {
    return installDir + "/" + text::kSettingsFileName;
}

void TakeLinkState(const CMarbenApp& from, CMarbenApp& to) {
    to.linkedFlag = from.linkedFlag;
    to.currentStation = from.currentStation;
    to.linkedCount = from.linkedCount;
    to.linkedList = from.linkedList;
    to.softwareVersion = from.softwareVersion;
    to.currentModel = from.currentModel;
}

void TakeProcedureResults(const CMarbenApp& from, CMarbenApp& to) {
    TakeLinkState(from, to);
    to.settings.comPort = from.settings.comPort;
    to.settings.baudRate = from.settings.baudRate;
    to.settings.dataBits = from.settings.dataBits;
    to.settings.parity = from.settings.parity;
    to.settings.stopBits = from.settings.stopBits;
    to.settings.readTimeoutMs = from.settings.readTimeoutMs;
    to.settings.charGapMs = from.settings.charGapMs;
    to.settings.echo = from.settings.echo;
    to.settings.rs485 = from.settings.rs485;
    to.settings.netPort = from.settings.netPort;
    to.settings.recentNetPorts = from.settings.recentNetPorts;
    to.staging = from.staging;
    to.readF = from.readF;
    to.readC = from.readC;
    to.freshRead = from.freshRead;
    to.readVersion = from.readVersion;
    to.readCapacity = from.readCapacity;
    to.writeBasic = from.writeBasic;
    to.writeAdvanced = from.writeAdvanced;
    to.cancelFlag = from.cancelFlag;
}

}  // namespace kolt
