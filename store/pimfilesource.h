#pragma once

#include "store/pimsource.h"

#include <QString>
#include <utility>

// Contacts and tasks from files below one folder: contacts from every *.vcf below
// <folder>/contacts and tasks from every *.ics below <folder>/tasks, sub-folders
// included. Files are read in the order of their paths (code-point order), so lists come
// out the same on every run. A missing folder gives empty lists; an unreadable or
// unparsable file, or one larger than kMaxFileBytes, is skipped.
class CPimFileSource : public MPimSource
{
public:
    static constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;

    explicit CPimFileSource(QString folder) : m_folder(std::move(folder)) {}

    // <pim>: the environment value when not empty, else the caller's folder (the
    // "PimFolder" setting) when not empty, else <home>/pim.
    static QString ResolveFolder(const QString& environment, const QString& setting,
                                 const QString& home);
    // ResolveFolder with $PARLANTOGRAPHER_PIM.
    static QString FolderFor(const QString& setting, const QString& home);

    const QString& Folder() const { return m_folder; }
    std::vector<SPimTask> Tasks() const override;
    std::vector<SPimContact> Contacts() const override;

private:
    QString m_folder;
};
