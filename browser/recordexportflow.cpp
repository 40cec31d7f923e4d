#include "browser/recordexportflow.h"

#include "browser/browserprompts.h"
#include "browser/exportdlg.h"
#include "browser/transferrunner.h"
#include "exchange/recordexporter.h"
#include "store/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <optional>
#include <vector>

void CRecordExportFlow::Run(const QStringList& recordPaths)
{
    if (recordPaths.isEmpty())
        return;
    const CSettingsStore* settings = m_context.settings;
    const QString folder = settings && !settings->ExportFolder().isEmpty()
                               ? settings->ExportFolder()
                               : QDir::homePath();
    const EExportFormat format =
        CRecordExporter::FormatOfPath(QLatin1String("x.") +
                                      (settings ? settings->ExportFormat() : QString()))
            .value_or(EExportFormat::Wav);
    CExportDlg dialog(recordPaths, folder, format, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Remember(dialog.Folder(), CRecordExporter::ExtensionOf(dialog.Format()));

    QStringList sources;
    bool replace = false;
    const QStringList targets = Confirmed(recordPaths, dialog.Targets(), sources, replace);
    if (targets.isEmpty())
        return;
    // None for the files a cancel kept from starting.
    std::vector<std::optional<CRecordExporter::SResult>> results(
        static_cast<std::size_t>(targets.size()));
    const CRecordExporter exporter(m_context.audio);
    const bool finished =
        CTransferRunner(m_owner).Run(static_cast<int>(targets.size()), tr("Exporting %1 of %2…"),
                                     [&](int i, const TransferProgress& progress) {
                                         results[static_cast<std::size_t>(i)] = exporter.Export(
                                             sources.at(i), targets.at(i), replace, progress);
                                     });

    QStringList failures;
    int exported = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const std::optional<CRecordExporter::SResult>& result = results[i];
        if (result && result->Ok())
            ++exported;
        else if (result && result->status != CRecordExporter::EStatus::Cancelled)
            failures << QFileInfo(targets[static_cast<qsizetype>(i)]).fileName() +
                            QStringLiteral(": ") + result->message;
    }
    if (!failures.isEmpty())
        m_context.prompts.Tell(EPromptIcon::Stop, tr("Export"),
                               tr("Not exported:\n\n%1").arg(failures.join(QLatin1Char('\n'))),
                               m_owner);
    else if (!finished)
        m_context.prompts.Tell(
            EPromptIcon::Information, tr("Export"),
            tr("Export cancelled: %1 of %2 files written.").arg(exported).arg(targets.size()),
            m_owner);
}

QStringList CRecordExportFlow::Confirmed(const QStringList& sources, const QStringList& targets,
                                         QStringList& keptSources, bool& replace) const
{
    QStringList existing;
    for (const QString& target : targets) {
        if (QFileInfo::exists(target))
            existing << QFileInfo(target).fileName();
    }
    replace = !existing.isEmpty() &&
              m_context.prompts.Ask(tr("Export"),
                                    tr("These files exist already:\n\n%1\n\nReplace them?")
                                        .arg(existing.join(QLatin1Char('\n'))),
                                    m_owner);
    QStringList kept;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        if (replace || !QFileInfo::exists(targets[i])) {
            kept << targets[i];
            keptSources << sources[i];
        }
    }
    return kept;
}

void CRecordExportFlow::Remember(const QString& folder, const QString& extension) const
{
    // Not kept, the choice is only offered again from the defaults: no reason to stop here.
    if (m_context.settings) {
        m_context.settings->SetExportFolder(folder);
        m_context.settings->SetExportFormat(extension);
    }
}
