#pragma once

#include "browser/pageservices.h"
#include "controls/backgroundwidget.h"

#include <QList>
#include <QString>
#include <filesystem>
#include <vector>

class CAudioError;
class CPlaybackBar;
class CRecordActions;
class CRecordListModel;
class CRecordSummary;
class CWaveformView;
class QBoxLayout;
class QLineEdit;
class QListView;
class QPushButton;
class QVBoxLayout;

// What every page of the records browser shares: a search field, the list of the
// records the page's selector lets through (a view over CRecordListModel, whose rows say what
// each memo is and drag out as files), the summary of the selected record
// with its waveform, the playback bar and the play, edit, rename and delete buttons (Space in the
// record list, Ctrl+E, F2 and Delete do the same on the selected record). A page says which records
// its selector and period let through; the base narrows them by the search text, orders them and
// keeps the selection across refills.
class CBrowserPage : public CBackgroundWidget
{
    Q_OBJECT
public:
    explicit CBrowserPage(SPageServices& services, QWidget* parent = nullptr);

    // Shows the page over the records as they are: the selectors are brought up to date and
    // the list refilled, keeping the selected record when it is still listed. The browser
    // calls it whenever it shows the page.
    void Open();
    // The same after bringing the records up to the record folders (F5).
    void RefreshPage();
    // Shows records that changed outside the browser: as Open, but a playback goes on.
    void Reopen();
    // Side by side (wide) or one above the other.
    void SetWideLayout(bool wide);
    bool IsWideLayout() const { return m_wide; }

    QLineEdit* SearchField() const { return m_search; }
    QListView* RecordListWidget() const { return m_list; }
    CRecordListModel* RecordModel() const { return m_model; }
    CRecordSummary* Summary() const { return m_summary; }
    CWaveformView* Waveform() const { return m_waveform; }
    CPlaybackBar* PlaybackBar() const { return m_bar; }
    QPushButton* PlayButton() const { return m_play; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* RenameButton() const { return m_rename; }
    QPushButton* DeleteButton() const { return m_delete; }
    // Export, Show in Folder and Copy, on the selected records.
    CRecordActions* Actions() const { return m_actions; }
    // The file names of the records the list shows, in order (the placeholder included).
    QStringList ListedNames() const;
    // The selected record's file name; empty when none (or the placeholder) is selected.
    QString SelectedName() const;
    // Shows the records after some of them changed, with the record at `select` selected and
    // in sight (the first row when it is not listed).
    void ShowChanged(const std::filesystem::path& select);
    // The placeholder the list shows when nothing matches.
    virtual QString NoRecordsText() const;

    // The delete confirmation, worded for where the record goes.
    static QString DeleteQuestion(EDisposal disposal);

    // The button handlers, public so the keys and tests reach them the same way.
    void OnPlay();
    // The information editor over the listed records, opened on the selected one; the
    // page reads the records again when it closes.
    void OnEdit();
    void OnRename();
    void OnDelete();

protected:
    // The page's question: its record set, period and selection. The base adds the
    // search text.
    virtual SRecordQuery Query() const = 0;
    // Called whenever the records may have changed, before the list refills; the page brings
    // its selectors up to date. False ends the refresh (the page has done what it needed
    // itself).
    virtual bool RefreshSelectors() { return true; }

    // Refills the list from Query() and the search text, then selects the
    // record named `keep` (the first item when it is not listed) and shows its summary.
    void FillRecords(const QString& keep = QString());
    // Stops the playback; every action that changes what is listed or selected does.
    void StopPlayback();
    const CRecordBrowser& Records() const;
    const SBrowsedRecord* SelectedEntry() const;
    // The files of the selected records, in the list's order.
    QStringList SelectedPaths() const;
    // Where a page puts its selectors, above the search field.
    QVBoxLayout* SelectorArea() const { return m_selectorArea; }
    SPageServices& Services() const { return m_services; }

private:
    void BuildButtons();
    void BuildShortcuts();
    void OnSelectionChanged();
    void ShowSummaryOf(const SBrowsedRecord* entry);
    void OnPlaybackState(bool playing);
    // Plays `path` from `sample`; a record that cannot be played is said and the page read
    // again.
    void PlayFrom(const std::filesystem::path& path, std::uint64_t sample);
    void TellAudioError(const CAudioError& error);
    void OnSeek(std::uint64_t sample);
    // A seek on the waveform: plays the selected record from there when nothing plays.
    void OnWaveformSeek(std::uint64_t sample);
    void OnPeaksReady(const std::filesystem::path& path);
    void OnSkip(int seconds);
    void SelectName(const QString& name);
    // Selects the record at `path`; the first row when it is not listed.
    void SelectPath(const std::filesystem::path& path);
    int CurrentRow() const;
    void NoteSelection();
    // Makes `row` current and selected, in sight, without the change a user's move makes.
    void SelectRow(int row);

    SPageServices& m_services;
    QVBoxLayout* m_selectorArea;
    QLineEdit* m_search;
    CRecordListModel* m_model;
    QListView* m_list;
    CRecordSummary* m_summary;
    CWaveformView* m_waveform;
    CPlaybackBar* m_bar;
    QPushButton* m_play = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_delete = nullptr;
    CRecordActions* m_actions = nullptr;
    QBoxLayout* m_split;
    QVBoxLayout* m_detail = nullptr;
    QWidget* m_browseColumn;
    QWidget* m_detailColumn;
    bool m_wide = false;
    // The selected record's name as it was selected: the rows' record numbers are out of date
    // from a change of the records until the refill that follows it.
    QString m_selectedName;
    // Set while the page itself moves the selection.
    bool m_selecting = false;
};
