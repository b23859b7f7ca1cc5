#include "catalogue/models.h"
#include "document/marben_doc.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kolt;

TEST(Document, NewParameterDocumentHoldsTheModelDefaults) {
    CMarbenApp app;
    app.currentModel = 2;
    app.settings.hz50 = 0;
    app.staging.names[0] = "stale";
    app.staging.values[0].fill(4242);  // no fresh read: not consulted
    CMarbenDoc doc(app);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(std::tuple(doc.Title(), doc.untitled, doc.IsModified()), std::tuple("Untitled", 1, false));
    EXPECT_EQ(doc.names[0], "");  // names are copied only for a compare
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int number = NumberOfSlot(slot);
        const std::int32_t def = number < 0 ? 0 : DefaultValue(number, 2, false);
        EXPECT_EQ(std::tuple(doc.defaults[slot], doc.values[0][slot], doc.differs[slot]),
                  std::tuple(def, def, number < 0 ? 0 : 1))
            << slot;
    }
}
