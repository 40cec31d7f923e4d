#pragma once

#include "exchange/recordexporter.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;

// "Export…": where the selected memos go and in which of the four formats. One memo gets a
// name field (its own name to start with); several keep their names and only the folder and
// the format are chosen. The folder is typed or picked with Browse….
class CExportDlg : public QDialog
{
    Q_OBJECT
public:
    // `recordPaths`: the memos to export; `folder` and `format`: what to offer first.
    CExportDlg(const QStringList& recordPaths, const QString& folder, EExportFormat format,
               QWidget* parent = nullptr);

    QString Folder() const;
    EExportFormat Format() const;
    // The files to write, in the memos' order, as absolute paths.
    QStringList Targets() const;

    QLineEdit* NameField() const { return m_name; }
    QLineEdit* FolderField() const { return m_folder; }
    QComboBox* FormatList() const { return m_format; }

private:
    void Browse();
    void UpdateOk();

    QStringList m_records;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_folder;
    QComboBox* m_format;
    QDialogButtonBox* m_buttons;
};
