#include "app/ui/view_factory.h"

#include "view/ui/marben_view.h"

namespace kolt {

ViewFactory ParameterViewFactory(CMarbenApp& app, IPrompts& prompts) {
    return [&app, &prompts](CMarbenDoc& doc, QWidget* parent) -> QWidget* {
        auto* view = new CMarbenView(&doc, &app, &prompts, parent);
        view->setObjectName(QStringLiteral("parameterView"));
        return view;
    };
}

}  // namespace kolt
