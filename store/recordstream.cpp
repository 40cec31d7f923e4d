#include "store/recordstream.h"

#include "store/nativepath.h"
#include "store/recordlisting.h"
#include "store/recordorder.h"
#include "store/zoneclock.h"

#include <QTimeZone>
#include <algorithm>

namespace RecordStream {
namespace {

// Records read and narrowed at a time: enough to spread the model's cost, few enough that the
// memory does not grow with the folders.
constexpr std::size_t kBatch = 256;

} // namespace

void Each(const QStringList& folders, const SRecordQuery& query, ELength length,
          const RecordReader::DecoderOpener& decoders,
          const std::function<void(const SBrowsedRecord&)>& take, CLengthCache* lengths)
{
    const CZoneClock clock(QTimeZone::systemTimeZone());
    const CRecordListing listing(folders);
    const std::vector<CRecordListing::SFile>& files = listing.Files();
    std::vector<RecordOrder::SKey> keys;
    keys.reserve(files.size());
    for (const CRecordListing::SFile& file : files)
        keys.push_back(RecordOrder::Key(NativePath::DisplayName(file.name)));
    const std::vector<std::size_t> order = RecordOrder::Arrange(keys);
    const bool text = CRecordBrowser::NarrowsByText(query);
    const std::optional<Period::SDayRange> days =
        Period::Days(query.period, query.today, query.custom);
    for (std::size_t from = 0; from < order.size(); from += kBatch) {
        RecordList batch;
        batch.reserve(kBatch);
        for (std::size_t i = from; i < std::min(order.size(), from + kBatch); ++i) {
            const std::size_t at = order[i];
            using RecordReader::EDetail;
            const EDetail detail = length == ELength::Always
                                       ? (keys[at].dated ? EDetail::Length : EDetail::Full)
                                       : (keys[at].dated ? EDetail::Info : EDetail::Dated);
            if (std::optional<RecordEntry> entry =
                    listing.Read(files[at], detail, decoders, keys[at].name, lengths))
                batch.push_back(std::move(*entry));
        }
        if (text) {
            const CRecordBrowser model(batch, clock.Zone());
            for (const int index : model.Records(query))
                take(model.Record(index));
            continue;
        }
        // Nothing but the set and the period: each record alone answers.
        for (RecordEntry& entry : batch) {
            const SBrowsedRecord record = CRecordBrowser::Browse(std::move(entry), clock);
            if (CRecordBrowser::InSetAndPeriod(record, query, days))
                take(record);
        }
    }
}

} // namespace RecordStream
