#include "app/settings.h"
#include "audio/audiomanager.h"
#include "audio/recorder.h"
#include "controls/dropdown.h"
#include "platform/wavebackend.h"
#include "recordingsink.h"
#include "store/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {

QStringList ItemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

void Choose(QComboBox* list, const QString& text)
{
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->textActivated(text);
}

class SettingsDialog : public ::testing::Test
{
protected:
    std::unique_ptr<CSettings> Open(QStringList groups = {"Priority", "Projects"},
                                    int slotCount = 4, EPimOrigin pimDefault = EPimOrigin::Folder)
    {
        auto dialog = std::make_unique<CSettings>(
            CSettings::SContext{settings, audio, sink, std::move(groups),
                                [this] { return storages; }, slotCount, pimDefault},
            [this](EWaveDirection direction) {
                return direction == EWaveDirection::Input ? inputs : outputs;
            });
        dialog->show();
        return dialog;
    }

    QTemporaryDir home;
    CSettingsStore settings{home.filePath("settings.ini")};
    CAudioManager audio;
    CRecordingSink sink;
    QStringList storages{"Device memory", "CARD"};
    std::vector<SWaveDeviceInfo> inputs{{"mic", "Built-in Microphone", true},
                                        {"speakers.monitor", "Monitor of Speakers", false}};
    std::vector<SWaveDeviceInfo> outputs{{"speakers", "Speakers", true},
                                         {"usb", "USB Headset", false}};
};

TEST_F(SettingsDialog, SlotsHiddenByALowWindowKeepTheirKindUnlessAShownSlotTookIt)
{
    for (const auto& [slot, kind] :
         {std::pair{0, "Priority"}, {1, "Contacts"}, {2, "Task"}, {3, "Projects"}})
        settings.SetSlot(slot, kind);
    auto twoRows = Open({"Priority", "Projects"}, 2);
    EXPECT_FALSE(twoRows->SlotList(2)->isVisible());
    EXPECT_FALSE(twoRows->SlotList(3)->isVisible());
    Choose(twoRows->SlotList(1), "Task");
    twoRows->accept();
    EXPECT_EQ(settings.Slot(1), "Task");
    EXPECT_EQ(settings.Slot(2), "None"); // its task is shown by slot 2 now
    EXPECT_EQ(settings.Slot(3), "Projects");
}

// Until an origin is chosen the program follows the desktop's service, so OK must not pin
// down the default the dialog showed.
TEST_F(SettingsDialog, ContactsAndTasksFromShowsTheDefaultAndStoresOnlyAChoice)
{
    auto dialog = Open({"Priority"}, 4, EPimOrigin::Both);
    EXPECT_EQ(dialog->PimSourceList()->currentData().toString(), "both");
    dialog->accept();
    EXPECT_EQ(settings.PimSource(), std::nullopt);

    dialog = Open({"Priority"}, 4, EPimOrigin::Both);
    dialog->PimSourceList()->setCurrentIndex(dialog->PimSourceList()->findData("desktop"));
    EXPECT_FALSE(dialog->PimFolderEdit()->isEnabled()); // the folder is not read
    dialog->accept();
    EXPECT_EQ(settings.PimSource(), EPimOrigin::Desktop);
    EXPECT_EQ(Open()->PimSourceList()->currentData().toString(), "desktop");
}

// Which list offers what is the slot choices' rule; here, that a choice refreshes the others.
TEST_F(SettingsDialog, ChoosingMovesItemsBetweenTheSlotLists)
{
    auto dialog = Open();
    Choose(dialog->SlotList(2), "None");
    EXPECT_EQ(ItemsOf(dialog->SlotList(1)), (QStringList{"None", "Task", "Contacts", "Projects"}));
    Choose(dialog->SlotList(1), "Task");
    EXPECT_EQ(ItemsOf(dialog->SlotList(3)), (QStringList{"None", "Contacts", "Projects"}));
}

TEST_F(SettingsDialog, CancelStoresNothingAndOkStoresEverythingAndSwitchesTheFormat)
{
    auto cancelled = Open();
    Choose(cancelled->SlotList(3), "Projects");
    cancelled->FormatList()->setCurrentIndex(2);
    cancelled->reject();
    EXPECT_FALSE(settings.HasSlot(3));
    EXPECT_EQ(settings.Format(), 0);
    EXPECT_EQ(audio.CodecIndex(), Codec::Pcm);

    auto dialog = Open();
    Choose(dialog->SlotList(3), "Projects");
    dialog->FormatList()->setCurrentIndex(3);
    dialog->StorageList()->setCurrentIndex(1);
    dialog->PimFolderEdit()->setText(" /data/pim ");
    EXPECT_TRUE(dialog->ShowSplashBox()->isChecked()) << "on until turned off";
    dialog->ShowSplashBox()->setChecked(false);
    dialog->accept();
    EXPECT_EQ(audio.CodecIndex(), Codec::Speex);
    EXPECT_EQ(audio.Quality(), 3u);
    EXPECT_EQ(settings.Slot(0), "Priority");
    EXPECT_EQ(settings.Slot(3), "Projects");
    EXPECT_EQ(settings.Format(), 3);
    EXPECT_EQ(settings.Storage(), "CARD");
    EXPECT_EQ(settings.PimFolder(), "/data/pim");
    EXPECT_FALSE(settings.ShowSplash());
    EXPECT_FALSE(Open()->ShowSplashBox()->isChecked());
}

TEST_F(SettingsDialog, AnAbsentCardFallsBackToDeviceMemoryAndTheListIsReadAgain)
{
    settings.SetStorage("OLDCARD");
    auto dialog = Open();
    EXPECT_EQ(dialog->StorageList()->currentText(), "Device memory");
    dialog->StorageList()->setCurrentIndex(1);
    storages = {"Device memory", "CARD: 2 GB", "NEW"};
    dialog->RefreshStorages();
    EXPECT_EQ(ItemsOf(dialog->StorageList()), (QStringList{"Device memory", "CARD", "NEW"}));
    EXPECT_EQ(dialog->StorageList()->currentText(), "CARD");
    storages = {"Device memory"};
    dialog->RefreshStorages();
    EXPECT_EQ(dialog->StorageList()->currentText(), "Device memory");
}

TEST_F(SettingsDialog, DevicesAreListedAfterTheDefaultAndStoredByName)
{
    settings.SetInputDevice("unplugged.monitor");
    settings.SetOutputDevice("usb");
    auto dialog = Open();
    CDropDown* input = dialog->DeviceList(EWaveDirection::Input);
    CDropDown* output = dialog->DeviceList(EWaveDirection::Output);
    EXPECT_EQ(ItemsOf(input),
              (QStringList{"Default", "Built-in Microphone", "Monitor of Speakers"}));
    EXPECT_EQ(input->currentText(), "Default");
    EXPECT_EQ(output->currentText(), "USB Headset");

    // The list is read again when it opens: a device that came is offered, one that went
    // leaves the choice on the default.
    inputs.push_back({"usb-mic", "USB Microphone", false});
    input->showPopup();
    input->hidePopup();
    input->setCurrentIndex(input->findText("USB Microphone"));
    outputs.pop_back();
    output->showPopup();
    output->hidePopup();
    EXPECT_EQ(output->currentText(), "Default");

    dialog->accept();
    EXPECT_EQ(settings.InputDevice(), "usb-mic");
    EXPECT_EQ(settings.OutputDevice(), "");
    EXPECT_EQ(audio.GetRecorder().DeviceName(), "usb-mic");
}

// Names as long as a line takes (a tag group, a card, a device) do not widen the dialog
// past a 480-pixel screen.
TEST_F(SettingsDialog, LongNamesNeverWidenTheDialog)
{
    const QString group(200, 'G');
    ASSERT_TRUE(settings.SetSlot(0, group));
    storages << QString(200, 'C');
    inputs.push_back({"long", QString(200, 'M').toStdString(), false});
    auto dialog = Open({group, "Priority"});
    dialog->resize(480, 640);
    dialog->DeviceList(EWaveDirection::Input)->showPopup();
    dialog->DeviceList(EWaveDirection::Input)->hidePopup();
    EXPECT_LE(dialog->minimumSizeHint().width(), 480);
    EXPECT_LE(dialog->width(), 480);
}

} // namespace
