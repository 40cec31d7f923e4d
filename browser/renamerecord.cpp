#include "browser/renamerecord.h"

#include "browser/browserprompts.h"
#include "store/recordrename.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// What a line edit's frame and the style's inner padding take on each side, at most.
constexpr int kFrameAllowance = 4;

} // namespace

CRenameRecord::CRenameRecord(const std::filesystem::path& path, MBrowserPrompts& prompts,
                             QWidget* parent)
    : QDialog(parent), m_path(path), m_prompts(prompts), m_name(new QLineEdit(this)),
      m_extension(new QLabel(this))
{
    setWindowTitle(tr("Rename Record"));
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(kMaxNameLength);
    m_name->setText(RecordRename::EditableName(path));
    m_name->selectAll();
    const QString format = RecordRename::FormatExtension(path);
    m_extension->setText(format.isEmpty() ? QString() : QLatin1Char('.') + format);

    // Room for a whole name of the longest length, in the font's average characters.
    const QMargins margins = m_name->textMargins() + m_name->contentsMargins();
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * (kMaxNameLength + 1) +
                            margins.left() + margins.right() + 2 * kFrameAllowance);

    auto* row = new QHBoxLayout;
    row->addWidget(m_name, 1);
    row->addWidget(m_extension);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRenameRecord::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Enter New Name:"), this));
    layout->addLayout(row);
    layout->addStretch();
    layout->addWidget(buttons);
    m_name->setFocus(Qt::OtherFocusReason);
}

QString CRenameRecord::Extension() const
{
    return m_extension->text();
}

void CRenameRecord::accept()
{
    // The name it has already: nothing to do, so the dialog just closes.
    const QString format = RecordRename::FormatExtension(m_path);
    if (!format.isEmpty() && RecordRename::RenamedPath(m_path, m_name->text(), format) == m_path) {
        QDialog::reject();
        return;
    }
    const RecordRename::SResult result = RecordRename::Rename(m_path, m_name->text());
    if (result.status != RecordRename::EStatus::Renamed) {
        // The record keeps its name; the user may try another one.
        const EPromptIcon icon = result.status == RecordRename::EStatus::Failed ||
                                         result.status == RecordRename::EStatus::UnknownFormat
                                     ? EPromptIcon::Stop
                                     : EPromptIcon::Exclamation;
        m_prompts.Tell(icon, QString(), result.message, this);
        m_name->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_newPath = result.newPath;
    QDialog::accept();
}
