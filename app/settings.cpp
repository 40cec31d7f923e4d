#include "app/settings.h"

#include "app/messagesink.h"
#include "audio/audiomanager.h"
#include "audio/player.h"
#include "audio/recorder.h"
#include "controls/dropdown.h"
#include "store/settingsstore.h"
#include "store/storagepaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CSettings::CSettings(SContext context, QWidget* parent)
    : CSettings(std::move(context), nullptr, parent)
{}

CSettings::CSettings(SContext context, DeviceSource devices, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)), m_devices(std::move(devices)),
      m_choices(m_context.tagGroups)
{
    if (!m_devices) {
        m_devices = [&audio = m_context.audio](EWaveDirection direction) {
            return audio.GetWaveBackend().Devices(direction);
        };
    }
    setWindowTitle(tr("Settings"));
    BuildUi();
    Load();
}

CSettings::~CSettings() = default;

QComboBox* CSettings::SlotList(int slot) const
{
    return slot >= 0 && slot < 4 ? m_slotLists[static_cast<std::size_t>(slot)] : nullptr;
}

QComboBox* CSettings::FormatList() const
{
    return m_format;
}

CDropDown* CSettings::StorageList() const
{
    return m_storage;
}

CDropDown* CSettings::DeviceList(EWaveDirection direction) const
{
    return direction == EWaveDirection::Input ? m_input : m_output;
}

QLineEdit* CSettings::PimFolderEdit() const
{
    return m_pimFolder;
}

QComboBox* CSettings::PimSourceList() const
{
    return m_pimSource;
}

QString CSettings::StorageName(const QString& item)
{
    const qsizetype colon = item.indexOf(QLatin1Char(':'));
    return colon < 0 ? item : item.left(colon);
}

void CSettings::BuildUi()
{
    QFont labelFont = font();
    labelFont.setWeight(QFont::DemiBold);

    auto* dataBox = new QGroupBox(tr("Data"), this);
    auto* dataForm = new QFormLayout(dataBox);
    dataForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (int slot = 0; slot < 4; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        m_slotLabels[index] = new QLabel(tr("Slot%1").arg(slot + 1), dataBox);
        m_slotLabels[index]->setFont(labelFont);
        m_slotLists[index] = new QComboBox(dataBox);
        m_slotLists[index]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        dataForm->addRow(m_slotLabels[index], m_slotLists[index]);
        connect(m_slotLists[index], &QComboBox::textActivated, this,
                [this, slot](const QString& text) { OnSlotChosen(slot, text); });
    }

    auto* parameters = new QGroupBox(tr("Record Parameters"), this);
    auto* parameterForm = new QFormLayout(parameters);
    parameterForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_format = new QComboBox(parameters);
    for (const SRecordingFormat& format : kRecordingFormats)
        m_format->addItem(
            QString::fromUtf8(format.label.data(), static_cast<qsizetype>(format.label.size())));
    m_storage = new CDropDown(parameters);
    connect(m_storage, &CDropDown::AboutToShowPopup, this, &CSettings::RefreshStorages);
    m_input = new CDropDown(parameters);
    m_output = new CDropDown(parameters);
    connect(m_input, &CDropDown::AboutToShowPopup, this,
            [this] { RefreshDevices(EWaveDirection::Input); });
    connect(m_output, &CDropDown::AboutToShowPopup, this,
            [this] { RefreshDevices(EWaveDirection::Output); });
    const auto addRow = [&](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, parameters);
        label->setFont(labelFont);
        parameterForm->addRow(label, field);
    };
    // A name as long as a line takes (a tag group, a card, a device) must not widen the
    // dialog past the screen: every list asks for room for a few words and elides the rest.
    for (QComboBox* list : {static_cast<QComboBox*>(m_format), static_cast<QComboBox*>(m_storage),
                            static_cast<QComboBox*>(m_input), static_cast<QComboBox*>(m_output)})
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    addRow(tr("Format"), m_format);
    addRow(tr("Storage"), m_storage);
    addRow(tr("Input"), m_input);
    addRow(tr("Output"), m_output);

    auto* pim = new QGroupBox(tr("Contacts and Tasks"), this);
    auto* pimColumn = new QVBoxLayout(pim);
    auto* sourceRow = new QHBoxLayout;
    m_pimSource = new QComboBox(pim);
    m_pimSource->addItem(tr("Desktop"), PimOrigin::Name(EPimOrigin::Desktop));
    m_pimSource->addItem(tr("Folder"), PimOrigin::Name(EPimOrigin::Folder));
    m_pimSource->addItem(tr("Desktop and folder"), PimOrigin::Name(EPimOrigin::Both));
    auto* sourceLabel = new QLabel(tr("Contacts and tasks from"), pim);
    sourceLabel->setFont(labelFont);
    sourceLabel->setBuddy(m_pimSource);
    sourceRow->addWidget(sourceLabel);
    sourceRow->addWidget(m_pimSource, 1);
    pimColumn->addLayout(sourceRow);
    // The folder's row takes the whole width, as a path needs it.
    m_pimFolderRow = new QWidget(pim);
    auto* folderRow = new QHBoxLayout(m_pimFolderRow);
    folderRow->setContentsMargins(0, 0, 0, 0);
    m_pimFolder = new QLineEdit(m_pimFolderRow);
    m_pimFolder->setPlaceholderText(tr("Default folder"));
    m_pimFolder->setClearButtonEnabled(true);
    auto* browse = new QPushButton(tr("Browse..."), m_pimFolderRow);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, tr("Contacts and Tasks"), m_pimFolder->text());
        if (!folder.isEmpty())
            m_pimFolder->setText(folder);
    });
    auto* folderLabel = new QLabel(tr("Folder"), m_pimFolderRow);
    folderLabel->setFont(labelFont);
    folderLabel->setBuddy(m_pimFolder);
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(m_pimFolder, 1);
    folderRow->addWidget(browse);
    pimColumn->addWidget(m_pimFolderRow);
    connect(m_pimSource, &QComboBox::currentIndexChanged, this, &CSettings::ShowFolderUse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettings::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_showSplash = new QCheckBox(tr("Show the splash screen at start"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dataBox);
    layout->addWidget(parameters);
    layout->addWidget(pim);
    layout->addWidget(m_showSplash);
    layout->addStretch();
    layout->addWidget(buttons);
}

void CSettings::Load()
{
    const CSettingsStore& settings = m_context.settings;
    std::array<QString, 4> stored;
    for (int slot = 0; slot < 4; ++slot) {
        if (settings.HasSlot(slot))
            stored[static_cast<std::size_t>(slot)] = settings.Slot(slot);
    }
    m_choices.Load(stored);
    m_stored = stored;
    const int available = qBound(1, m_context.availableSlots, 4);
    m_choices.LimitToSlots(available);
    for (int slot = available; slot < 4; ++slot) {
        m_slotLabels[static_cast<std::size_t>(slot)]->hide();
        m_slotLists[static_cast<std::size_t>(slot)]->hide();
    }
    ShowChoices();

    const int format = settings.Format();
    m_format->setCurrentIndex(format >= 0 && format < m_format->count() ? format : 0);

    // A stored card that is absent now falls back to device memory.
    FillStorages(StorageName(settings.Storage()), StoragePaths::kDeviceMemory);
    // A stored device that is absent now shows as the default, which the program uses.
    FillDevices(EWaveDirection::Input, settings.InputDevice());
    FillDevices(EWaveDirection::Output, settings.OutputDevice());

    const std::optional<EPimOrigin> origin = settings.PimSource();
    m_pimSourceStored = origin.has_value();
    m_pimSourceShown =
        m_pimSource->findData(PimOrigin::Name(origin.value_or(m_context.pimDefault)));
    m_pimSource->setCurrentIndex(m_pimSourceShown);
    m_pimFolder->setText(settings.PimFolder());
    ShowFolderUse();
    m_showSplash->setChecked(settings.ShowSplash());
}

void CSettings::ShowFolderUse()
{
    // The folder matters only when it is read.
    const std::optional<EPimOrigin> origin =
        PimOrigin::Parse(m_pimSource->currentData().toString());
    m_pimFolderRow->setEnabled(PimOrigin::IncludesFolder(origin.value_or(EPimOrigin::Folder)));
}

void CSettings::ShowChoices()
{
    for (int slot = 0; slot < 4; ++slot) {
        QComboBox* list = m_slotLists[static_cast<std::size_t>(slot)];
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(m_choices.Offered(slot));
        list->setCurrentIndex(list->findText(m_choices.Selected(slot)));
    }
}

void CSettings::OnSlotChosen(int slot, const QString& text)
{
    m_choices.Select(slot, text);
    ShowChoices();
}

void CSettings::RefreshStorages()
{
    const QString remembered =
        m_storage->currentIndex() >= 0 ? m_storage->currentText() : m_storage->itemText(0);
    FillStorages(remembered, QString());
}

void CSettings::FillStorages(const QString& wanted, const QString& fallback)
{
    const QSignalBlocker block(m_storage);
    m_storage->clear();
    if (m_context.storages) {
        for (const QString& item : m_context.storages())
            m_storage->addItem(StorageName(item));
    }
    if (m_storage->findText(StoragePaths::kDeviceMemory) < 0)
        m_storage->insertItem(0, StoragePaths::kDeviceMemory);
    int at = m_storage->findText(wanted);
    if (at < 0)
        at = fallback.isEmpty() ? 0 : m_storage->findText(fallback);
    m_storage->setCurrentIndex(qMax(0, at));
}

void CSettings::RefreshDevices(EWaveDirection direction)
{
    FillDevices(direction, DeviceList(direction)->currentData().toString());
}

void CSettings::FillDevices(EWaveDirection direction, const QString& wanted)
{
    CDropDown* list = DeviceList(direction);
    const QSignalBlocker block(list);
    list->clear();
    list->addItem(tr("Default"), QString());
    for (const SWaveDeviceInfo& device : m_devices(direction)) {
        list->addItem(QString::fromStdString(device.description),
                      QString::fromStdString(device.name));
    }
    list->setCurrentIndex(qMax(0, wanted.isEmpty() ? 0 : list->findData(wanted)));
}

bool CSettings::Store()
{
    CSettingsStore& settings = m_context.settings;
    bool ok = true;
    // Slots the window is too low to show keep what was stored for them.
    const std::array<QString, 4> kinds = CSlotChoices::Merged(
        m_choices.Selection(), m_stored, qBound(1, m_context.availableSlots, 4));
    for (int slot = 0; slot < 4; ++slot) {
        const QString& kind = kinds[static_cast<std::size_t>(slot)];
        if (!kind.isEmpty())
            ok = settings.SetSlot(slot, kind) && ok;
    }
    ok = settings.SetFormat(m_format->currentIndex()) && ok;
    ok = settings.SetStorage(StorageName(m_storage->currentText())) && ok;
    ok = settings.SetPimFolder(m_pimFolder->text().trimmed()) && ok;
    // The default stays a default (it follows the service) until another origin is chosen.
    if (m_pimSourceStored || m_pimSource->currentIndex() != m_pimSourceShown) {
        if (const auto origin = PimOrigin::Parse(m_pimSource->currentData().toString()))
            ok = settings.SetPimSource(*origin) && ok;
    }
    ok = settings.SetInputDevice(m_input->currentData().toString()) && ok;
    ok = settings.SetOutputDevice(m_output->currentData().toString()) && ok;
    ok = settings.SetShowSplash(m_showSplash->isChecked()) && ok;
    return ok;
}

void CSettings::accept()
{
    if (!Store()) {
        m_context.sink.Show(EMessageIcon::Stop, tr("Settings"),
                            m_context.settings.WriteFailureMessage(), this);
        return;
    }
    m_context.audio.ApplyFormat(m_format->currentIndex());
    m_context.audio.GetRecorder().SetDeviceName(m_input->currentData().toString().toStdString());
    m_context.audio.GetPlayer().SetDeviceName(m_output->currentData().toString().toStdString());
    QDialog::accept();
}
