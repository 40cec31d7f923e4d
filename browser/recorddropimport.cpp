#include "browser/recorddropimport.h"

#include "browser/browserprompts.h"
#include "browser/pageservices.h"
#include "browser/transferrunner.h"
#include "exchange/recordimporter.h"
#include "store/nativepath.h"
#include "store/settingsstore.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <optional>
#include <vector>

namespace {

// The files a drop carries, when it comes from another program and holds local files.
QList<QUrl> DroppedFiles(const QDropEvent& event)
{
    if (event.source() || !event.mimeData()->hasUrls())
        return {};
    QList<QUrl> files;
    for (const QUrl& url : event.mimeData()->urls()) {
        if (url.isLocalFile())
            files << url;
    }
    return files;
}

} // namespace

CRecordDropImport::CRecordDropImport(
    SPageServices& services, QAbstractItemView& list,
    std::function<void(const std::vector<std::filesystem::path>&)> showImported, QWidget& owner)
    : QObject(&owner), m_services(services), m_showImported(std::move(showImported)), m_owner(owner)
{
    list.viewport()->setAcceptDrops(true);
    list.viewport()->installEventFilter(this);
}

bool CRecordDropImport::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedFiles(*drag).isEmpty())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> files = DroppedFiles(*drop);
        if (files.isEmpty())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        Import(files);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

void CRecordDropImport::Import(const QList<QUrl>& urls)
{
    QStringList sources;
    QStringList names;
    for (const QUrl& url : urls) {
        sources << url.toLocalFile();
        names << QFileInfo(sources.back()).fileName();
    }
    if (sources.isEmpty() || !m_services.dataFolder)
        return;
    const std::optional<QString> folder = m_services.dataFolder();
    if (!folder) {
        m_services.prompts.Tell(EPromptIcon::Stop, tr("Import"),
                                tr("The chosen storage card is not present."), &m_owner);
        return;
    }
    if (!m_services.prompts.Ask(tr("Import"),
                                tr("Import these files as records into %1?\n\n%2")
                                    .arg(*folder, names.join(QLatin1Char('\n'))),
                                &m_owner, EDefaultAnswer::Yes))
        return;
    const int format = m_services.settings ? m_services.settings->Format() : 0;
    const CRecordImporter importer(m_services.audio);
    std::vector<std::optional<CRecordImporter::SResult>> results(
        static_cast<std::size_t>(sources.size()));
    CTransferRunner(&m_owner).Run(static_cast<int>(sources.size()), tr("Importing %1 of %2…"),
                                  [&](int i, const TransferProgress& progress) {
                                      results[static_cast<std::size_t>(i)] =
                                          importer.Import(sources.at(i), *folder, format, progress);
                                  });

    std::vector<std::filesystem::path> imported;
    QStringList failures;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const std::optional<CRecordImporter::SResult>& result = results[i];
        if (result && result->Ok()) {
            imported.push_back(NativePath::FromText(result->path));
            m_services.records.Reread(imported.back(), RecordReader::DecodersOf(m_services.audio));
        } else if (result && result->status != CRecordImporter::EStatus::Cancelled) {
            failures << names[static_cast<qsizetype>(i)] + QStringLiteral(": ") + result->message;
        }
    }
    if (!imported.empty() && m_showImported)
        m_showImported(imported);
    if (!failures.isEmpty())
        m_services.prompts.Tell(EPromptIcon::Stop, tr("Import"),
                                tr("Not imported:\n\n%1").arg(failures.join(QLatin1Char('\n'))),
                                &m_owner);
}
