// The view of a document window.
#pragma once

#include "app/ui/main_frame.h"

namespace kolt {

class IPrompts;

// Makes the parameter view for each new document window.
ViewFactory ParameterViewFactory(CMarbenApp& app, IPrompts& prompts);

}  // namespace kolt
