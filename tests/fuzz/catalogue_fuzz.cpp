// Catalogue files of any content: every listing agrees with the others, and a change keeps
// every line it does not touch.

#include "fuzzsupport.h"
#include "store/locationlist.h"
#include "store/tagcatalogue.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString home = QString::fromStdString(fuzzsupport::Scratch().string());
    fuzzsupport::WriteFile(fuzzsupport::Scratch() / CTagCatalogue::kFileName, data, size);
    fuzzsupport::WriteFile(fuzzsupport::Scratch() / CLocationList::kFileName, data, size);

    const CTagCatalogue tags(home);
    const QStringList groups = tags.ListGroups();
    const auto all = tags.ListAll();
    if (all.size() != groups.size())
        fuzzsupport::Fail("the one-pass listing has another number of groups");
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i].first != groups[i] || all[i].second != tags.ListTagsOfGroup(groups[i]))
            fuzzsupport::Fail("the one-pass listing differs from the group by group one");
    }
    const bool had = groups.contains(QStringLiteral("Fuzzed"));
    const ECatalogueResult added = tags.AddGroup(QStringLiteral("Fuzzed"));
    if (added == ECatalogueResult::Ok &&
        (had || tags.ListGroups() != groups + QStringList{"Fuzzed"}))
        fuzzsupport::Fail("adding a group changed the other groups");

    const CLocationList locations(home);
    const QStringList before = locations.FillLocations();
    if (locations.AddLocation(QStringLiteral("Fuzzed")) &&
        locations.FillLocations() != before + QStringList{"Fuzzed"})
        fuzzsupport::Fail("adding a location changed the other locations");
    return 0;
}
