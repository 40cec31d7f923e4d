#include "browser/recordrow.h"

#include "audio/audiomanager.h"
#include "browser/playbackbar.h"
#include "store/recordbrowser.h"

namespace RecordRow {

SRecordRow Of(const SBrowsedRecord& record, const QLocale& locale)
{
    SRecordRow row;
    // Only the last suffix goes: "Call 1.5.wav" is "Call 1.5". A name that is all extension
    // (".wav") keeps it, rather than showing nothing.
    const qsizetype dot = record.fileName.lastIndexOf(QLatin1Char('.'));
    row.name = dot > 0 ? record.fileName.left(dot) : record.fileName;
    if (record.recorded.isValid())
        row.recorded = locale.toString(record.recorded, QLocale::ShortFormat);
    if (record.samples) {
        // Rounded as the playback bar rounds its total, so the row and the bar agree.
        constexpr std::uint32_t rate = CAudioManager::kSampleRate;
        row.length = CPlaybackBar::FormatTime(*record.samples + rate / 2, rate);
    }
    QStringList parts;
    if (!record.task.isEmpty())
        parts << record.task;
    if (!record.contacts.isEmpty())
        parts << record.contacts.join(QStringLiteral(", "));
    QStringList tags;
    for (const SRecordTag& tag : record.tags)
        tags << tag.tag;
    if (!tags.isEmpty())
        parts << tags.join(QStringLiteral(", "));
    row.details = parts.join(QStringLiteral(" \u00B7 "));
    return row;
}

} // namespace RecordRow
