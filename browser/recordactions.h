#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

struct SPageServices;
class QAbstractItemView;
class QAction;
class QMenu;
class QToolButton;
class QWidget;

// What a record list offers for getting memos out, besides its buttons: "Export…" (Ctrl+Shift+S),
// "Show in Folder" and "Copy" (Ctrl+C in the list: the files, for a file manager to paste).
// They act on the selected records; the list's context menu and a "More" button carry them.
// Works on any item view, whatever its model.
class CRecordActions : public QObject
{
    Q_OBJECT
public:
    // `selectedPaths` gives the selected records' files, in the list's order.
    CRecordActions(SPageServices& services, QAbstractItemView& list,
                   std::function<QStringList()> selectedPaths, QWidget& owner);

    // The button that opens the same menu as the list's context menu; the page places it.
    QToolButton* MenuButton() const { return m_button; }
    QMenu* Menu() const { return m_menu; }
    QAction* ExportAction() const { return m_export; }
    QAction* ShowInFolderAction() const { return m_show; }
    QAction* CopyAction() const { return m_copy; }

    void OnExport();
    void OnShowInFolder();
    void OnCopy();

private:
    // The selected records' files; none selected: says so and gives none.
    QStringList Selected(const QString& noneText) const;

    SPageServices& m_services;
    QAbstractItemView& m_list;
    std::function<QStringList()> m_selectedPaths;
    QWidget& m_owner;
    QMenu* m_menu;
    QToolButton* m_button;
    QAction* m_export;
    QAction* m_show;
    QAction* m_copy;
};
