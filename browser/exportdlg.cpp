#include "browser/exportdlg.h"

#include "browser/exportnames.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct SFormatChoice
{
    EExportFormat format;
    const char* text;
};

constexpr SFormatChoice kFormats[] = {
    {EExportFormat::Wav, QT_TRANSLATE_NOOP("CExportDlg", "WAV, 16-bit (.wav)")},
    {EExportFormat::Flac, QT_TRANSLATE_NOOP("CExportDlg", "FLAC, lossless (.flac)")},
    {EExportFormat::Opus, QT_TRANSLATE_NOOP("CExportDlg", "Opus, small (.opus)")},
    {EExportFormat::Mp3, QT_TRANSLATE_NOOP("CExportDlg", "MP3, plays anywhere (.mp3)")},
};

} // namespace

CExportDlg::CExportDlg(const QStringList& recordPaths, const QString& folder, EExportFormat format,
                       QWidget* parent)
    : QDialog(parent), m_records(recordPaths), m_folder(new QLineEdit(folder, this)),
      m_format(new QComboBox(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    const bool one = recordPaths.size() == 1;
    setWindowTitle(one ? tr("Export Memo")
                       : tr("Export %n Memos", "", static_cast<int>(recordPaths.size())));
    auto* form = new QFormLayout(this);
    if (one) {
        m_name = new QLineEdit(QFileInfo(recordPaths.front()).completeBaseName(), this);
        m_name->setObjectName(QStringLiteral("name"));
        form->addRow(tr("Name:"), m_name);
        connect(m_name, &QLineEdit::textChanged, this, &CExportDlg::UpdateOk);
    }
    for (const SFormatChoice& choice : kFormats)
        m_format->addItem(tr(choice.text), static_cast<int>(choice.format));
    m_format->setCurrentIndex(m_format->findData(static_cast<int>(format)));
    form->addRow(tr("Format:"), m_format);

    auto* folderRow = new QHBoxLayout;
    auto* browse = new QPushButton(tr("Browse…"), this);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    form->addRow(tr("Folder:"), folderRow);
    form->addRow(m_buttons);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Export"));

    connect(browse, &QPushButton::clicked, this, &CExportDlg::Browse);
    connect(m_folder, &QLineEdit::textChanged, this, &CExportDlg::UpdateOk);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateOk();
    setMinimumWidth(360);
}

QString CExportDlg::Folder() const
{
    return QDir::cleanPath(m_folder->text().trimmed());
}

EExportFormat CExportDlg::Format() const
{
    return static_cast<EExportFormat>(m_format->currentData().toInt());
}

QStringList CExportDlg::Targets() const
{
    const QStringList names =
        m_name ? QStringList{ExportNames::WithExtension(m_name->text().trimmed(), Format())}
               : ExportNames::ForRecords(m_records, Format());
    const QDir folder(Folder());
    QStringList targets;
    for (const QString& name : names)
        targets << folder.absoluteFilePath(name);
    return targets;
}

void CExportDlg::Browse()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("Export To"), Folder());
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}

void CExportDlg::UpdateOk()
{
    // A name of slashes or dots only would name a folder, not a file.
    const bool named = !m_name || (!m_name->text().trimmed().isEmpty() &&
                                   !m_name->text().contains(QLatin1Char('/')));
    m_buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(named && !Folder().isEmpty() && Folder() != QLatin1String("."));
}
