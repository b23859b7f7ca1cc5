#include "app/texts.h"
#include "catalogue/models.h"
#include "document/marben_doc.h"

#include <gtest/gtest.h>

using namespace kolt;

TEST(Document, ConstructionTakesTheApplicationsModelAndFillsLimits) {
    CMarbenApp app;
    app.currentModel = 6;
    app.settings.hz50 = 0;
    app.linkedFlag = 1;
    CMarbenDoc doc(app);
    EXPECT_EQ(doc.versionLine, "KOLT Ver:1.2.080324");
    EXPECT_EQ(doc.docType, "Parameter");
    EXPECT_EQ(doc.model, 6);
    EXPECT_EQ(doc.hz50, 0);
    EXPECT_EQ(doc.linked, 1);
    EXPECT_EQ(doc.untitled, 0);
    EXPECT_EQ(doc.Title(), "");
    EXPECT_FALSE(doc.IsModified());
    for (const ParamDef& p : AllParams()) {
        const int slot = SlotOfNumber(p.number);
        EXPECT_EQ(doc.minBySlot[slot], p.min);
        EXPECT_EQ(doc.maxByNumber[p.number], p.max);
        EXPECT_EQ(doc.widthBySlot[slot], p.width);
        EXPECT_EQ(doc.widthByNumber[p.number], p.width);
    }
    EXPECT_EQ(doc.maxBySlot[111], 0);
    EXPECT_EQ(doc.maxBySlot[299], 0);
}

TEST(Document, NewParameterDocumentHoldsTheModelDefaults) {
    CMarbenApp app;
    app.currentModel = 2;
    app.settings.hz50 = 0;
    app.staging.names[0] = "stale";
    CMarbenDoc doc(app);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.Title(), "Untitled");
    EXPECT_EQ(doc.untitled, 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.names[0], "");  // names are copied only for a compare
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int number = NumberOfSlot(slot);
        const std::int32_t def = number < 0 ? 0 : DefaultValue(number, 2, false);
        EXPECT_EQ(doc.defaults[slot], def) << slot;
        EXPECT_EQ(doc.values[0][slot], def) << slot;
        EXPECT_EQ(doc.differs[slot], slot < kParamCount ? 1 : 0) << slot;
    }
}

TEST(Document, FreshReadTakesOnlyTheReadGroups) {
    CMarbenApp app;
    app.currentModel = 1;
    app.freshRead = 1;
    app.readF = 0;
    app.readC = 1;
    app.staging.values[0].fill(4242);
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    EXPECT_EQ(doc.values[0][0], DefaultValue(0, 1, true));
    EXPECT_EQ(doc.values[0][54], DefaultValue(54, 1, true));
    EXPECT_EQ(doc.values[0][55], 4242);
    EXPECT_EQ(doc.values[0][110], 4242);
    EXPECT_EQ(doc.values[0][111], 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(app.freshRead, 0);

    // Without the fresh-read flag the buffer is ignored.
    CMarbenDoc plain(app);
    plain.OnNewDocument();
    EXPECT_EQ(plain.values[0][55], DefaultValue(100, 1, true));
    EXPECT_FALSE(plain.IsModified());
}

TEST(Document, ReloadRefillsFromTheReadBufferAndTellsTheView) {
    CMarbenApp app;
    CMarbenDoc doc(app);
    doc.OnNewDocument();
    doc.stationTitles[2] = "title";
    int refreshes = 0, retitles = 0;
    doc.onRefreshView = [&] { ++refreshes; };
    doc.onRetitle = [&] { ++retitles; };

    app.currentModel = 9;
    app.settings.hz50 = 0;
    app.linkedFlag = 1;
    app.readF = 1;
    app.readC = 0;
    app.staging.values[0].fill(-3);
    doc.ReloadFromApp();
    EXPECT_EQ(doc.model, 9);
    EXPECT_EQ(doc.hz50, 0);
    EXPECT_EQ(doc.linked, 1);
    EXPECT_EQ(doc.values[0][10], -3);
    EXPECT_EQ(doc.values[0][60], DefaultValue(NumberOfSlot(60), 9, false));
    EXPECT_EQ(doc.defaults[60], DefaultValue(NumberOfSlot(60), 9, false));
    EXPECT_EQ(doc.values[0][200], 0);
    EXPECT_EQ(doc.differs[110], 1);
    EXPECT_EQ(doc.differs[111], 0);
    EXPECT_EQ(doc.stationTitles[2], "");  // the reload starts from a reset document
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(retitles, 1);
}

TEST(Document, CompareModesSetTheDiffersFlags) {
    CMarbenApp app;
    app.currentModel = 0;
    SlotValues defaults{};
    for (int slot = 0; slot < kParamCount; ++slot) defaults[slot] = DefaultValue(NumberOfSlot(slot), 0, true);

    // Mode 1: source 1 against the defaults.
    app.staging.compareMode = 1;
    app.staging.present = {1, 0, 0};
    app.staging.names = {"Station_007", "", ""};
    app.staging.values[0] = defaults;
    app.staging.values[0][3] += 1;
    app.staging.values[1].fill(77);  // left over from an earlier compare, not consulted
    {
        CMarbenDoc doc(app);
        doc.OnNewDocument();
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.names[0], "Station_007");
        for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(doc.differs[slot], slot == 3 ? 1 : 0) << slot;
        EXPECT_EQ(doc.values[1][0], 77);
    }

    // Mode 2: the staging area's flags as they are.
    app.staging.compareMode = 2;
    app.staging.differs.fill(0);
    app.staging.differs[200] = 1;
    {
        CMarbenDoc doc(app);
        doc.OnNewDocument();
        for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(doc.differs[slot], slot == 200 ? 1 : 0) << slot;
    }

    // Mode 3: only present sources count.
    app.staging.compareMode = 3;
    app.staging.present = {0, 1, 0};
    app.staging.values[0].fill(-1);
    app.staging.values[2].fill(-1);
    app.staging.values[1] = defaults;
    app.staging.values[1][70] = -9;
    app.staging.values[1][250] = 5;
    {
        CMarbenDoc doc(app);
        doc.OnNewDocument();
        for (int slot = 0; slot < kSlotCount; ++slot)
            EXPECT_EQ(doc.differs[slot], slot == 70 || slot == 250 ? 1 : 0) << slot;
    }
}
