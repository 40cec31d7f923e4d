#pragma once

#include "store/pimfilesource.h"
#include "store/pimorigin.h"

#include <functional>
#include <memory>
#include <optional>

class CDesktopPimSource;

// The contacts and tasks the "PimSource" setting chooses: the desktop's address books and
// task lists, the folder, or both (the desktop's first; the store's listing operations drop
// repeated names). With no choice stored: both when the desktop's service answers, else the
// folder, without a word about the service.
//
// The desktop's connection is made once per process: at the first call that needs it, or
// at Prepare; it is kept when the choice changes, so the service's absence is paid once.
class CChosenPimSource : public MPimSource
{
public:
    CChosenPimSource(std::optional<EPimOrigin> choice, const QString& folder);
    ~CChosenPimSource() override;
    CChosenPimSource(const CChosenPimSource&) = delete;
    CChosenPimSource& operator=(const CChosenPimSource&) = delete;

    // After the settings changed.
    void Choose(std::optional<EPimOrigin> choice, const QString& folder);
    // Starts the desktop's connection now when the choice may read it, so that its first
    // answer is awaited while the caller does something else.
    void Prepare();
    // The choice, or the default it stands for (which may wait for the service's first
    // answer).
    EPimOrigin Effective() const;
    const QString& Folder() const { return m_folder.Folder(); }

    std::vector<SPimTask> Tasks() const override;
    std::vector<SPimContact> Contacts() const override;
    // The desktop's problem when the desktop was chosen; empty otherwise.
    QString Problem() const override;
    void SetChangeHandler(std::function<void()> handler) override;

private:
    CDesktopPimSource& Desktop() const;
    template <typename Item>
    std::vector<Item> Gather(std::vector<Item> (MPimSource::*read)() const) const;

    std::optional<EPimOrigin> m_choice;
    CPimFileSource m_folder;
    std::function<void()> m_handler;
    mutable std::unique_ptr<CDesktopPimSource> m_desktop;
};
