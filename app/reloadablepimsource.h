#pragma once

#include "store/pimfilesource.h"

#include <memory>

// The contacts-and-tasks source of a running program: reads from one folder and can be
// pointed at another one when the user changes the setting, without the screens that
// hold it noticing.
class CReloadablePimSource : public MPimSource
{
public:
    explicit CReloadablePimSource(const QString& folder) { SetFolder(folder); }

    void SetFolder(const QString& folder) { m_source = std::make_unique<CPimFileSource>(folder); }
    QString Folder() const { return m_source->Folder(); }

    std::vector<SPimTask> Tasks() const override { return m_source->Tasks(); }
    std::vector<SPimContact> Contacts() const override { return m_source->Contacts(); }

private:
    std::unique_ptr<CPimFileSource> m_source;
};
