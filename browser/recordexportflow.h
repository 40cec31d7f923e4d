#pragma once

#include <QCoreApplication>
#include <QStringList>

class CAudioManager;
class CSettingsStore;
class MBrowserPrompts;
class QWidget;

// "Export…" from a record list: the export dialog (starting from the folder and format last
// chosen, which it remembers), a question before any existing file is replaced (No leaves
// those files as they are and exports the others), the exports on a worker thread with
// progress and Cancel, and one message naming every file that failed and why.
class CRecordExportFlow
{
    Q_DECLARE_TR_FUNCTIONS(CRecordExportFlow)
public:
    struct SContext
    {
        const CAudioManager& audio;
        MBrowserPrompts& prompts;
        // Where the last folder and format are kept; none: the home folder and WAV.
        CSettingsStore* settings;
    };

    CRecordExportFlow(SContext context, QWidget* owner) : m_context(context), m_owner(owner) {}

    // Exports the records at `recordPaths`; nothing when the list is empty.
    void Run(const QStringList& recordPaths);

private:
    // The targets the user agreed to write, with `replace` set when existing ones may be
    // replaced; empty when nothing is left to do.
    QStringList Confirmed(const QStringList& sources, const QStringList& targets,
                          QStringList& keptSources, bool& replace) const;
    void Remember(const QString& folder, const QString& extension) const;

    SContext m_context;
    QWidget* m_owner;
};
