<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>CAddNewGroupDlg</name>
    <message>
        <source>Add New Tag Group</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CAddNewTagDlg</name>
    <message>
        <source>Add New Tag</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CBrowserPage</name>
    <message>
        <source>Search tags, tasks, contacts, names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename the selected record (F2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the selected record (Delete)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t play it!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, select an item to rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not rename this item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, select an item to delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not delete this item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the tags, task and contacts of the selected record (Ctrl+E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete this Record?

It goes to the trash, from which it can be restored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete this Record?

Its volume has no trash: the record will be deleted for good.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This item has no attached info.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play or pause the selected record (Space)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCatalogueLock</name>
    <message>
        <source>%1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the catalogue is in use by another program</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CChoosePeriodDlg</name>
    <message>
        <source>Choose Period</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From must be earlier than To</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CCopyGroupDlg</name>
    <message>
        <source>Copy Tag Group</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDesktopPimSource</name>
    <message>
        <source>The desktop&apos;s contacts and tasks cannot be reached: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop&apos;s contacts and tasks did not answer within %1 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CEditRecordInfoDlg</name>
    <message>
        <source>Prev</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit record info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Length:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorded:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record&apos;s information was not saved.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file no longer holds a record&apos;s information.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CExportDlg</name>
    <message>
        <source>WAV, 16-bit (.wav)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FLAC, lossless (.flac)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opus, small (.opus)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3, plays anywhere (.mp3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Memo</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Export %n Memos</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export To</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFindRecordDlg</name>
    <message>
        <source>Records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contacts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exception</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CHeaderButton</name>
    <message>
        <source>Add a new item</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CInPlaceEdit</name>
    <message>
        <source>New item</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLocationList</name>
    <message>
        <source>The locations file could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMemoryCheck</name>
    <message>
        <source>Critically low of memory. The program will be terminated. Free some memory an ran the application again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not enough memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMessageBoxPrompts</name>
    <message>
        <source>Parlantographer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNameDlg</name>
    <message>
        <source>Enter New Name:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CParlantographerApp</name>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CParlantographerDlg</name>
    <message>
        <source>Slot %1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slot %1: show all items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slot %1: clear the selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slot %1: scroll up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slot %1: scroll down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Settings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tag Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Location Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Player</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Record / Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;layer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Parlantographer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parlantographer %1

Records voice memos and keeps their tags, task and contacts inside each record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: add an item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contacts and Tasks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings, &quot;Contacts and tasks from&quot;, chooses where they come from.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;ause / Resume</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPlaybackBar</name>
    <message>
        <source>Back %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slower</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Faster</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Playback speed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPropertyAll</name>
    <message>
        <source>No records</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPropertyContacts</name>
    <message>
        <source>CS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the chosen contacts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Contacts</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPropertyTags</name>
    <message>
        <source>No Tags</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPropertyTasks</name>
    <message>
        <source>No Tasks</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordActions</name>
    <message>
        <source>Export…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export, show in the file manager or copy the selected records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, select the records to export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, select a record to show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, select the records to copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordButton</name>
    <message>
        <source>Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No sound from the input device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No sound from %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause recording</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordCatalogue</name>
    <message>
        <source>Can&apos;t delete this record because it is used by other application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t delete this record because of an unknown reason.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordDropImport</name>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The chosen storage card is not present.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import these files as records into %1?

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importing %1 of %2…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not imported:

%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordExportFlow</name>
    <message>
        <source>Exporting %1 of %2…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not exported:

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export cancelled: %1 of %2 files written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These files exist already:

%1

Replace them?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordSummary</name>
    <message>
        <source>Recorded: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contacts: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Attach information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordingController</name>
    <message>
        <source>Not enough memory to continue operation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The input device &quot;%1&quot; is not present; recording from the default input.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording a voice memo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordingSession</name>
    <message>
        <source>Recorder: A recording is already running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create a new record file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program requires at least 1 MB of free memory to continue with recording.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record could not be written further (is the storage full?). It holds what was written until then.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record was deleted by another program while it was being recorded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The storage card has been removed while recording.
The record is being recorded may be corrupted!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The audio input stopped while recording (the device was removed or failed).
The record holds what was captured until then.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRecordsPane</name>
    <message>
        <source>Records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More ways to find records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records by &amp;Task, Contact or Tag...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exception</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRenameGroup</name>
    <message>
        <source>Rename Group</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRenameRecord</name>
    <message>
        <source>Rename Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter New Name:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CRenameTag</name>
    <message>
        <source>Rename Tag</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSettings</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contacts and Tasks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slot%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop and folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contacts and tasks from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the splash screen at start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CShowAllDlg</name>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deselect All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose one item:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the items:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSlotList</name>
    <message>
        <source>Scroll up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show all items</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSplashDlg</name>
    <message>
        <source>Voice memos with tags, tasks and contacts</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CStorage</name>
    <message>
        <source>This recording format cannot be stored as a record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The storage &quot;%1&quot; is not present.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No free record name in &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTagCatalogue</name>
    <message>
        <source>Tag name already exist.
Please enter another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, enter a name!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag name is can not contain symbols &apos;[&apos; and &apos;]&apos;.
Please enter another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The group with given name already exists!
Please enter another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The tags file could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTagManagerDlg</name>
    <message>
        <source>Tag Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The tags file could not be backed up, so changes could not be undone. The tag groups can be looked at but not changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the tag up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the tag down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you realy want to delete &quot;%1&quot; Tag Group?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you realy want to delete &quot;%1&quot; Tag, from &quot;%2&quot; Tag Group?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup &quot;%1&quot; could not be removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The changes to the tag groups could not be undone: the tags file could not be restored from &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select Tag Group.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, select a Tag Group to rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, select Tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program changed the tag groups while the Tag Manager was open. Its changes are kept; only the changes made here were undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Where it changed the same lines as a change made here, that change stays as the other program left it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTransferRunner</name>
    <message>
        <source>Cancelling…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CWaveformView</name>
    <message>
        <source>Click or drag to play from there</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NameRules</name>
    <message>
        <source>Group name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Please enter another name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 can not contain line breaks, tabs or other control characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag name is can not contain symbols &apos;[&apos; and &apos;]&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 can not contain symbols &apos;[&apos; and &apos;]&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;None&quot;, &quot;Contacts&quot;, &quot;Task&quot; and &quot;Location&quot; are kinds of slot and can not name a Tag Group.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is too long: at most %2 bytes (a letter outside English takes two or more).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 can not contain the symbol &apos;~&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Period</name>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordExporter</name>
    <message>
        <source>%1: %2; nothing exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a record; nothing exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the exported file must end in %2; nothing exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 does not exist; nothing exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is the record itself; nothing exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 exists already; nothing exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The export was cancelled; nothing written</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordImporter</name>
    <message>
        <source>Cannot write in %1: %2; nothing imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot import %1: not audio this program reads (%2); nothing imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the disk refused the samples</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The import was cancelled; nothing written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot import %1: %2; nothing imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no free record name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot import %1: it is not a file; nothing imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no recording format %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create the folder %1; nothing imported</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordInfo</name>
    <message>
        <source>Impossible to add this amount of information to the record.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordInfoEdit</name>
    <message>
        <source>This text can not be stored in a record: it must be one line, not empty, not begin with &apos;[&apos;, and at most %1 bytes long.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record does not hold this entry.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordInfoFile</name>
    <message>
        <source>Can&apos;t change this record: the file is gone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t change this record: it is not a record file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t change this record: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t change this record because it is used by other application.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordRename</name>
    <message>
        <source>Can&apos;t rename this record: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter no more than %1 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;.&quot; and &quot;..&quot; are not names of a record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name may not hold &quot;/&quot; or &quot;\&quot;: the record stays in its folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name may not hold control characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name may not begin with &quot;.&quot;: the record would be hidden.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name may not end with &quot;~&quot; or &quot;.tmp&quot;: the record would be taken for a temporary file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t rename this record: it is neither a WAV nor an Ogg record.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t rename this record: the file is gone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, enter a name!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File already exists!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t rename this record because it is used by other application.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Initial window size, for example 480x640.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start a new recording at once (or have the running program start one).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records voice memos with their information.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
