#include "app/ui/view_factory.h"

namespace kolt {

ViewFactory ParameterViewFactory(CMarbenApp&, IPrompts&) {
    // The parameter view joins here once it exists; until then a document
    // window opens without one.
    return {};
}

}  // namespace kolt
