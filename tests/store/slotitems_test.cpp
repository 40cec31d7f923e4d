#include "store/locationlist.h"
#include "store/slotitems.h"
#include "store/slotkind.h"
#include "store/tagcatalogue.h"
#include "support/fakepimsource.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every kind lists its own source's items, each once and none empty: a slot adds its items
// one by one, so a repeat or an empty line would stand in the slot as a row of its own.
TEST(SlotItemsTest, EachKindListsItsSourceOnceWithoutEmptyItems)
{
    QTemporaryDir dir;
    const CLocationList locations(dir.path());
    ASSERT_TRUE(WriteAll(locations.Path(), "Office\n\nHome\nOffice~1~2\n"));
    ASSERT_TRUE(WriteAll(dir.filePath(u"groups.dat"_qs), "[Priority]\nHigh\nLow\n[Colour]\nRed\n"));
    const CTagCatalogue catalogue(dir.path() + u"/"_qs);
    CFakePimSource pim;
    pim.tasks = {{u"Call back"_qs, {}}, {u" "_qs, {}}, {u"Call back"_qs, {}}};
    pim.contacts = {{u"Ann"_qs, {}, u"Lee"_qs}, {{}, {}, {}}};
    const SSlotSources sources{pim, locations, catalogue};

    const auto items = [&](const QString& kind) {
        return SlotItems::Of(CSlotKind(kind), sources);
    };
    EXPECT_EQ(items(u"Task"_qs), QStringList{u"Call back"_qs});
    EXPECT_EQ(items(u"Contacts"_qs), QStringList{u"Ann Lee"_qs});
    EXPECT_EQ(items(u"Location"_qs), (QStringList{u"Office"_qs, u"Home"_qs}));
    EXPECT_EQ(items(u"Priority"_qs), (QStringList{u"High"_qs, u"Low"_qs}));
    EXPECT_TRUE(items(u"None"_qs).isEmpty());
    EXPECT_TRUE(items(u"Gone"_qs).isEmpty()); // a group no longer in the catalogue
}

} // namespace
