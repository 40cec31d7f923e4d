#include "browser/recordactions.h"

#include "browser/browserprompts.h"
#include "browser/pageservices.h"
#include "browser/recordexportflow.h"
#include "browser/recordmimedata.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

CRecordActions::CRecordActions(SPageServices& services, QAbstractItemView& list,
                               std::function<QStringList()> selectedPaths, QWidget& owner)
    : QObject(&owner), m_services(services), m_list(list),
      m_selectedPaths(std::move(selectedPaths)), m_owner(owner), m_menu(new QMenu(&owner)),
      m_button(new QToolButton(&owner))
{
    m_export = m_menu->addAction(tr("Export…"), this, &CRecordActions::OnExport);
    m_export->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_export->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_show = m_menu->addAction(tr("Show in Folder"), this, &CRecordActions::OnShowInFolder);
    m_copy = m_menu->addAction(tr("Copy"), this, &CRecordActions::OnCopy);
    // Only in the list: the search field keeps Ctrl+C for its text.
    m_copy->setShortcut(QKeySequence::Copy);
    m_copy->setShortcutContext(Qt::WidgetShortcut);
    m_list.addAction(m_copy);
    m_owner.addAction(m_export);

    m_button->setObjectName(QStringLiteral("share"));
    m_button->setText(tr("Share"));
    m_button->setToolTip(tr("Export, show in the file manager or copy the selected records"));
    m_button->setMenu(m_menu);
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_button->setFocusPolicy(Qt::TabFocus);

    m_list.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!m_selectedPaths().isEmpty())
            m_menu->popup(m_list.viewport()->mapToGlobal(at));
    });
}

QStringList CRecordActions::Selected(const QString& noneText) const
{
    const QStringList paths = m_selectedPaths();
    if (paths.isEmpty())
        m_services.prompts.Tell(EPromptIcon::Information, QString(), noneText, &m_owner);
    return paths;
}

void CRecordActions::OnExport()
{
    const QStringList paths = Selected(tr("Please, select the records to export"));
    if (paths.isEmpty())
        return;
    CRecordExportFlow({m_services.audio, m_services.prompts, m_services.settings}, &m_owner)
        .Run(paths);
}

void CRecordActions::OnShowInFolder()
{
    const QStringList paths = Selected(tr("Please, select a record to show"));
    if (!paths.isEmpty() && m_services.showInFolder)
        m_services.showInFolder(paths.front());
}

void CRecordActions::OnCopy()
{
    const QStringList paths = Selected(tr("Please, select the records to copy"));
    if (!paths.isEmpty())
        QApplication::clipboard()->setMimeData(RecordMimeData::ForFiles(paths).release());
}
