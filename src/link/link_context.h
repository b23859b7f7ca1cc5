// What every link procedure works with: the application state, its one port,
// the user and the window program's document host.
#pragma once

namespace kolt {

class CMarbenApp;
class CModbusPort;
class IPrompts;
class IDocumentHost;

struct LinkContext {
    CMarbenApp& app;
    CModbusPort& port;
    IPrompts& prompts;
    IDocumentHost& host;
};

}  // namespace kolt
