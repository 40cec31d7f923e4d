#pragma once

#include "store/recordrename.h"

#include <QDialog>
#include <QString>
#include <filesystem>

class MBrowserPrompts;
class QLabel;
class QLineEdit;

// "Rename Record": asks for a record's new name. The record keeps its folder and the
// extension of its format; only the name between them changes. OK refuses a name that
// would lose or hide the record, or one that is taken, with a message, and leaves the
// file and the dialog as they were; otherwise it moves the file without ever replacing
// another one and closes, and NewPath() tells where the record is now.
class CRenameRecord : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxNameLength = RecordRename::kMaxNameLength;

    // `path`: the record, as the file system spells it.
    CRenameRecord(const std::filesystem::path& path, MBrowserPrompts& prompts,
                  QWidget* parent = nullptr);

    std::filesystem::path NewPath() const { return m_newPath; }
    QLineEdit* NameEdit() const { return m_name; }
    QString Extension() const;

    void accept() override;

private:
    std::filesystem::path m_path;
    MBrowserPrompts& m_prompts;
    QLineEdit* m_name;
    QLabel* m_extension;
    std::filesystem::path m_newPath;
};
