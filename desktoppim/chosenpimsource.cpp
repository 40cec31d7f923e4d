#include "desktoppim/chosenpimsource.h"

#include "desktoppim/desktoppimsource.h"

CChosenPimSource::CChosenPimSource(std::optional<EPimOrigin> choice, const QString& folder)
    : m_choice(choice), m_folder(folder)
{}

CChosenPimSource::~CChosenPimSource() = default;

void CChosenPimSource::Choose(std::optional<EPimOrigin> choice, const QString& folder)
{
    m_choice = choice;
    m_folder = CPimFileSource(folder);
}

void CChosenPimSource::Prepare()
{
    if (!m_choice || PimOrigin::IncludesDesktop(*m_choice))
        Desktop();
}

CDesktopPimSource& CChosenPimSource::Desktop() const
{
    if (!m_desktop)
        m_desktop = std::make_unique<CDesktopPimSource>(m_handler);
    return *m_desktop;
}

EPimOrigin CChosenPimSource::Effective() const
{
    if (m_choice)
        return *m_choice;
    return Desktop().Answered() ? EPimOrigin::Both : EPimOrigin::Folder;
}

template <typename Item>
std::vector<Item> CChosenPimSource::Gather(std::vector<Item> (MPimSource::*read)() const) const
{
    const EPimOrigin origin = Effective();
    std::vector<Item> items;
    if (PimOrigin::IncludesDesktop(origin))
        items = (Desktop().*read)();
    if (PimOrigin::IncludesFolder(origin)) {
        std::vector<Item> more = (m_folder.*read)();
        items.insert(items.end(), std::make_move_iterator(more.begin()),
                     std::make_move_iterator(more.end()));
    }
    return items;
}

std::vector<SPimTask> CChosenPimSource::Tasks() const
{
    return Gather(&MPimSource::Tasks);
}

std::vector<SPimContact> CChosenPimSource::Contacts() const
{
    return Gather(&MPimSource::Contacts);
}

QString CChosenPimSource::Problem() const
{
    if (!m_choice || !PimOrigin::IncludesDesktop(*m_choice))
        return {};
    return Desktop().Problem();
}

void CChosenPimSource::SetChangeHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
    if (m_desktop)
        m_desktop->SetChangeHandler(m_handler);
}
