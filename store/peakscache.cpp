#include "store/peakscache.h"

#include "audio/audiomanager.h"

#include <QMetaObject>
#include <exception>

CPeaksCache::CPeaksCache(const CAudioManager& audio, QObject* parent)
    : QObject(parent), m_audio(audio), m_worker([this] { Work(); })
{}

CPeaksCache::~CPeaksCache()
{
    if (m_cancel)
        *m_cancel = true;
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    // A Collect posted meanwhile is dropped with the object.
    m_worker.join();
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
    {
        const std::lock_guard lock(m_mutex);
        m_job = SJob{path, signature, m_cancel};
    }
    m_wake.notify_one();
}

void CPeaksCache::Work()
{
    for (;;) {
        SJob job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_job; });
            if (m_quit)
                return;
            job = std::move(*m_job);
            m_job.reset();
        }
        std::shared_ptr<const SWaveformPeaks> peaks;
        try {
            std::optional<SWaveformPeaks> computed =
                WaveformPeaks::Compute(m_audio, job.path.string(), job.cancel.get());
            if (!computed)
                continue; // cancelled: a later request took over
            peaks = std::make_shared<const SWaveformPeaks>(std::move(*computed));
        } catch (const std::exception&) {
            // A record that cannot be read draws as nothing until it changes.
            peaks = std::make_shared<const SWaveformPeaks>();
        }
        {
            const std::lock_guard lock(m_mutex);
            m_done.push_back({std::move(job.path), job.signature, std::move(peaks)});
        }
        // By name: the call crosses to this object's thread through Qt's own queue.
        QMetaObject::invokeMethod(this, "Collect", Qt::QueuedConnection);
    }
}

void CPeaksCache::Collect()
{
    std::vector<SEntry> done;
    {
        const std::lock_guard lock(m_mutex);
        done.swap(m_done);
    }
    for (SEntry& result : done)
        Finish(std::move(result));
}

void CPeaksCache::Finish(SEntry result)
{
    if (m_running == result.path)
        m_running.reset();
    const std::filesystem::path path = result.path;
    m_entries.push_front(std::move(result));
    while (m_entries.size() > kKept)
        m_entries.pop_back();
    emit Ready(path);
}
