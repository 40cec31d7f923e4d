#include "store/peakscache.h"

#include "audio/audiomanager.h"

#include <QMetaObject>
#include <exception>

CPeaksCache::CPeaksCache(const CAudioManager& audio, QObject* parent)
    : QObject(parent), m_audio(audio)
{
    m_pool.setMaxThreadCount(1);
}

CPeaksCache::~CPeaksCache()
{
    if (m_cancel)
        *m_cancel = true;
    m_pool.waitForDone();
}

std::optional<CPeaksCache::SSignature> CPeaksCache::SignatureOf(const std::filesystem::path& path)
{
    std::error_code error;
    SSignature signature;
    signature.size = std::filesystem::file_size(path, error);
    if (error)
        return std::nullopt;
    signature.modified = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    return signature;
}

std::shared_ptr<const SWaveformPeaks> CPeaksCache::Peaks(const std::filesystem::path& path)
{
    const std::optional<SSignature> signature = SignatureOf(path);
    if (!signature)
        return std::make_shared<const SWaveformPeaks>(); // gone: nothing to draw
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->path != path)
            continue;
        if (it->signature == *signature) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return it->peaks;
        }
        m_entries.erase(it); // the file changed since
        break;
    }
    if (m_running != path)
        Start(path, *signature);
    return nullptr;
}

void CPeaksCache::Start(const std::filesystem::path& path, const SSignature& signature)
{
    if (m_cancel)
        *m_cancel = true; // the record selected before matters no longer
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_running = path;
    m_pool.start([this, path, signature, cancel = m_cancel, &audio = m_audio] {
        std::shared_ptr<const SWaveformPeaks> peaks;
        try {
            std::optional<SWaveformPeaks> computed =
                WaveformPeaks::Compute(audio, path.string(), cancel.get());
            if (!computed)
                return; // cancelled: a later request took over
            peaks = std::make_shared<const SWaveformPeaks>(std::move(*computed));
        } catch (const std::exception&) {
            // A record that cannot be read draws as nothing until it changes.
            peaks = std::make_shared<const SWaveformPeaks>();
        }
        // The cache waits for this task before it goes, so `this` is alive to post to; a
        // queued call to an object destroyed meanwhile would be dropped anyway.
        QMetaObject::invokeMethod(
            this, [this, path, signature, peaks] { Finish(path, signature, peaks); },
            Qt::QueuedConnection);
    });
}

void CPeaksCache::Finish(const std::filesystem::path& path, const SSignature& signature,
                         std::shared_ptr<const SWaveformPeaks> peaks)
{
    if (m_running == path)
        m_running.reset();
    m_entries.push_front({path, signature, std::move(peaks)});
    while (m_entries.size() > kKept)
        m_entries.pop_back();
    emit Ready(path);
}
