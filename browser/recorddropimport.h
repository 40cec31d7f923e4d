#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <filesystem>
#include <functional>

struct SPageServices;
class QAbstractItemView;
class QWidget;

// Audio files dropped onto a record list from another program (a file manager, a mail) are
// offered for import into the chosen storage's data folder: a question lists them, and Yes
// makes each a record (CRecordImporter) on a worker thread with progress and Cancel. The
// records browser then lists them at once; one message names every file that could not be
// imported and why. Works on any item view, whatever its model: it watches the view's
// viewport. Drags that start in this program (a record dragged from a list) are left to the
// view.
class CRecordDropImport : public QObject
{
    Q_OBJECT
public:
    // `showImported` is called with the new records' paths once they are in the records.
    CRecordDropImport(SPageServices& services, QAbstractItemView& list,
                      std::function<void(const std::vector<std::filesystem::path>&)> showImported,
                      QWidget& owner);

    // What a drop of `urls` does: the local files among them are offered for import.
    void Import(const QList<QUrl>& urls);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SPageServices& m_services;
    std::function<void(const std::vector<std::filesystem::path>&)> m_showImported;
    QWidget& m_owner;
};
